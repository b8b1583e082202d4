// The List of Windows window with its Move command and the Modify Cell
// window opened from it, on the 1920 x 1080 test screen.
#include "main_window_fixture.h"

namespace {

bool placed_at(HWND hwnd, LONG x, LONG y, LONG w, LONG h) { return rect_is(window_rect(hwnd), x, y, w, h); }

bool selected(HWND lv, int row) { return SendMessageW(lv, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0; }

// A right-click on a cell of row 3 as the list view tells it, the cursor on the cell.
void right_click(HWND hwnd, HWND lv, int col)
{
    RECT rc = {LVIR_BOUNDS, col, 0, 0};
    SendMessageW(lv, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&rc));
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(lv, &pt);
    SetCursorPos(pt.x, pt.y);
    NMHDR nm = {lv, IDC_SCANLIST_LISTVIEW, static_cast<UINT>(NM_RCLICK)};
    SendMessageW(hwnd, WM_NOTIFY, IDC_SCANLIST_LISTVIEW, reinterpret_cast<LPARAM>(&nm));
}

void key(HWND h, WPARAM vk)
{
    SendMessageW(h, WM_KEYDOWN, vk, 0);
    pump_pending();
}

}  // namespace

// (The store's release when the window closes is the Scan tests' case.)
TEST_F(ListWindowTest, ShowsTheRowsUnderFixedButtonsAndLaysThemOutOnResize)
{
    const wchar_t* const want[3][6] = {{L"1", L"Program", L"100", L"100", L"400", L"300"},
                                       {L"2", L"Minimised", L"0", L"0", L"0", L"0"},
                                       {L"3", L"Folder", L"300", L"300", L"400", L"300"}};
    ASSERT_EQ(3, SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 6; ++j) EXPECT_EQ(want[i][j], cell(i, j)) << i << ", " << j;
    EXPECT_TRUE(rect_is(child_rect(hwnd, GetDlgItem(hwnd, IDC_SCANLIST_BTN_MOVE)), 5, 5, 172, 32));
    EXPECT_EQ(27, button_font_height(GetDlgItem(hwnd, IDC_SCANLIST_BTN_MOVE)));  // "Create Profile" into 27 x 137
    EXPECT_TRUE(rect_is(child_rect(hwnd, lv), 5, 42, 1422, 736));               // client 1432 x 783
    EXPECT_EQ(801, SendMessageW(lv, LVM_GETCOLUMNWIDTH, 1, 0));

    SendMessageW(lv, LVM_SETCOLUMNWIDTH, 1, 33);  // a width set by hand goes too
    SetWindowPos(hwnd, nullptr, 0, 0, 1200, 700, SWP_NOMOVE | SWP_NOZORDER);  // client 1192 x 673
    ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_TRUE(rect_is(child_rect(hwnd, lv), 5, 42, 1182, 626));
    for (int j = 0; j < 6; ++j) EXPECT_EQ(j == 1 ? 667 : 104, SendMessageW(lv, LVM_GETCOLUMNWIDTH, j, 0)) << j;
    EXPECT_TRUE(rect_is(child_rect(hwnd, GetDlgItem(hwnd, IDC_SCANLIST_BTN_CREATEPROFILE)), 182, 5, 172, 32));
    EXPECT_TRUE(rec.boxes.empty());
}

// A row is selected exactly when ticked; the popup opens on geometry cells
// only, and its command opens Modify Cell on the cell, beside the cursor, the
// focus in the X field; TAB goes round, ENTER acts on the buttons only. OK
// writes a field of digits into its cell and every field, as far as it is a
// number, into the store.
TEST_F(ListWindowTest, TicksSelectRowsAndGeometryCellsOpenModifyCellWhichWritesTheCellsAndTheStore)
{
    ListView_SetItemState(lv, 0, LVIS_SELECTED, LVIS_SELECTED);  // as a click on the row does
    EXPECT_FALSE(selected(lv, 0));
    tick(0);
    tick(1);
    tick(0, false);
    EXPECT_TRUE(!selected(lv, 0) && selected(lv, 1));

    struct Popup { int iShown; POINT pt; HWND hwndOwner; wchar_t tcItem[32]; } popup = {};
    zt_SetPopupHook([](void* pCtx, HMENU hMenu, UINT, int x, int y, HWND hwndOwner) -> BOOL {
        Popup* p = static_cast<Popup*>(pCtx);
        *p = {p->iShown + 1, {x, y}, hwndOwner, {}};
        return GetMenuStringW(hMenu, IDM_MODIFY_CELL, p->tcItem, 32, MF_BYCOMMAND) > 0;
    }, &popup);
    right_click(hwnd, lv, 1);
    EXPECT_EQ(0, popup.iShown);
    right_click(hwnd, lv, 4);  // the Width cell of row 3
    zt_SetPopupHook(nullptr, nullptr);
    POINT cur;
    GetCursorPos(&cur);
    EXPECT_TRUE(popup.iShown == 1 && popup.pt.x == cur.x && popup.pt.y == cur.y && popup.hwndOwner == hwnd);
    EXPECT_STREQ(L"Modify Cell", popup.tcItem);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDM_MODIFY_CELL, 0), 0);
    HWND h = current_ModifyCell_window();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_TRUE(placed_at(h, cur.x + 30, cur.y + 30, 294, 187) && window_text(h) == L"Modify Cell" && !GetWindow(h, GW_OWNER));
    const wchar_t* const texts[6] = {L"300", L"300", L"400", L"300", L"Ok", L"Cancel"};  // row 3's cells
    for (int id = 0; id < 6; ++id) {
        EXPECT_TRUE(rect_is(child_rect(h, GetDlgItem(h, id)), id < 4 ? 101 : 198, 5 + 32 * (id % 4), 86, 27)) << id;
        EXPECT_EQ(texts[id], window_text(GetDlgItem(h, id))) << id;
    }
    EXPECT_EQ(22, button_font_height(GetDlgItem(h, IDC_MC_EDIT_HEIGHT)));  // "Cancel" into 22 x 68
    for (int step = 1; step <= 6; ++step) {
        key(GetFocus(), VK_TAB);
        ASSERT_EQ(GetDlgItem(h, step % 6), GetFocus()) << step;
    }
    key(GetFocus(), VK_RETURN);  // ENTER in a field does nothing

    const wchar_t* const fields[4] = {L"12a", L"", L"0500", L"-5"};
    for (int k = 0; k < 4; ++k) SetWindowTextW(GetDlgItem(h, k), fields[k]);
    click(h, IDC_MC_BTN_OK);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(cell(2, 2) == L"300" && cell(2, 3) == L"300" && cell(2, 4) == L"0500" && cell(2, 5) == L"300");
    const GeomText_STR *g2 = scan_entry_geom(&store, 2), *g0 = scan_entry_geom(&store, 0);  // in the store
    EXPECT_TRUE(g2->i_x == 12 && g2->i_y == 0 && g2->i_w == 500 && g2->i_h == -5);
    EXPECT_TRUE(g0->i_x == 100 && g0->i_y == 100 && g0->i_w == 400 && g0->i_h == 300);
    EXPECT_TRUE(rec.boxes.empty());
    for (bool bEnter : {false, true}) {  // Cancel, clicked or ENTER on it: closed, nothing written
        h = open_modify(0);
        SetWindowTextW(GetDlgItem(h, IDC_MC_EDIT_X), L"77");
        SetFocus(GetDlgItem(h, IDC_MC_BTN_CANCEL));
        bEnter ? key(GetFocus(), VK_RETURN) : click(h, IDC_MC_BTN_CANCEL);
        EXPECT_TRUE(!IsWindow(h) && cell(0, 2) == L"100" && g0->i_x == 100) << bEnter;
    }

    h = open_modify(1);
    zt_VirtualFree(store.pcDynMem_WinHndls);  // OK now fails: a click leaves the window open, ENTER closes it
    click(h, IDC_MC_BTN_OK);
    EXPECT_TRUE(IsWindow(h));
    key(GetDlgItem(h, IDC_MC_BTN_OK), VK_RETURN);
    EXPECT_FALSE(IsWindow(h));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_NE(std::wstring::npos, rec.boxes[1].text.find(L"pcDynMem_WinHndls = 0000000000000000"));
    h = open_modify(1);
    DestroyWindow(hwnd);  // closing the list closes it
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(ListWindowTest, MoveTakesTickedRowsWithASizeAndReportsAWindowClosedSinceTheScan)
{
    click(hwnd, IDC_SCANLIST_BTN_MOVE);
    ASSERT_EQ(1u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[0].caption == L"info" && !rec.boxes[0].hwndOwner);
    EXPECT_EQ(0u, rec.boxes[0].text.find(L"There are no selected items.\nSelect any item"));
    set_cells(0, L"5", L"5", L"0", L"300");  // ticked without a width: skipped without a word
    set_cells(1, L"700", L"700", L"300", L"200");
    tick(0);
    click(hwnd, IDC_SCANLIST_BTN_MOVE);
    EXPECT_TRUE(placed_at(wnds[0], 100, 100, 400, 300) && IsIconic(wnds[1]) && rec.boxes.size() == 1);

    set_cells(0, L"-50", L"30", L"640", L"480");
    set_cells(1, L"900", L"120", L"300", L"200");
    set_cells(2, L"10", L"10", L"200", L"100");
    for (int r = 0; r < 3; ++r) tick(r);
    DestroyWindow(wnds[2]);
    click(hwnd, IDC_SCANLIST_BTN_MOVE);
    EXPECT_TRUE(placed_at(wnds[0], -50, 30, 640, 480));
    EXPECT_TRUE(pump_until([&] { return !IsIconic(wnds[1]) && placed_at(wnds[1], 900, 120, 300, 200); }));
    ASSERT_EQ(2u, rec.boxes.size());
    EXPECT_TRUE(rec.boxes[1].caption == L"error" && rec.boxes[1].text == L"impossible to move one of windows:\nx = 10\n"
                L"y = 10\nwidth = 200\nheight = 100\nProbably, it was closed. Try to SCAN again.");
}
