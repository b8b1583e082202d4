#include <gtest/gtest.h>

#include <algorithm>

#include "profile_write_record.h"

#include <string>
#include <vector>

#include "box_recorder.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "wnd_ProfileName/wnd_ProfileName.h"

namespace {

const size_t NAME_CAP = 256;
const size_t SPARE = 64;  // guard units, more than any overrun of the 300-unit name
const wchar_t GUARD = 0xBEEF;

// What the owner received, copied the way the list window keeps a name:
// into 256 units, with guard units behind them.
struct Received {
    int iCount = 0;
    HWND hwndSender = nullptr;
    ULONG_PTR dwData = 1;
    DWORD cbData = 0;
    size_t uiUnits = 0;
    wchar_t tc[NAME_CAP + SPARE];
};
Received g_got;

LRESULT CALLBACK owner_proc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_COPYDATA) return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    const COPYDATASTRUCT* pCDS = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    ++g_got.iCount;
    g_got.hwndSender = reinterpret_cast<HWND>(wParam);
    g_got.dwData = pCDS->dwData;
    g_got.cbData = pCDS->cbData;
    // The List of Windows window's receiver: the name into the write record.
    STR_RW_PRFL rw{};
    g_got.uiUnits = rw_profile_set_name(&rw, pCDS->lpData, pCDS->cbData) / 2;
    std::copy(rw.tc_PrfName, rw.tc_PrfName + g_got.uiUnits, g_got.tc);
    return TRUE;
}

std::wstring text_of(HWND h)
{
    wchar_t buf[64] = {};
    GetWindowTextW(h, buf, 64);
    return buf;
}

class NameOfProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_got = Received();
        std::fill(std::begin(g_got.tc), std::end(g_got.tc), GUARD);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = owner_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"qd test name owner";
        RegisterClassW(&wc);
        hwndOwner = CreateWindowExW(0, wc.lpszClassName, L"List", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 700,
                                    400, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_TRUE(hwndOwner);
        hwnd = open_NameOfProfile_window(hwndOwner);
        pump_messages();
        ASSERT_TRUE(IsWindow(hwnd));
    }
    void TearDown() override
    {
        DestroyWindow(hwndOwner);
        pump_messages();
    }
    void click(int id) { SendMessageW(GetDlgItem(hwnd, id), BM_CLICK, 0, 0); }

    BoxRecorder rec;
    HWND hwndOwner = nullptr;
    HWND hwnd = nullptr;
};

}  // namespace

TEST_F(NameOfProfileTest, OpensOwnedBesideItsOwnerWithItsLayout)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(170, rc.left);
    EXPECT_EQ(190, rc.top);
    EXPECT_EQ(360, rc.right - rc.left);  // 1920 x 0.1875
    EXPECT_EQ(189, rc.bottom - rc.top);  // 1080 x 0.175
    EXPECT_EQ(hwndOwner, GetWindow(hwnd, GW_OWNER));
    EXPECT_EQ(L"Name of Profile", text_of(hwnd));
    struct { int id; int x, y, w, h; } want[] = {{IDC_PN_BTN_OK, 264, 5, 86, 27},
                                                {IDC_PN_BTN_CANCEL, 264, 37, 86, 27},
                                                {IDC_PN_EDIT_NAME, 5, 48, 241, 32}};
    for (const auto& c : want) {
        RECT r = child_rect(hwnd, GetDlgItem(hwnd, c.id));
        EXPECT_EQ(c.x, r.left) << c.id;
        EXPECT_EQ(c.y, r.top) << c.id;
        EXPECT_EQ(c.w, r.right - r.left) << c.id;
        EXPECT_EQ(c.h, r.bottom - r.top) << c.id;
    }
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongW(GetDlgItem(hwnd, IDC_PN_BTN_OK), GWL_STYLE) & 0xF);
    EXPECT_EQ(GetDlgItem(hwnd, IDC_PN_EDIT_NAME), GetFocus());
}

TEST_F(NameOfProfileTest, EmptyNameWarnsAndTheWindowStays)
{
    click(IDC_PN_BTN_OK);
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"warning", rec.boxes[0].caption);
    EXPECT_EQ(L"Please enter Name of Profile, e.g. \"work docs 01\"", rec.boxes[0].text);
    EXPECT_EQ(hwnd, rec.boxes[0].hwndOwner);
    EXPECT_EQ(static_cast<UINT>(MB_OK), rec.boxes[0].uiFlags);
    EXPECT_EQ(0, g_got.iCount);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(NameOfProfileTest, TypedNameArrivesAtTheOwnerWithoutTerminator)
{
    SetWindowTextW(GetDlgItem(hwnd, IDC_PN_EDIT_NAME), L"work docs 01");
    click(IDC_PN_BTN_OK);
    ASSERT_EQ(1, g_got.iCount);
    EXPECT_EQ(hwnd, g_got.hwndSender);
    EXPECT_EQ(0u, g_got.dwData);
    EXPECT_EQ(24u, g_got.cbData);
    ASSERT_EQ(12u, g_got.uiUnits);
    EXPECT_EQ(L"work docs 01", std::wstring(g_got.tc, 12));
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(NameOfProfileTest, ALongNameIsCutTo256UnitsAndNothingIsWrittenBeyond)
{
    std::wstring name;
    for (int i = 0; i < 300; ++i) name += static_cast<wchar_t>(L'a' + i % 26);
    SetWindowTextW(GetDlgItem(hwnd, IDC_PN_EDIT_NAME), name.c_str());
    ASSERT_EQ(300, GetWindowTextLengthW(GetDlgItem(hwnd, IDC_PN_EDIT_NAME)));
    click(IDC_PN_BTN_OK);
    ASSERT_EQ(1, g_got.iCount);
    EXPECT_EQ(512u, g_got.cbData);
    ASSERT_EQ(NAME_CAP, g_got.uiUnits);
    EXPECT_EQ(name.substr(0, NAME_CAP), std::wstring(g_got.tc, NAME_CAP));
    for (size_t i = NAME_CAP; i < NAME_CAP + SPARE; ++i) ASSERT_EQ(GUARD, g_got.tc[i]) << i;

}

TEST_F(NameOfProfileTest, CancelCloseBoxAndReopeningCloseTheWindow)
{
    click(IDC_PN_BTN_CANCEL);
    EXPECT_FALSE(IsWindow(hwnd));
    HWND h1 = open_NameOfProfile_window(hwndOwner);
    HWND h2 = open_NameOfProfile_window(hwndOwner);
    EXPECT_FALSE(IsWindow(h1));
    ASSERT_TRUE(IsWindow(h2));
    SendMessageW(h2, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(h2));
    EXPECT_EQ(0, g_got.iCount);
    EXPECT_TRUE(rec.boxes.empty());

    EXPECT_EQ(-1, on_Button_OK(h2, hwndOwner, nullptr, 0, 0));
    EXPECT_EQ(-1, on_Button_CANCEL(nullptr, 0, 0));
    EXPECT_EQ(nullptr, open_NameOfProfile_window(nullptr));
    ASSERT_EQ(3u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[0].text.find(L"hEdit = 0000"));
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"function:\non_Button_CANCEL\n\nline:\n"));
}
