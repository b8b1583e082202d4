// The Name of Profile window procedure, its layout and painting, and the
// hand-back of the typed name to the List of Windows window.
#include "wnd_ProfileName/wnd_ProfileName.h"

#include <cstring>

#include "modify_cell_layout.h"
#include "funcs_layout_windows/fonts.h"
#include "platform/zt_win.h"
#include "profile_format.h"
#include "report/report.h"

const wchar_t* const QD_PROFILENAME_CLASS = L"Name of Profile Window";

QD_REPORT_UNIT(g_rep_ProfileName, 1000);

namespace {

constexpr int QD_PN_TEXT_UNITS = 1024;  // the field is read into 1023 units and the terminator
constexpr DWORD STYLE_OK = WS_CHILD | WS_VISIBLE | BS_CENTER | BS_DEFPUSHBUTTON;
constexpr DWORD STYLE_CANCEL = WS_CHILD | WS_VISIBLE | BS_CENTER;
constexpr DWORD STYLE_FIELD = WS_CHILD | WS_VISIBLE;  // no scrolling: takes what fits its width

// The window's state, held once.
struct STR_ProfileNameWnd {
    HWND hwndThis;
    HWND hwnd_ListWindows;  // owner, from the creation data
    HWND hBtnOk;
    HWND hBtnCancel;
    HWND hEdit;
    STR_ProfileNameLayout layout;
    bool bCreated;
    bool bRegistered;
};

STR_ProfileNameWnd g_pn;

HWND create_control(HWND hwnd, DWORD dwExStyle, const wchar_t* ptcClass, const wchar_t* ptcText, DWORD dwStyle,
                    STR_Point pt, int32_t w, int32_t h, int iID)
{
    return CreateWindowExW(dwExStyle, ptcClass, ptcText, dwStyle, pt.i_left, pt.i_top, w, h, hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(iID)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)), nullptr);
}

LRESULT on_WM_CREATE(HWND hwnd, const CREATESTRUCTW* pCS, STR_ProfileNameWnd* p)
{
    const bool bRegistered = p->bRegistered;
    std::memset(p, 0, sizeof(*p));
    p->bRegistered = bRegistered;
    p->hwndThis = hwnd;
    HWND hwnd_ListWindows = static_cast<HWND>(pCS->lpCreateParams);
    if (!hwnd_ListWindows) {
        QD_REPORT(&g_rep_ProfileName, "WndProc_wnd_ProfileName", "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect parameters while WM_CREATE:\np_hwnd_ListWindows = %p \nline of error handler:\n%d",
                  pCS->lpCreateParams);
        return 0;
    }
    p->hwnd_ListWindows = hwnd_ListWindows;

    RECT rcWnd = {};
    GetWindowRect(hwnd, &rcWnd);
    profile_name_layout(rcWnd.right - rcWnd.left, zt_ScreenW(), zt_ScreenH(), &p->layout);
    const STR_ProfileNameLayout& L = p->layout;

    p->hBtnOk = create_control(hwnd, 0, L"button", L"Ok", STYLE_OK, L.pt_Ok, L.i_btn_w, L.i_btn_h, IDC_PN_BTN_OK);
    if (!p->hBtnOk) zt_Box(hwnd, L"error, CreateWindow(), func WndProc", L"error", MB_OK);
    p->hBtnCancel = create_control(hwnd, 0, L"button", L"Cancel", STYLE_CANCEL, L.pt_Cancel, L.i_btn_w, L.i_btn_h,
                                   IDC_PN_BTN_CANCEL);
    if (!p->hBtnCancel) zt_Box(hwnd, L"error, CreateWindow(), func WndProc", L"i", MB_OK);
    p->hEdit = create_control(hwnd, WS_EX_CLIENTEDGE, L"EDIT", L"", STYLE_FIELD, L.pt_field, L.i_field_w,
                              L.i_field_h, IDC_PN_EDIT_NAME);
    if (!p->hEdit) zt_Box(hwnd, L"error, CreateWindow(), EditBox, func WndProc", L"error", MB_OK);
    else SetFocus(p->hEdit);
    p->bCreated = true;
    return 0;
}

LRESULT on_WM_COMMAND(HWND hwnd, WPARAM wParam, LPARAM lParam, const STR_ProfileNameWnd* p)
{
    if (HIWORD(wParam) != 0) return 0;
    if (LOWORD(wParam) == IDC_PN_BTN_OK) {
        int32_t iRet = on_Button_OK(hwnd, p->hwnd_ListWindows, p->hEdit, wParam, lParam);
        if (iRet < 0) {
            QD_REPORT(&g_rep_ProfileName, "WndProc_wnd_ProfileName", "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error, %d <- on_Button_OK() \nline of error handler:\n%d",
                      iRet);
        }
    } else if (LOWORD(wParam) == IDC_PN_BTN_CANCEL) {
        int32_t iRet = on_Button_CANCEL(hwnd, wParam, lParam);
        if (iRet < 0) {
            QD_REPORT(&g_rep_ProfileName, "WndProc_wnd_ProfileName", "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\none of callable functions returned error, %d <- on_Button_CANCEL()\nline of error handler:\n%d",
                      iRet);
        }
    }
    return 0;
}

LRESULT on_WM_PAINT(HWND hwnd, const STR_ProfileNameWnd* p)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (hdc) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        paint_gradient(hdc, rc);
        if (p->bCreated) {
            const STR_Rect& r = p->layout.rc_label;
            RECT rcLabel = {r.i_left, r.i_top, r.i_right, r.i_bottom};
            SetBkMode(hdc, TRANSPARENT);
            DrawTextW(hdc, L"Enter name of Profile:", -1, &rcLabel, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
    }
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT on_WM_DESTROY(HWND hwnd, STR_ProfileNameWnd* p)
{
    if (p->hwndThis != hwnd) return 0;
    p->hwndThis = nullptr;
    p->hBtnOk = p->hBtnCancel = p->hEdit = nullptr;
    p->bCreated = false;
    return 0;
}

void register_class(HINSTANCE hInst)
{
    if (!g_pn.bRegistered) g_pn.bRegistered = zt_RegisterPlainWindowClass(QD_PROFILENAME_CLASS, WndProc_wnd_ProfileName, hInst);
}

}  // namespace

int32_t on_Button_OK(HWND hwnd_this_wnd, HWND hwnd_parent_wnd, HWND hEdit, WPARAM, LPARAM)
{
    if (!hwnd_this_wnd || !hwnd_parent_wnd || !hEdit) {
        QD_REPORT(&g_rep_ProfileName, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwnd_this_wnd = %p, hwnd_parent_wnd = %p, hEdit = %p\nline of error handler:\n%d",
                  hwnd_this_wnd, hwnd_parent_wnd, hEdit);
        return -1;
    }
    int iLen = GetWindowTextLengthW(hEdit);
    if (iLen <= 0) {
        zt_Box(hwnd_this_wnd, L"Please enter Name of Profile, e.g. \"work docs 01\"", L"warning", MB_OK);
        return 1;
    }
    wchar_t tc[QD_PN_TEXT_UNITS] = {};
    int iN = GetWindowTextW(hEdit, tc, QD_PN_TEXT_UNITS);
    if (iN < 0) iN = 0;
    // The receiver keeps at most QD_PRF_NAME_MAX_UNITS units; a longer name is cut.
    const DWORD uiUnits = static_cast<DWORD>(iN) < QD_PRF_NAME_MAX_UNITS ? static_cast<DWORD>(iN) : QD_PRF_NAME_MAX_UNITS;
    COPYDATASTRUCT cds = {0, static_cast<DWORD>(uiUnits * sizeof(wchar_t)), tc};
    SendMessageW(hwnd_parent_wnd, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd_this_wnd), reinterpret_cast<LPARAM>(&cds));
    return 1;
}

int32_t on_Button_CANCEL(HWND hwndThis, WPARAM, LPARAM)
{
    if (!hwndThis) {
        QD_REPORT(&g_rep_ProfileName, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwndThis = %p\nline of error handler:\n%d",
                  hwndThis);
        return -1;
    }
    DestroyWindow(hwndThis);
    return 1;
}


LRESULT CALLBACK WndProc_wnd_ProfileName(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    STR_ProfileNameWnd* p = &g_pn;
    switch (uMsg) {
    case WM_CREATE:  return on_WM_CREATE(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam), p);
    case WM_COMMAND: return on_WM_COMMAND(hwnd, wParam, lParam, p);
    case WM_PAINT:   return on_WM_PAINT(hwnd, p);
    case WM_SIZE:    return 0;
    case WM_NOTIFY:  return 0;
    case WM_DESTROY: return on_WM_DESTROY(hwnd, p);
    default:         return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}

HWND open_NameOfProfile_window(HWND hwnd_ListOfWnds)
{
    if (!hwnd_ListOfWnds) {
        QD_REPORT(&g_rep_ProfileName, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input parameters:\nhwnd_ListOfWnds = %p\nline of error handler:\n%d",
                  hwnd_ListOfWnds);
        return nullptr;
    }
    if (g_pn.hwndThis && IsWindow(g_pn.hwndThis)) DestroyWindow(g_pn.hwndThis);
    g_pn.hwndThis = nullptr;

    HINSTANCE hInst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_ListOfWnds, GWLP_HINSTANCE));
    register_class(hInst);  // a failure shows up as the failed creation below
    RECT rcOwner = {};
    GetWindowRect(hwnd_ListOfWnds, &rcOwner);
    const STR_Size size = profile_name_window_size(zt_ScreenW(), zt_ScreenH());
    HWND hwnd = CreateWindowExW(0, QD_PROFILENAME_CLASS, L"Name of Profile", WS_CAPTION | WS_SYSMENU,
                                rcOwner.left + QD_PN_OWNER_OFFSET, rcOwner.top + QD_PN_OWNER_OFFSET, size.i_w,
                                size.i_h, hwnd_ListOfWnds, nullptr, hInst, hwnd_ListOfWnds);
    if (!hwnd) {
        const DWORD dwErr = GetLastError();
        zt_Box(hwnd_ListOfWnds, L"error while creating window Name of Profile", L"error", MB_OK);
        SetLastError(dwErr);
        zt_ShowLastError();
        return nullptr;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
}
