#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "box_recorder.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "resource_ids.h"
#include "scan_test_support.h"
#include "wnd_ModifyCell/wnd_ModifyCell.h"
#include "wnd_ScanListView/scan_list_internal.h"
#include "wnd_ScanListView/wnd_ScanListView.h"

namespace {

RECT window_rect(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

// Three real windows, scanned into a store and shown in the List of
// Windows window: a normal one, a minimised one and one closed later.
class MoveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        t.allocate_entries(3, 40);
        const std::u16string path = u"C:\\p\\a.exe";
        HWND hwnds[3] = {normal.hwnd, minimised.hwnd, closing.hwnd};
        for (int i = 0; i < 3; ++i) {
            RECT rc = window_rect(hwnds[i]);
            const bool bIconic = IsIconic(hwnds[i]) != FALSE;
            STR_ScanEntryIn in = {zt_hwnd32(hwnds[i]), rc.left, rc.top, rc.right, rc.bottom, bIconic, u"w", 1, true,
                                  path.c_str(), static_cast<uint32_t>(path.size())};
            ASSERT_EQ(1, scan_store_write_entry(&t.s, &in));
        }
        STR_ScanListView_Create create = {&t.s, &hwnd};
        hwnd = CreateWindowExW(0, L"List of Windows", L"List of windows", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30,
                               1440, 810, nullptr, nullptr, GetModuleHandleW(nullptr), &create);
        ASSERT_NE(nullptr, hwnd);
        lv = GetDlgItem(hwnd, IDC_SCANLIST_LISTVIEW);
        pump_messages();
    }
    void TearDown() override
    {
        if (hwnd) DestroyWindow(hwnd);
        pump_messages();
    }
    void set_cells(int row, int x, int y, int w, int h)
    {
        const int values[4] = {x, y, w, h};
        for (int c = 0; c < 4; ++c) {
            std::wstring text = std::to_wstring(values[c]);
            LVITEMW it = {};
            it.iSubItem = 2 + c;
            it.pszText = &text[0];
            SendMessageW(lv, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
        }
    }
    std::wstring cell(int row, int col)
    {
        wchar_t buf[32] = {};
        LVITEMW it = {};
        it.iSubItem = col;
        it.pszText = buf;
        it.cchTextMax = 32;
        SendMessageW(lv, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    void press_move()
    {
        SendMessageW(GetDlgItem(hwnd, IDC_SCANLIST_BTN_MOVE), BM_CLICK, 0, 0);
        pump_messages(100);
    }

    BoxRecorder rec;
    TestWindow normal{L"QdMoveTest", L"Normal", {100, 100, 500, 400}};
    TestWindow minimised{L"QdMoveTest", L"Minimised", {200, 200, 600, 500}, WndState::Min};
    TestWindow closing{L"QdMoveTest", L"Closing", {300, 300, 700, 600}};
    TestStore t;
    HWND hwnd = nullptr, lv = nullptr;
};

}  // namespace

TEST_F(MoveTest, TickedWindowsGoToTheirCellsAClosedOneIsReportedAndTheOthersStillMove)
{
    set_cells(0, -50, 30, 640, 480);  // a negative X is applied as it is
    set_cells(1, 900, 120, 300, 200);
    set_cells(2, 10, 10, 200, 100);
    for (int r = 0; r < 3; ++r) ListView_SetCheckState(lv, r, TRUE);
    DestroyWindow(closing.hwnd);
    press_move();
    RECT rc = window_rect(normal.hwnd);
    EXPECT_EQ(-50, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(640, rc.right - rc.left);
    EXPECT_EQ(480, rc.bottom - rc.top);
    EXPECT_FALSE(IsIconic(minimised.hwnd));  // restored first, then placed
    rc = window_rect(minimised.hwnd);
    EXPECT_EQ(900, rc.left);
    EXPECT_EQ(300, rc.right - rc.left);
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_EQ(L"error", rec.boxes[0].caption);
    EXPECT_EQ(L"impossible to move one of windows:\nx = 10\ny = 10\nwidth = 200\nheight = 100\nProbably, it was closed. Try to SCAN again.",
              rec.boxes[0].text);
}

TEST_F(MoveTest, RowsWithoutSizeAreSkippedSilentlyAndUntickedRowsStay)
{
    set_cells(0, 5, 5, 0, 300);  // ticked, but no width
    set_cells(1, 700, 700, 300, 200);
    ListView_SetCheckState(lv, 0, TRUE);
    const RECT before0 = window_rect(normal.hwnd);
    press_move();
    EXPECT_EQ(before0.left, window_rect(normal.hwnd).left);
    EXPECT_TRUE(IsIconic(minimised.hwnd));  // row 1 was not ticked
    EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(MoveTest, ModifyCellEditsReachTheCellsTheStoreAndThenMove)
{
    // The popup menu's command on the Width cell of row 0.
    STR_ScanListView* st = ScanListView_state(hwnd);
    ASSERT_NE(nullptr, st);
    st->iHitRow = 0;
    st->iHitColumn = 4;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_MODIFY_CELL, 0), 0);
    HWND hwndMC = current_ModifyCell_window();
    ASSERT_NE(nullptr, hwndMC);
    EXPECT_EQ(cell(0, 2), [&] { wchar_t b[32] = {}; GetWindowTextW(GetDlgItem(hwndMC, IDC_MC_EDIT_X), b, 32); return std::wstring(b); }());
    const wchar_t* values[4] = {L"120", L"40", L"800", L"600"};
    for (int i = 0; i < 4; ++i) SetWindowTextW(GetDlgItem(hwndMC, IDC_MC_EDIT_X + i), values[i]);
    SendMessageW(GetDlgItem(hwndMC, IDC_MC_BTN_OK), BM_CLICK, 0, 0);
    pump_messages(50);
    EXPECT_EQ(L"120", cell(0, 2));
    EXPECT_EQ(L"600", cell(0, 5));
    const GeomText_STR* g = scan_entry_geom(&t.s, 0);
    EXPECT_TRUE(g->i_x == 120 && g->i_y == 40 && g->i_w == 800 && g->i_h == 600);

    ListView_SetCheckState(lv, 0, TRUE);
    press_move();
    RECT rc = window_rect(normal.hwnd);
    EXPECT_EQ(120, rc.left);
    EXPECT_EQ(40, rc.top);
    EXPECT_EQ(800, rc.right - rc.left);
    EXPECT_EQ(600, rc.bottom - rc.top);
    // Closing the list closes the Modify Cell window opened from it.
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindow(hwndMC));
}
