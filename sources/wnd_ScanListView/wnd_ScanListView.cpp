#include "wnd_ScanListView/wnd_ScanListView.h"

#include <cstring>
#include <initializer_list>

#include "funcs_layout_windows/fonts.h"
#include "funcs_layout_windows/scan_command.h"
#include "layout_scan_list.h"
#include "resource_ids.h"
#include "platform/zt_win.h"
#include "wnd_ScanListView/scan_list_commands.h"
#include "wnd_ScanListView/create_profile.h"
#include "wnd_ScanListView/scan_list_internal.h"

namespace {

QD_REPORT_UNIT(g_repScanList, 256);

STR_ScanListView g_ScanList;  // one List of Windows window at a time

const int32_t FONT_FAILED = -1;

HWND create_button(HWND hwnd, HINSTANCE hInst, const wchar_t* ptcText, int iID, STR_Size btn)
{
    return CreateWindowExW(0, L"button", ptcText, WS_CHILD | WS_VISIBLE | BS_CENTER, 0, 0, btn.i_w, btn.i_h, hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(iID)), hInst, nullptr);
}

// The button font, fitted to "Create Profile" on the Create Profile button.
// Returns 1, or FONT_FAILED after a report.
int32_t make_button_font(STR_ScanListView* p, STR_Size btn)
{
    int32_t iFailed = 0;
    p->hFont_buttons = make_fitted_button_font(p->hwnd, L"Create Profile", btn.i_w, btn.i_h, &iFailed);
    if (!p->hFont_buttons) {
        const char* const steps[3] = {"GetDC( )", "FindFontSize_fit_H_and_W()", "zt_CreateFont()"};
        QD_REPORT(rep_scanlist(), "WndProc_ScanListView", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\none of callable functions returned error, %s\nline of error handler:%d",
                  steps[iFailed]);
        return FONT_FAILED;
    }
    for (HWND h : {p->hWndBTN01, p->hWndBTN02})
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(p->hFont_buttons), TRUE);
    return 1;
}

LRESULT on_WM_DESTROY_ScanListView(STR_ScanListView* p);

LRESULT on_WM_CREATE_ScanListView(HWND hwnd, const CREATESTRUCTW* pCS, STR_ScanListView* p)
{
    std::memset(p, 0, sizeof(*p));
    p->hwnd = hwnd;
    p->hInst = pCS->hInstance;
    p->iHitRow = -1;
    p->iHitColumn = -1;
    p->cellModify = {-1, -1, 0};
    const STR_ScanListView_Create* pCreate = static_cast<const STR_ScanListView_Create*>(pCS->lpCreateParams);
    if (pCreate) {
        p->pSTR = pCreate->pSTR_ENUM_WNDS_DATA;
        p->p_hwnd_Self = pCreate->p_hwnd_ScanListView;
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(p));

    const STR_Size btn = scan_list_button_size(zt_ScreenW(), zt_ScreenH());
    p->hWndBTN01 = create_button(hwnd, p->hInst, L"Move", IDC_SCANLIST_BTN_MOVE, btn);
    if (!p->hWndBTN01) zt_Box(hwnd, L"err, hWndBTN01=NULL, func WndProc", L"i", MB_OK);
    p->hWndBTN02 = create_button(hwnd, p->hInst, L"Create Profile", IDC_SCANLIST_BTN_CREATEPROFILE, btn);
    if (!p->hWndBTN02) zt_Box(hwnd, L"err, hWndBTN02=NULL, func WndProc", L"i", MB_OK);

    // Without a font the window keeps its buttons only.
    if (make_button_font(p, btn) < 0) return 0;
    // A window without entries to show is not created; what it was given
    // is released here, since a window refused at creation may get no
    // WM_DESTROY.
    if (on_WM_CREATE_02_ListView(hwnd, p->hInst, &p->hwndLV, IDC_SCANLIST_LISTVIEW, p->pSTR) == -1) {
        on_WM_DESTROY_ScanListView(p);
        return -1;
    }

    p->hMenu = LoadMenuA(p->hInst, "menu_popup_ModifyCell");
    p->hMenu_Popup = p->hMenu ? GetSubMenu(p->hMenu, 0) : nullptr;
    return 0;
}

LRESULT on_WM_SIZE_ScanListView(STR_ScanListView* p, WPARAM wParam, LPARAM lParam)
{
    if (!p || wParam == SIZE_MINIMIZED) return 0;  // nothing to see, nothing to place
    const STR_ScanListLayout l = layout_scan_list(LOWORD(lParam), HIWORD(lParam), zt_ScreenW(), zt_ScreenH());
    const struct {
        HWND hwnd;
        const STR_Box* pBox;
    } places[] = {{p->hWndBTN01, &l.box_Move}, {p->hWndBTN02, &l.box_CreateProfile}, {p->hwndLV, &l.box_List}};
    for (const auto& pl : places)
        if (pl.hwnd) MoveWindow(pl.hwnd, pl.pBox->i_left, pl.pBox->i_top, pl.pBox->i_width, pl.pBox->i_height, TRUE);
    // Widths a user dragged by hand are replaced at every resize.
    if (p->hwndLV)
        for (int j = 0; j < QD_SCANLIST_COLUMNS; ++j)
            SendMessageW(p->hwndLV, LVM_SETCOLUMNWIDTH, j, MAKELPARAM(l.arr1D_i_ColumnW[j], 0));
    return 0;
}

LRESULT on_WM_PAINT_ScanListView(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT on_WM_NOTIFY_ScanListView(STR_ScanListView* p, LPARAM lParam)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (p && pHdr && p->hwndLV && pHdr->hwndFrom == p->hwndLV && pHdr->idFrom == IDC_SCANLIST_LISTVIEW)
        on_WM_NOTIFY_ListView(p->hwnd, p->hwndLV, reinterpret_cast<const NMLISTVIEW*>(lParam), p);
    return 0;
}

void on_Move(STR_ScanListView* p, WPARAM wParam, LPARAM lParam)
{
    int32_t iRet = onButton_Move(p->hwnd, p->hwndLV, wParam, lParam, p->pSTR ? p->pSTR->pcDynMem_WinHndls : nullptr,
                                 p->pSTR ? p->pSTR->counter_valid : 0);
    if (iRet < 0) {
        STR_ReportUnit* rep = rep_scanlist();
        QD_REPORT(rep, "WndProc_ScanListView", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\niRetCode = %d <- onButton_Move()\nline of error handler:%d",
                  iRet);
    }
}

// The write record and the Name of Profile window that hands a name to it
// go together: a window left open over a cleared record would save nothing.
void clear_write_record(STR_ScanListView* p)
{
    if (p->hwnd_ProfileName && IsWindow(p->hwnd_ProfileName)) DestroyWindow(p->hwnd_ProfileName);
    p->hwnd_ProfileName = nullptr;
    FreeDynMem_wnds_Profile(&p->rwProfile);
    std::memset(&p->rwProfile, 0, sizeof(p->rwProfile));
}

void on_CreateProfile(STR_ScanListView* p)
{
    // A new profile starts from nothing, without what a cancelled earlier one left.
    clear_write_record(p);
    int32_t iRet = onButton_Create_Profile(p->hwnd, p->hwndLV, &p->hwnd_ProfileName, &p->rwProfile, p->pSTR);
    if (iRet < 0) {
        STR_ReportUnit* rep = rep_scanlist();
        QD_REPORT(rep, "WndProc_ScanListView", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\niRetCode = %d <- onButton_Create_Profile()\nline of error handler:%d",
                  iRet);
    }
}

LRESULT on_WM_COMMAND_ScanListView(STR_ScanListView* p, WPARAM wParam, LPARAM lParam)
{
    const UINT uiID = LOWORD(wParam), uiCode = HIWORD(wParam);
    if (!p || uiCode != 0) return 0;
    if (uiID == IDC_SCANLIST_BTN_MOVE) on_Move(p, wParam, lParam);
    else if (uiID == IDC_SCANLIST_BTN_CREATEPROFILE) on_CreateProfile(p);
    else if (uiID == IDM_MODIFY_CELL && lParam == 0) onMenu_ModifyCell(p);
    return 0;
}

LRESULT on_WM_COPYDATA_ScanListView(STR_ScanListView* p, WPARAM wParam, LPARAM lParam)
{
    if (!p) return FALSE;
    return on_WM_COPYDATA_ListOfWindows(p->hwnd, wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam), p->pSTR,
                                        &p->rwProfile);
}

LRESULT on_WM_DESTROY_ScanListView(STR_ScanListView* p)
{
    if (!p) return 0;
    if (p->hMenu) DestroyMenu(p->hMenu);
    p->hMenu = p->hMenu_Popup = nullptr;
    close_ModifyCell_window();
    p->hwnd_ModifyCell = nullptr;
    clear_write_record(p);
    scan_store_release_win(p->pSTR);
    if (p->hFont_buttons) DeleteObject(p->hFont_buttons);
    p->hFont_buttons = nullptr;
    if (p->p_hwnd_Self && *p->p_hwnd_Self == p->hwnd) *p->p_hwnd_Self = nullptr;
    SetWindowLongPtrW(p->hwnd, GWLP_USERDATA, 0);
    p->hwnd = nullptr;
    p->hwndLV = nullptr;
    p->pSTR = nullptr;
    return 0;
}

}  // namespace

STR_ScanListView* ScanListView_state(HWND hwnd)
{
    return hwnd ? reinterpret_cast<STR_ScanListView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

STR_ReportUnit* rep_scanlist() { return &g_repScanList; }

LRESULT CALLBACK WndProc_ScanListView(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Null until WM_CREATE has run and again after WM_DESTROY.
    STR_ScanListView* p = ScanListView_state(hwnd);
    switch (uMsg) {
    case WM_CREATE:  return on_WM_CREATE_ScanListView(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam), &g_ScanList);
    case WM_SIZE:    return on_WM_SIZE_ScanListView(p, wParam, lParam);
    case WM_PAINT:   return on_WM_PAINT_ScanListView(hwnd);
    case WM_NOTIFY:  return on_WM_NOTIFY_ScanListView(p, lParam);
    case WM_COMMAND: return on_WM_COMMAND_ScanListView(p, wParam, lParam);
    case WM_COPYDATA: return on_WM_COPYDATA_ScanListView(p, wParam, lParam);
    case WM_DESTROY: return on_WM_DESTROY_ScanListView(p);
    default:         return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}
