// Other desktops than one 1920 x 1080 monitor at 96 DPI: windows saved where
// a monitor used to be, a second monitor right of the primary (TwoMonitors,
// run on that desktop only) and any scale (AtAnyScale, run at 144 DPI too).
#undef WINVER
#define WINVER 0x0A00  // the scale queries of Windows 10, which Wine has

#include <cstdlib>

#include "load_profile_fixture.h"

namespace {

class TwoMonitors : public LoadProfileTest {};

}  // namespace

// Saved right of the screen and below it, they come onto the monitor with
// their sizes (the started program is told so at its start); partly off
// with the title bar in reach, it stays. Restore again.
TEST_F(LoadProfileTest, WindowsSavedWhereAMonitorUsedToBeComeOntoTheMonitorAndRestoreKeepsThemThere)
{
    const std::u16string exe = u16(fixture_exe());  // the last one started is told its place at its start
    EXPECT_EQ("7 5 1520 100 400 300", load_started_with({{1, exe, 300, 1200, 500, 350}, {1, exe, -50, 30, 640, 480}, {1, exe, 2100, 100, 400, 300}}));
    auto w = [this](uint32_t i) { return zt_hwnd(handle(0, i)); };
    auto all_placed = [&] {
        return placed_soon(w(0), 300, 730, 500, 350) && placed_soon(w(1), -50, 30, 640, 480) && placed_soon(w(2), 1520, 100, 400, 300);
    };
    EXPECT_TRUE(all_placed());
    for (uint32_t i = 0; i < 3; ++i) MoveWindow(w(i), 5, 5, 200, 150, TRUE);  // the user moved them
    apply(QD_ACTION_RESTORE, 0);
    EXPECT_TRUE(all_placed());
}

TEST_F(TwoMonitors, AWindowOnTheSecondMonitorIsPlacedScannedAndMovedThereExactly)
{
    ASSERT_EQ(2, GetSystemMetrics(SM_CMONITORS));  // the second of 1280 x 1024 at 1920, 0
    const std::u16string exe = u16(fixture_exe());
    ASSERT_EQ(1, load({{1, exe, 100, 120, 400, 300}, {1, exe, 2000, 140, 500, 350}}, u"Two"));
    const HWND w[2] = {zt_hwnd(handle(0, 0)), zt_hwnd(handle(0, 1))};
    EXPECT_TRUE(placed_soon(w[0], 100, 120, 400, 300) && placed_soon(w[1], 2000, 140, 500, 350));
    STR_ENUM_WNDS_DATA scan{};
    HWND hwndList = nullptr;
    scan_store_prepare(&scan);
    ASSERT_EQ(1, onButton_Scan_Clicked(hwndMain, &hwndList, 0, 0, &scan));
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
