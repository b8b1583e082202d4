// The main window on the 1920 x 1080 test screen: its first client area,
// 760 x 440 with a button font of 20, is the worked example of its layout.
#include <shlobj.h>

#include <regex>

#include "funcs_layout_windows/fonts.h"
#include "main_window_fixture.h"
#include "profile_bytes.h"
#include "resource_ids.h"

namespace {

RECT box_of(HWND hwnd, int id) { return child_rect(hwnd, GetDlgItem(hwnd, id)); }

// A profile file dropped on the window as the shell hands it over; whether
// the window gave the drop back to the system.
bool drop_profile(HWND hwnd, const std::vector<QdTestEntry>& entries, const std::u16string& name)
{
    const std::wstring file = temp_path(L"qd_dropped.txt");
    write_file(file, qd_profile_bytes(entries, name));
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t));
    DROPFILES* p = static_cast<DROPFILES*>(GlobalLock(h));
    *p = {sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
    file.copy(reinterpret_cast<wchar_t*>(p + 1), file.size());
    GlobalUnlock(h);
    SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
    DeleteFileW(file.c_str());
    return GlobalFlags(h) == GMEM_INVALID_HANDLE;
}

// The entries of a list, as the opened list shows them.
std::wstring list_texts(HWND hwndCB)
{
    std::wstring s;
    for (int i = 0; i < SendMessageW(hwndCB, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t tc[64] = {};
        SendMessageW(hwndCB, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(tc));
        s += tc + std::wstring(L"|");
    }
    return s;
}

}  // namespace

TEST_F(MainWindowTest, IsLaidOutInTheFittedFontOnEveryResizeButNotWhenMinimisedNorBelowItsFirstSize)
{
    RECT rc = window_rect(hwnd);
    EXPECT_TRUE(rect_is(rc, rc.left, rc.top, 768, 486) && window_text(hwnd) == L"Quorvel-Dint");
    GetClientRect(hwnd, &rc);
    ASSERT_TRUE(rect_is(rc, 0, 0, 760, 440));
    const struct { int id; const wchar_t* ptcText; LONG x, y, w, h; } want[] = {  // lists: height of their own
        {IDC_BTN_SCAN, L"Scan", 561, 5, 115, 37},   {IDC_BTN_LOADPROFILE, L"Load Profile", 561, 47, 115, 37},
        {IDC_CB_PROFILE, L"", 561, 167, 184, 0},    {IDC_CB_ACTION, L"", 561, 238, 184, 0},
        {IDC_BTN_APPLY, L"Apply", 561, 280, 115, 37}};
    for (const auto& c : want) {
        const RECT r = box_of(hwnd, c.id);
        EXPECT_TRUE(rect_is(r, c.x, c.y, c.w, c.h ? c.h : r.bottom - r.top) && c.ptcText == window_text(GetDlgItem(hwnd, c.id)));
        EXPECT_EQ(20, button_font_height(GetDlgItem(hwnd, c.id))) << c.id;  // "Load Profile" fitted into 31 x 92
    }
    SetWindowPos(hwnd, nullptr, 0, 0, 1200, 800, SWP_NOMOVE | SWP_NOZORDER);  // client 1192 wide
    EXPECT_TRUE(rect_is(box_of(hwnd, IDC_BTN_APPLY), 864, 280, 115, 37) && box_of(hwnd, IDC_CB_PROFILE).right == 864 + 313);
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_EQ(864, box_of(hwnd, IDC_BTN_APPLY).left);
    ShowWindow(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    rc = window_rect(hwnd);
    EXPECT_TRUE(rect_is(rc, rc.left, rc.top, 768, 486));
    EXPECT_TRUE(rec->boxes.empty());
}

TEST_F(MainWindowTest, AboutBoxNamesTheProductMakerAndReleaseDate)
{
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_BTN_SCAN)));
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);  // only the menu's, not a control's
    ASSERT_EQ(1u, rec->boxes.size());
    const RecordedBox& b = rec->boxes[0];
    EXPECT_TRUE(b.caption == L"About" && b.hwndOwner == hwnd && b.uiFlags == MB_OK);
    EXPECT_TRUE(std::regex_match(b.text, std::wregex(L"This small software utility \"Quorvel-Dint\" is intended for keeping your folders "
        L"and programs layout organized\\.\n\nManufacturer: [^\n]+\\.\nhttp[^\n]+\ne-mail: [^\n]+\n\nrelease date: \\d{4}-\\d{2}-\\d{2}"))) << b.text;
    wchar_t tc[32] = {};
    GetMenuStringW(GetMenu(hwnd), IDM_ABOUT, tc, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"About", tc);  // the command of the window's menu
}

TEST_F(MainWindowTest, PaintsGradientPictureAndLabels)
{
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT o = {0, 0};
    ClientToScreen(hwnd, &o);
    HDC hdc = GetDC(nullptr);
    auto at = [&](int x, int y) { return GetPixel(hdc, o.x + x, o.y + y); };
    // The first schematic window: (25, 25), 160 x 108, title bar 20 high.
    ASSERT_TRUE(pump_until([&] { return at(35, 35) == RGB(91, 173, 255); }));
    const struct { int x, y; COLORREF c; } pixels[] = {
        {25, 79, RGB(0, 0, 0)},   {175, 35, RGB(255, 0, 0)}, {160, 30, RGB(0, 0, 0)}, {160, 35, RGB(91, 173, 255)},
        {145, 30, RGB(0, 0, 0)},  {15, 192, RGB(0, 0, 0)},   {270, 15, RGB(0, 0, 0)}};  // outline, close box, hollow
    for (const auto& p : pixels) EXPECT_EQ(p.c, at(p.x, p.y)) << p.x << ", " << p.y;  // maximise, minimise, axes
    // The gradient from (22, 250, 250) to (187, 253, 253), inside the window too.
    EXPECT_TRUE(abs(GetRValue(at(757, 1)) - 22) < 6 && abs(GetGValue(at(757, 1)) - 250) < 3) << at(757, 1);
    EXPECT_TRUE(abs(GetRValue(at(757, 439)) - 187) < 6 && abs(GetRValue(at(100, 90)) - 56) < 6);
    for (int top : {138, 209}) {  // "Profile:" and "Action:"
        int dark = 0;
        for (int y = top; y < top + 24; ++y)
            for (int x = 561; x < 621; ++x) dark += GetRValue(at(x, y)) < 60 && GetGValue(at(x, y)) < 60;
        EXPECT_GT(dark, 20) << top;
    }
    ReleaseDC(nullptr, hdc);
    EXPECT_TRUE(rec->boxes.empty());
}

// The lists as a user reads them: the actions in their order; the names of
// dropped profiles in loading order, the last one shown. Apply, chosen by
// text, acts on the chosen profile's own windows where its list position
// is not its place among the loaded profiles, and Close takes exactly that
// entry off.
TEST_F(MainWindowTest, ListsShowTheirTextsAndApplyActsOnTheProfileChosen)
{
    const HWND hwndProfiles = GetDlgItem(hwnd, IDC_CB_PROFILE), hwndActions = GetDlgItem(hwnd, IDC_CB_ACTION);
    EXPECT_EQ(L"Minimize|Restore|Close|", list_texts(hwndActions));
    for (const std::wstring name : {L"One", L"Gone", L"Two"}) {  // loaded as 0, 1, 2; windows of class Qd<name>
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", (L"class=Qd" + name).c_str());
        EXPECT_TRUE(drop_profile(hwnd, {{1, name == L"Gone" ? u"C:\\gone.exe" : u16(fixture_exe()), 100, 100, 300, 200}}, u16(name)));
    }
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", nullptr);
    const HWND one = FindWindowW(L"QdOne", nullptr), two = FindWindowW(L"QdTwo", nullptr);
    ASSERT_TRUE(one && two && rec->boxes.size() == 1);  // told that Gone's program did not start
    EXPECT_TRUE(list_texts(hwndProfiles) == L"One|Gone|Two|" && window_text(hwndProfiles) == L"Two");
    auto apply = [&](const wchar_t* ptcProfile, const wchar_t* ptcAction) {
        SendMessageW(hwndProfiles, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(ptcProfile));
        SendMessageW(hwndActions, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(ptcAction));
        SendMessageW(GetDlgItem(hwnd, IDC_BTN_APPLY), BM_CLICK, 0, 0);
    };
    apply(L"Gone", L"Close");
    EXPECT_EQ(L"One|Two|", list_texts(hwndProfiles));
    apply(L"Two", L"Minimize");  // at position 1, loaded as 2
    EXPECT_TRUE(pump_until([&] { return IsIconic(two) != FALSE; }));
    EXPECT_TRUE(fixture_handled_posted(one) && !IsIconic(one));  // after whatever Apply asked of it
    apply(L"Two", L"Close");
    EXPECT_TRUE(pump_until([&] { return !IsWindow(two); }));
    EXPECT_TRUE(fixture_handled_posted(one) && list_texts(hwndProfiles) == L"One|");  // no Close reached it
    close_windows_of_class(L"QdOne");
}

// Load Profile: the Open dialog cancelled says nothing and loads nothing; a
// dialog that fails is reported by the command, then by the window.
TEST_F(MainWindowTest, LoadProfileIsQuietWhenTheOpenDialogIsCancelledAndReportsOneThatFails)
{
    int iAnswer = 0;  // cancelled, then failed
    zt_SetFileDialogHook([](void* pCtx, bool, OPENFILENAMEW*) { return (*static_cast<int*>(pCtx))--; }, &iAnswer);
    SendMessageW(GetDlgItem(hwnd, IDC_BTN_LOADPROFILE), BM_CLICK, 0, 0);
    EXPECT_TRUE(iAnswer == -1 && rec->boxes.empty());
    SendMessageW(GetDlgItem(hwnd, IDC_BTN_LOADPROFILE), BM_CLICK, 0, 0);
    zt_SetFileDialogHook(nullptr, nullptr);
    ASSERT_EQ(2u, rec->boxes.size());
    EXPECT_NE(std::wstring::npos, rec->boxes[0].text.find(L"\n\none of callable functions returned error INVALID_HANDLE_VALUE <- CreateFile()"));
    EXPECT_NE(std::wstring::npos, rec->boxes[1].text.find(L"onButton_LoadProfile_clicked(), RetCode = -2\n"));
    EXPECT_EQ(0, SendMessageW(GetDlgItem(hwnd, IDC_CB_PROFILE), CB_GETCOUNT, 0, 0));
}

// Fonts that cannot be made at start-up are reported, and the start goes on:
// the system's GUI font, COM in place, the Profile list ready for a load.
TEST(MainWindowCreation, FontsThatCannotBeMadeLeaveAWorkingProgram)
{
    test_register_classes();
    BoxRecorder rec;
    zt_SetFontFailHook([](void*) { return true; }, nullptr);
    HWND hwnd = create_main_window(GetModuleHandleW(nullptr));
    ASSERT_NE(nullptr, hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    zt_SetFontFailHook(nullptr, nullptr);
    ASSERT_EQ(2u, rec.boxes.size());  // where it was found, then by WM_CREATE; none from painting
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"ERROR <- zt_CreateFont(), no font to measure"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"ERROR while get font size for buttons"));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), reinterpret_cast<HGDIOBJ>(SendMessageW(GetDlgItem(hwnd, IDC_BTN_APPLY), WM_GETFONT, 0, 0)));
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // the window's is in place
    CoUninitialize();
    drop_profile(hwnd, {{1, u"C:\\gone.exe", 0, 0, 10, 10}}, u"Listed");  // told: not started
    EXPECT_EQ(1, SendMessageW(GetDlgItem(hwnd, IDC_CB_PROFILE), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(3u, rec.boxes.size());
    DestroyWindow(hwnd);
    EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // the window undid its own
    CoUninitialize();
}
