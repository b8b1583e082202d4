// Other desktops than one 1920 x 1080 monitor at 96 DPI: windows saved where
// a monitor used to be, a second monitor right of the primary (TwoMonitors,
// run on that desktop only) and any scale (AtAnyScale, run at 144 DPI too).
#undef WINVER
#define WINVER 0x0A00  // the scale queries of Windows 10, which Wine has

#include <cstdlib>

#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/load_profile.h"
#include "main_window_fixture.h"
#include "profile_bytes.h"
#include "scan_test_support.h"

namespace {

// Loads of the fixture program, the command's pauses shortened, with a
// store of the test's own; the main window gives the Scan its COM.
class LoadOnMonitors : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Monitors fixture;class=QdFixMon");
        SetEnvironmentVariableW(L"QD_FIXTURE_STARTUP", startup.c_str());
        zt_SetWaitHooks([](void*, DWORD) { Sleep(60); }, nullptr, nullptr);
        ASSERT_EQ(1, preInitOnce_onLoadProfile(&store));
    }
    void TearDown() override
    {
        close_windows_of_class(L"QdFixMon");
        zt_SetWaitHooks(nullptr, nullptr, nullptr);
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", nullptr);
        SetEnvironmentVariableW(L"QD_FIXTURE_STARTUP", nullptr);
        finishWork_onLoadProfile(&store);
        EXPECT_TRUE(rec->boxes.empty());
        MainWindowTest::TearDown();
    }
    // The window the load found for each entry.
    std::vector<HWND> load(const std::vector<QdTestEntry>& entries)
    {
        write_file(file, qd_profile_bytes(entries, u"Monitors"));
        EXPECT_EQ(1, onButton_LoadProfile_clicked(hwnd, 1, file.c_str(), &store, &cb, &names));
        std::vector<HWND> found;
        for (uint32_t i = 0; i < entries.size(); ++i) found.push_back(zt_hwnd(loaded_profile_handle(&store, 0, i)));
        return found;
    }

    LoadedProfiles_STR store{};
    CB_Profile_manage_STR cb{0, 4, 0, QD_PROFILE_LIST_CAPACITY, 0, {}, {}};
    STR_ProfileListNames names{};
    const std::u16string exe = u16(fixture_exe());
    const std::wstring file = temp_path(L"qd_monitors.txt"), startup = temp_path(L"qd_monitors_startup.txt");
};

class TwoMonitors : public LoadOnMonitors {};

}  // namespace

// Saved right of the screen and below it, they come onto the monitor with
// their sizes (the started program is told so at its start); partly off
// with the title bar in reach, it stays. Restore again.
TEST_F(LoadOnMonitors, WindowsSavedWhereAMonitorUsedToBeComeOntoTheMonitorAndRestoreKeepsThemThere)
{
    const std::vector<HWND> w = load({{1, exe, 300, 1200, 500, 350}, {1, exe, -50, 30, 640, 480}, {1, exe, 2100, 100, 400, 300}});
    const std::vector<uint8_t> b = read_file(startup);  // of the last started
    EXPECT_EQ("7 5 1520 100 400 300", std::string(b.begin(), b.end()));
    auto all_placed = [&w] {
        return placed_soon(w[0], 300, 730, 500, 350) && placed_soon(w[1], -50, 30, 640, 480) && placed_soon(w[2], 1520, 100, 400, 300);
    };
    EXPECT_TRUE(all_placed());
    for (HWND h : w) MoveWindow(h, 5, 5, 200, 150, TRUE);  // the user moved them
    ASSERT_EQ(1, Restore_Move_Size_wnds_Profile(&store, 0));
    EXPECT_TRUE(all_placed());
}

TEST_F(TwoMonitors, AWindowOnTheSecondMonitorIsPlacedScannedAndMovedThereExactly)
{
    ASSERT_EQ(2, GetSystemMetrics(SM_CMONITORS));  // the second of 1280 x 1024 at 1920, 0
    const std::vector<HWND> w = load({{1, exe, 100, 120, 400, 300}, {1, exe, 2000, 140, 500, 350}});
    EXPECT_TRUE(placed_soon(w[0], 100, 120, 400, 300) && placed_soon(w[1], 2000, 140, 500, 350));
    STR_ENUM_WNDS_DATA scan{};
    HWND hwndList = nullptr;
    scan_store_prepare(&scan);
    ASSERT_EQ(1, onButton_Scan_Clicked(hwnd, &hwndList, 0, 0, &scan));
    const GeomText_STR* g = scan_entry_geom(&scan, entry_of(&scan, w[1]));
    ASSERT_NE(nullptr, g);
    EXPECT_TRUE(g->i_x == 2000 && g->i_y == 140 && g->i_w == 500 && g->i_h == 350);

    const HWND lv = GetDlgItem(hwndList, IDC_SCANLIST_LISTVIEW);
    const int iRow = entry_of(&scan, w[0]);
    const wchar_t* const cells[4] = {L"2300", L"400", L"640", L"480"};
    for (int c = 0; c < 4; ++c) ListView_SetItemText(lv, iRow, 2 + c, const_cast<wchar_t*>(cells[c]));
    ListView_SetCheckState(lv, iRow, TRUE);
    SendMessageW(GetDlgItem(hwndList, IDC_SCANLIST_BTN_MOVE), BM_CLICK, 0, 0);
    EXPECT_TRUE(placed_soon(w[0], 2300, 400, 640, 480));
    DestroyWindow(hwndList);
}

// Per-monitor aware, in physical pixels: the main window keeps its share of
// the 1920 x 1080 screen and its buttons theirs, their font fitted to the
// same height; a change of scale moves it to the suggested rectangle, laid
// out again.
TEST_F(MainWindowTest, AtAnyScaleItKeepsItsShareOfTheScreenAndItsFittedFont)
{
    EXPECT_EQ(DPI_AWARENESS_PER_MONITOR_AWARE, GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(hwnd)));
    const char* pcDpi = std::getenv("QD_TEST_DPI");  // set by the run at 144 DPI
    EXPECT_EQ(pcDpi ? static_cast<UINT>(std::atoi(pcDpi)) : 96u, GetDpiForWindow(hwnd));
    RECT rc = window_rect(hwnd), rcBtn = window_rect(GetDlgItem(hwnd, IDC_BTN_LOADPROFILE));
    EXPECT_TRUE(rect_is(rc, rc.left, rc.top, 768, 486) && rect_is(rcBtn, rcBtn.left, rcBtn.top, 115, 37));
    EXPECT_EQ(20, button_font_height(GetDlgItem(hwnd, IDC_BTN_LOADPROFILE)));  // "Load Profile" into 31 x 92

    RECT suggested = {100, 50, 1252, 779};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_TRUE(rect_is(window_rect(hwnd), 100, 50, 1152, 729));
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(rc.right - 15, child_rect(hwnd, GetDlgItem(hwnd, IDC_CB_PROFILE)).right);
}
