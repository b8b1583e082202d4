// The Modify Cell window procedure, its controls, its keyboard handling
// and its OK, which writes the four numbers back into the list and store.
#include "wnd_ModifyCell/wnd_ModifyCell.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "funcs_layout_windows/fonts.h"
#include "modify_cell_layout.h"
#include "platform/zt_win.h"
#include "report/report.h"

const wchar_t* const QD_MODIFYCELL_CLASS = L"Modify Cell Window";

QD_REPORT_UNIT(g_rep_ModifyCell, 1000);

namespace {

constexpr int QD_MC_TEXT_UNITS = 50;  // a field or cell text: 49 units and the terminator
constexpr DWORD STYLE_BUTTON = WS_CHILD | WS_VISIBLE | BS_CENTER;
constexpr DWORD STYLE_FIELD = WS_CHILD | WS_VISIBLE | ES_NUMBER;
constexpr DWORD STYLE_BTN_FOCUSED = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_DEFPUSHBUTTON;
constexpr DWORD STYLE_BTN_UNFOCUSED = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER;

const wchar_t* const LABELS[QD_MC_FIELDS] = {L"X", L"Y", L"Width", L"Height"};

// The window's state, held once: the window of the latest opening owns it.
struct STR_ModifyCell {
    HWND hwndThis;
    HINSTANCE hInst;
    STR_ENUM_WNDS_DATA* pSTR;  // store the OK writes into
    int32_t iRow;              // from the last STR_CELL_ADDR
    int32_t iColumn;
    HWND hwndListView;
    HWND arr_hwnd_ctl[QD_MC_CONTROLS];     // index = control identifier
    WNDPROC arr_prevProc[QD_MC_CONTROLS];  // procedures replaced at creation
    STR_ModifyCellLayout layout;
    HFONT hFont;
    bool bCreated;
    bool bRegistered;
};

STR_ModifyCell g_mc;

LRESULT CALLBACK WndProc_ModifyCell_Edit(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK WndProc_ModifyCell_Button(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// ---- list view cells ---------------------------------------------------------

void get_cell_text(HWND hwndLV, int32_t iRow, int iCol, wchar_t* ptcBuf, int iCap)
{
    LVITEMW item = {};
    item.iSubItem = iCol;
    item.pszText = ptcBuf;
    item.cchTextMax = iCap;
    SendMessageW(hwndLV, LVM_GETITEMTEXTW, static_cast<WPARAM>(iRow), reinterpret_cast<LPARAM>(&item));
}

void set_cell_text(HWND hwndLV, int32_t iRow, int iCol, wchar_t* ptcText)
{
    LVITEMW item = {};
    item.iSubItem = iCol;
    item.pszText = ptcText;
    SendMessageW(hwndLV, LVM_SETITEMTEXTW, static_cast<WPARAM>(iRow), reinterpret_cast<LPARAM>(&item));
}

// Digits only, as the system classes characters: alphanumeric but not
// alphabetic. An empty text is not valid.
bool field_text_is_valid(const wchar_t* ptc, int iLen)
{
    if (iLen <= 0) return false;
    for (int i = 0; i < iLen; ++i)
        if (!IsCharAlphaNumericW(ptc[i]) || IsCharAlphaW(ptc[i])) return false;
    return true;
}

// ---- creation ------------------------------------------------------------------

HWND create_button(HWND hwnd, const wchar_t* ptcText, int iID, STR_Point pt, const STR_ModifyCellLayout& L)
{
    return CreateWindowExW(0, L"button", ptcText, STYLE_BUTTON, pt.i_left, pt.i_top, L.i_ctl_w, L.i_ctl_h, hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(iID)), g_mc.hInst, nullptr);
}

void create_controls(HWND hwnd, STR_ModifyCell* p)
{
    const STR_ModifyCellLayout& L = p->layout;
    HWND* ctl = p->arr_hwnd_ctl;
    ctl[IDC_MC_BTN_OK] = create_button(hwnd, L"Ok", IDC_MC_BTN_OK, L.pt_Ok, L);
    if (!ctl[IDC_MC_BTN_OK]) zt_Box(hwnd, L"error <- CreateWindow() btn Ok, func WndProc", L"error", MB_OK);
    ctl[IDC_MC_BTN_CANCEL] = create_button(hwnd, L"Cancel", IDC_MC_BTN_CANCEL, L.pt_Cancel, L);
    if (!ctl[IDC_MC_BTN_CANCEL]) zt_Box(hwnd, L"error <- CreateWindow(), btn Cancel, func WndProc", L"error", MB_OK);

    struct { const wchar_t* ptcText; const wchar_t* ptcCaption; } failures[QD_MC_FIELDS] = {
        {L"err, hEdit = NULL, func WndProc", L"err"},
        {L"err, hEdit_Ypos = NULL, func WndProc", L"err"},
        {L"err, hEdit_Width = NULL, func WndProc", L"error"},
        {L"error, hEdit_Width = NULL, func WndProc_ModifyCell", L"error"},
    };
    for (int k = 0; k < QD_MC_FIELDS; ++k) {
        const STR_Point& pt = L.arr_pt_fields[k];
        ctl[k] = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", STYLE_FIELD, pt.i_left, pt.i_top, L.i_ctl_w, L.i_ctl_h,
                                 hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(k)), p->hInst, nullptr);
        if (!ctl[k]) zt_Box(hwnd, failures[k].ptcText, failures[k].ptcCaption, MB_OK);
        if (k == IDC_MC_EDIT_X && ctl[k]) SetFocus(ctl[k]);
    }
}

// The control font, fitted for "Cancel" into 0.85 x 0.8 of a button.
// Returns false after a report when a step fails.
bool create_control_font(HWND hwnd, STR_ModifyCell* p)
{
    int32_t iFailed = 0;
    p->hFont = make_fitted_button_font(hwnd, L"Cancel", p->layout.i_ctl_w, p->layout.i_ctl_h, &iFailed);
    if (p->hFont) return true;
    const char* const steps[3] = {"GetDC()", "FindFontSize_fit_H_and_W()", "zt_CreateFont()"};
    QD_REPORT(&g_rep_ModifyCell, "WndProc_ModifyCell", "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error : %s\nline of error handler:\n%d",
              steps[iFailed]);
    return false;
}

void subclass_controls(HWND hwnd, STR_ModifyCell* p)
{
    for (int id = 0; id < QD_MC_CONTROLS; ++id) {
        HWND h = p->arr_hwnd_ctl[id];
        if (!h) continue;
        WNDPROC pfnNew = id <= IDC_MC_EDIT_HEIGHT ? WndProc_ModifyCell_Edit : WndProc_ModifyCell_Button;
        p->arr_prevProc[id] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnNew)));
        if (!p->arr_prevProc[id])
            zt_Box(hwnd, L"error, SetWindowLongPtr, GWL_WNDPROC, TAB focus changing", L"error", MB_OK);
    }
}

LRESULT on_WM_CREATE(HWND hwnd, const CREATESTRUCTW* pCS, STR_ModifyCell* p)
{
    // A new opening builds everything again; the registered flag stays.
    const bool bRegistered = p->bRegistered;
    std::memset(p, 0, sizeof(*p));
    p->bRegistered = bRegistered;
    p->hwndThis = hwnd;
    p->hInst = pCS->hInstance;
    p->pSTR = static_cast<STR_ENUM_WNDS_DATA*>(pCS->lpCreateParams);
    modify_cell_layout(zt_ScreenW(), zt_ScreenH(), &p->layout);

    create_controls(hwnd, p);
    if (!create_control_font(hwnd, p)) return 0;
    for (HWND h : p->arr_hwnd_ctl)
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(p->hFont), TRUE);
    subclass_controls(hwnd, p);
    p->bCreated = true;
    return 0;
}

// ---- messages ------------------------------------------------------------------

LRESULT on_WM_COPYDATA(const COPYDATASTRUCT* pCDS, STR_ModifyCell* p)
{
    if (!pCDS || !pCDS->lpData || pCDS->cbData < sizeof(STR_CELL_ADDR)) return 0;
    STR_CELL_ADDR cell;
    std::memcpy(&cell, pCDS->lpData, sizeof(cell));
    p->iRow = cell.i_row;
    p->iColumn = cell.i_column;
    p->hwndListView = zt_hwnd(cell.ui_hwnd_LV);
    for (int k = 0; k < QD_MC_FIELDS; ++k) {
        wchar_t tc[QD_MC_TEXT_UNITS] = {};
        get_cell_text(p->hwndListView, p->iRow, 2 + k, tc, QD_MC_TEXT_UNITS);
        if (p->arr_hwnd_ctl[k]) SetWindowTextW(p->arr_hwnd_ctl[k], tc);
    }
    return 0;
}

LRESULT on_WM_COMMAND(HWND hwnd, WPARAM wParam, STR_ModifyCell* p)
{
    if (HIWORD(wParam) != 0) return 0;
    if (LOWORD(wParam) == IDC_MC_BTN_OK) on_Button_OK(hwnd, p->hwndListView, p->iRow, p->pSTR);
    else if (LOWORD(wParam) == IDC_MC_BTN_CANCEL) DestroyWindow(hwnd);
    return 0;
}

LRESULT on_WM_PAINT(HWND hwnd, const STR_ModifyCell* p)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc && p->bCreated) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        paint_gradient(hdc, rc);
        SetBkMode(hdc, TRANSPARENT);
        for (int k = 0; k < QD_MC_FIELDS; ++k) {
            const STR_Rect& r = p->layout.arr_rc_labels[k];
            RECT rcLabel = {r.i_left, r.i_top, r.i_right, r.i_bottom};
            DrawTextW(hdc, LABELS[k], -1, &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT on_WM_DESTROY(HWND hwnd, STR_ModifyCell* p)
{
    if (p->hwndThis != hwnd) return 0;
    // The children go after this message; their replaced procedures stay
    // known so that each reaches its own procedure until it is gone.
    if (p->hFont) DeleteObject(p->hFont);
    p->hFont = nullptr;
    p->hwndThis = nullptr;
    p->bCreated = false;
    std::memset(p->arr_hwnd_ctl, 0, sizeof(p->arr_hwnd_ctl));
    return 0;
}

// ---- keyboard --------------------------------------------------------------------

int control_index(HWND hwnd)
{
    int id = GetDlgCtrlID(hwnd);
    return (id >= 0 && id < QD_MC_CONTROLS) ? id : -1;
}

LRESULT call_previous(int id, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfn = id >= 0 ? g_mc.arr_prevProc[id] : nullptr;
    if (!pfn) return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfn));
    return CallWindowProcW(pfn, hwnd, uMsg, wParam, lParam);
}

void focus_next(int id)
{
    HWND hNext = g_mc.arr_hwnd_ctl[(id + 1) % QD_MC_CONTROLS];
    if (hNext) SetFocus(hNext);
}

// Fields: TAB goes to the next control; every key-down stops here, so
// characters still arrive but keys acting on key-down alone do nothing.
LRESULT CALLBACK WndProc_ModifyCell_Edit(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const int id = control_index(hwnd);
    if (uMsg != WM_KEYDOWN) return call_previous(id, hwnd, uMsg, wParam, lParam);
    if (wParam == VK_TAB && id >= 0) focus_next(id);
    return 0;
}

// Buttons: the focused one shows as the default button; TAB goes on, ENTER
// acts (Ok: OK then close, whatever OK returned; Cancel: close); every
// key-down stops here. Clicks go on to the button as usual.
LRESULT CALLBACK WndProc_ModifyCell_Button(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hwndParent = GetParent(hwnd);
    if (!hwndParent) zt_Box(nullptr, L"error <- GetParent()", L"dbg, error", MB_OK);
    const int id = control_index(hwnd);
    switch (uMsg) {
    case WM_SETFOCUS:
        PostMessageW(hwnd, BM_SETSTYLE, STYLE_BTN_FOCUSED, TRUE);
        return 0;
    case WM_KILLFOCUS:
        PostMessageW(hwnd, BM_SETSTYLE, STYLE_BTN_UNFOCUSED, TRUE);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_TAB && id >= 0) {
            focus_next(id);
        } else if (wParam == VK_RETURN && hwndParent) {
            if (id == IDC_MC_BTN_OK) {
                on_Button_OK(hwndParent, g_mc.hwndListView, g_mc.iRow, g_mc.pSTR);
                if (IsWindow(hwndParent)) DestroyWindow(hwndParent);
            } else if (id == IDC_MC_BTN_CANCEL) {
                DestroyWindow(hwndParent);
            }
        }
        return 0;
    default:
        return call_previous(id, hwnd, uMsg, wParam, lParam);
    }
}

void register_class(HINSTANCE hInst)
{
    if (!g_mc.bRegistered) g_mc.bRegistered = zt_RegisterPlainWindowClass(QD_MODIFYCELL_CLASS, WndProc_ModifyCell, hInst);
}

}  // namespace

int32_t on_Button_OK(HWND hwndThis, HWND hwndListView, int32_t row, STR_ENUM_WNDS_DATA* pSTR)
{
    if (!hwndThis || !hwndListView || !pSTR) {
        QD_REPORT(&g_rep_ModifyCell, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwndThis = %p, hwndListView = %p, pSTR = %p\nline of error handler:\n%d",
                  hwndThis, hwndListView, pSTR);
        return -1;
    }
    if (!pSTR->pcDynMem_WinHndls || !pSTR->pcDynMem_GeomText) {
        QD_REPORT(&g_rep_ModifyCell, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\npcDynMem_WinHndls = %p, pcDynMem_GeomText = %p\nline of error handler:\n%d",
                  pSTR->pcDynMem_WinHndls, pSTR->pcDynMem_GeomText);
        return -2;
    }
    GeomText_STR* pGeom = row < 0 ? nullptr : scan_entry_geom(pSTR, static_cast<uint32_t>(row));
    if (!pGeom) {
        QD_REPORT(&g_rep_ModifyCell, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nrow = %d, counter_valid = %u\nline of error handler:\n%d",
                  row, pSTR->counter_valid);
        return -3;
    }

    wchar_t tc[QD_MC_FIELDS][QD_MC_TEXT_UNITS] = {};
    int32_t iNum[QD_MC_FIELDS];
    for (int k = 0; k < QD_MC_FIELDS; ++k) {
        HWND hField = GetDlgItem(hwndThis, k);
        int iLen = hField ? GetWindowTextW(hField, tc[k], QD_MC_TEXT_UNITS) : 0;
        if (iLen < 0) iLen = 0;
        if (field_text_is_valid(tc[k], iLen)) set_cell_text(hwndListView, row, 2 + k, tc[k]);
        iNum[k] = modify_cell_field_number(zt_Q(tc[k]));
    }
    pGeom->i_x = iNum[IDC_MC_EDIT_X];
    pGeom->i_y = iNum[IDC_MC_EDIT_Y];
    pGeom->i_h = iNum[IDC_MC_EDIT_HEIGHT];
    pGeom->i_w = iNum[IDC_MC_EDIT_WIDTH];
    DestroyWindow(hwndThis);
    return 1;
}

LRESULT CALLBACK WndProc_ModifyCell(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    STR_ModifyCell* p = &g_mc;
    switch (uMsg) {
    case WM_CREATE:   return on_WM_CREATE(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam), p);
    case WM_COPYDATA: return on_WM_COPYDATA(reinterpret_cast<const COPYDATASTRUCT*>(lParam), p);
    case WM_COMMAND:  return on_WM_COMMAND(hwnd, wParam, p);
    case WM_PAINT:    return on_WM_PAINT(hwnd, p);
    case WM_SIZE:     return 0;
    case WM_NOTIFY:   return 0;
    case WM_DESTROY:  return on_WM_DESTROY(hwnd, p);
    default:          return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}

int32_t open_ModifyCell_window(HWND hwnd_ListOfWnds, const STR_CELL_ADDR* pSTR_CELL_ADDR,
                               STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA, HWND* p_hwnd_ModifyCell)
{
    if (!hwnd_ListOfWnds || !pSTR_CELL_ADDR || !pSTR_ENUM_WNDS_DATA || !p_hwnd_ModifyCell) {
        QD_REPORT(&g_rep_ModifyCell, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwnd_ListOfWnds = %p, pSTR_CELL_ADDR = %p, pSTR_ENUM_WNDS_DATA = %p, p_hwnd_ModifyCell = %p\nline of error handler:\n%d",
                  hwnd_ListOfWnds, pSTR_CELL_ADDR, pSTR_ENUM_WNDS_DATA, p_hwnd_ModifyCell);
        return -1;
    }
    *p_hwnd_ModifyCell = nullptr;
    // The state exists once: a window still open gives it up by closing.
    close_ModifyCell_window();

    HINSTANCE hInst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_ListOfWnds, GWLP_HINSTANCE));
    register_class(hInst);  // a failure shows up as the failed creation below
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    const STR_Point pos = modify_cell_window_pos(pt.x, pt.y);
    const STR_Size size = modify_cell_window_size(zt_ScreenW(), zt_ScreenH());
    HWND hwnd = CreateWindowExW(0, QD_MODIFYCELL_CLASS, L"Modify Cell", WS_CAPTION | WS_SYSMENU, pos.i_left, pos.i_top,
                                size.i_w, size.i_h, nullptr, nullptr, hInst, pSTR_ENUM_WNDS_DATA);
    if (!hwnd) {
        zt_ShowLastError();
        return -2;
    }
    *p_hwnd_ModifyCell = hwnd;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);

    STR_CELL_ADDR cell = *pSTR_CELL_ADDR;
    COPYDATASTRUCT cds = {0, sizeof(cell), &cell};
    SendMessageW(hwnd, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_ListOfWnds), reinterpret_cast<LPARAM>(&cds));
    return 1;
}

void close_ModifyCell_window()
{
    if (g_mc.hwndThis && IsWindow(g_mc.hwndThis)) DestroyWindow(g_mc.hwndThis);
    g_mc.hwndThis = nullptr;
}

HWND current_ModifyCell_window()
{
    return g_mc.hwndThis;
}
