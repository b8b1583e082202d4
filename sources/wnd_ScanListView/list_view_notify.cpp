// Notifications of the List of Windows window's list view: selection that
// follows the check boxes, the hit cell of clicks, and the Modify Cell
// popup menu on geometry cells.
#include "platform/zt_win.h"
#include "resource_ids.h"
#include "wnd_ScanListView/scan_list_internal.h"

namespace {

enum : int32_t {
    COL_X = 2,       // geometry columns: X, Y, Width, Height
    COL_HEIGHT = 5,
};

// State image 1 is an empty box, 2 a ticked one: a row is selected exactly
// when its box is ticked. Runs on every change of any state, so a click on
// an unticked row does not leave it selected.
void on_item_changed(HWND hwndLV, int iItem)
{
    if (iItem < 0) return;
    const UINT uiState = static_cast<UINT>(SendMessageW(hwndLV, LVM_GETITEMSTATE, iItem, LVIS_STATEIMAGEMASK));
    const int k = static_cast<int>(uiState >> 12) - 1;
    SendMessageW(hwndLV, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = k > 0 ? LVIS_SELECTED : 0;
    SendMessageW(hwndLV, LVM_SETITEMSTATE, iItem, reinterpret_cast<LPARAM>(&item));
}

// The cell under a screen point; row -1 when no row is there.
void hit_cell(STR_ScanListView* p, POINT ptScreen)
{
    LVHITTESTINFO hit = {};
    hit.pt = ptScreen;
    ScreenToClient(p->hwndLV, &hit.pt);
    SendMessageW(p->hwndLV, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    p->iHitRow = hit.iItem;
    p->iHitColumn = hit.iItem < 0 ? -1 : hit.iSubItem;
}

POINT cursor_pos()
{
    POINT pt = {};
    GetCursorPos(&pt);
    return pt;
}

}  // namespace

void onListView_Click(STR_ScanListView* p, POINT ptScreen)
{
    if (p && p->hwndLV) hit_cell(p, ptScreen);
}

void onListView_RClick(STR_ScanListView* p, POINT ptScreen)
{
    if (!p || !p->hwndLV) return;
    hit_cell(p, ptScreen);
    if (p->iHitRow < 0 || p->iHitColumn < COL_X || p->iHitColumn > COL_HEIGHT) return;
    // Its command comes back as WM_COMMAND IDM_MODIFY_CELL.
    if (p->hMenu_Popup) zt_TrackPopupMenu(p->hMenu_Popup, 0, ptScreen.x, ptScreen.y, p->hwnd);
}

void on_WM_NOTIFY_ListView(HWND hwndThis, HWND hwndLV, const NMLISTVIEW* pNM, STR_ScanListView* p)
{
    if (!hwndThis || !hwndLV || !pNM || !p) {
        STR_ReportUnit* rep = rep_scanlist();
        QD_REPORT_AS_NL(rep, L"ERROR", __func__, "\nERROR\n\nfile:\n\n%s\nfunction:\n\n%s\nline:\n\n%d\n\n");
        return;
    }
    switch (pNM->hdr.code) {
    case LVN_ITEMCHANGED: on_item_changed(hwndLV, pNM->iItem); break;
    case NM_CLICK:        onListView_Click(p, cursor_pos()); break;
    case NM_RCLICK:       onListView_RClick(p, cursor_pos()); break;
    default:              break;
    }
}

void onMenu_ModifyCell(STR_ScanListView* p)
{
    // The Modify Cell window opens on the cell the menu was opened on.
    if (!p) return;
    p->cellModify.i_row = p->iHitRow;
    p->cellModify.i_column = p->iHitColumn;
    p->cellModify.ui_hwnd_LV = zt_hwnd32(p->hwndLV);
    open_ModifyCell_window(p->hwnd, &p->cellModify, p->pSTR, &p->hwnd_ModifyCell);
}
