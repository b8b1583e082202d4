// Create Profile from the List of Windows window, through the Name of
// Profile window and the Save dialog to the file.
#include "main_window_fixture.h"
#include "platform/zt_files.h"
#include "profile_bytes.h"

TEST_F(ListWindowTest, CreateProfileOpensTheNameWindowOnTickedRowsOnlyAndEveryWayOutSavesNothing)
{
    EXPECT_EQ(nullptr, press_create());  // nothing ticked
    tick(0);
    HWND h = press_create();
    EXPECT_TRUE(rect_is(window_rect(h), 100, 100, 360, 189) && GetWindow(h, GW_OWNER) == hwnd);
    EXPECT_TRUE(window_text(h) == L"Name of Profile" && GetFocus() == GetDlgItem(h, IDC_PN_EDIT_NAME));
    click(h, IDC_PN_BTN_OK);  // no name yet: the window stays
    EXPECT_TRUE(IsWindow(h) && initialName.empty() && rec.boxes.back().hwndOwner == h);
    const HWND hwndField = GetDlgItem(h, IDC_PN_EDIT_NAME);
    for (wchar_t c : std::wstring(L"work docs 01")) SendMessageW(hwndField, WM_CHAR, c, 1);  // typed: the field takes it all
    EXPECT_TRUE(window_text(hwndField) == L"work docs 01" && rect_is(child_rect(h, hwndField), 5, 48, 241, 32));
    click(h, IDC_PN_BTN_CANCEL);
    EXPECT_FALSE(IsWindow(h));
    // A Name of Profile window left open over a cleared write record would
    // save nothing: the next Create Profile closes it.
    h = press_create();
    tick(0, false);
    EXPECT_EQ(nullptr, press_create());
    EXPECT_FALSE(IsWindow(h));
    tick(1);
    bCancel = true;
    save_as(press_create(), L"P");
    EXPECT_TRUE(initialName == L"Profile_01" && nothing_kept());
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[0].caption == L"info" && rec.boxes[0].hwndOwner == hwnd && rec.boxes[2].text == rec.boxes[0].text);
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"There are no selected items.\nTo create profile"));
    EXPECT_TRUE(rec.boxes[1].caption == L"warning" && rec.boxes[1].uiFlags == MB_OK);
    EXPECT_EQ(L"Please enter Name of Profile, e.g. \"work docs 01\"", rec.boxes[1].text);
}

// Each allocation and file operation made to fail in turn: reported and
// nothing kept; then the ticked rows are saved, and never over a file.
TEST_F(ListWindowTest, CreateProfileKeepsNothingAtEveryFailureThenSavesTheRowsButNeverOverAFile)
{
    tick(2);
    tick(0);
    for (int k = 1; k <= QD_RW_ARRAYS; ++k) {
        rec.boxes.clear();
        int n = -k;
        zt_SetAllocFailHook([](void* pCtx, size_t) { return ++*static_cast<int*>(pCtx) == 0; }, &n);
        EXPECT_EQ(nullptr, press_create()) << k;
        zt_SetAllocFailHook(nullptr, nullptr);
        EXPECT_TRUE(nothing_kept() && rec.boxes.size() == 3) << k;
        EXPECT_NE(std::wstring::npos, rec.boxes.at(0).text.find(L"function VirtualAlloc() returned error")) << k;
        EXPECT_NE(std::wstring::npos, rec.boxes.at(2).text.find(L"iRetCode = -4 <- onButton_Create_Profile()")) << k;
    }
    const struct FailOp { ZT_FileOp op; DWORD dwErr; } fails[] = {
        {ZT_FILE_CREATE, ERROR_ACCESS_DENIED}, {ZT_FILE_WRITE, ERROR_DISK_FULL}, {ZT_FILE_FLUSH, ERROR_IO_DEVICE}};
    for (const FailOp& f : fails) {
        rec.boxes.clear();
        HWND h = press_create();
        zt_SetFileFailHook([](void* pCtx, ZT_FileOp op) { const FailOp* p = static_cast<const FailOp*>(pCtx); return op == p->op ? p->dwErr : 0; },
                           const_cast<FailOp*>(&f));
        save_as(h, L"P");
        zt_SetFileFailHook(nullptr, nullptr);
        EXPECT_TRUE(nothing_kept() && rec.boxes.size() >= 2 && rec.boxes[0].caption == L"GetLastError") << f.op;
        EXPECT_NE(std::wstring::npos, rec.boxes.back().text.find(L"iRetCode = -2 <- on_WM_COPYDATA_on_wnd_NameOfProfile()"));
    }
    rec.boxes.clear();
    HWND h = press_create();
    tick(1);  // too late for this profile
    save_as(h, std::wstring(255, L'n') + L"xyz");  // cut to the 256 units a profile holds
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(ofn.hwndOwner == hwnd && ofn.Flags == 0x81006 && !lstrcmpW(ofn.lpstrTitle, L"Save Profile") && !lstrcmpW(ofn.lpstrDefExt, L"txt"));
    const std::vector<uint8_t> saved =
        qd_profile_bytes({{1, u"C:\\p\\a.exe", 100, 100, 400, 300}, {0, u"", 300, 300, 400, 300}}, std::u16string(255, u'n') + u"x");
    EXPECT_EQ(saved, read_file(path));
    save_as(press_create(), L"Other");
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[0].text == L"File already exists" && rec.boxes[0].caption == L"information");
    EXPECT_EQ(saved, read_file(path));
}
