// The main window procedure: each message goes to a named handler that
// receives the window's state by pointer.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "funcs_layout_windows/fonts.h"
#include "funcs_layout_windows/layout_apply.h"
#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/load_profile.h"
#include "funcs_layout_windows/paint_main.h"
#include "funcs_layout_windows/scan_command.h"
#include "funcs_layout_windows/settle_watch.h"
#include "main_prg/main_window.h"
#include "platform/zt_win.h"
#include "qd_version.h"
#include "report/report.h"

namespace {

QD_REPORT_UNIT(g_rep, 1000);

// Everything the main window owns, for the life of the process.
struct STR_MainWnd {
    HWND hwnd_MW;
    HWND hWndBTN00;       // Scan
    HWND hWndBTN02;       // Load Profile
    HWND hWndBTN_Apply;
    HWND hwnd_CB_Profile;
    HWND hwnd_CB_Action;
    HFONT hFont_buttons;
    bool bFontOwned;      // false while the buttons use the system's GUI font
    bool bComInitialised;
    STR_GeomLt geom;
    STR_ENUM_WNDS_DATA scan;
    HWND hwnd_ScanListView;
    LoadedProfiles_STR loaded;
    bool bLoadedPrepared;
    CB_Profile_manage_STR cbProfile;
    STR_ProfileListNames cbProfileNames;  // the texts cbProfile points to
    CB_Action_manage_STR cbAction;
    STR_SettleWatch settle;  // the programs of the last loads, for their first seconds
    HDROP hDrop;
};

STR_MainWnd g_main;

// The controls start small; the first WM_SIZE places them.
void create_controls(STR_MainWnd* p)
{
    HWND hwnd = p->hwnd_MW;
    p->hWndBTN00 = CreateWindowExW(0, L"button", L"Scan", WS_CHILD | WS_VISIBLE | BS_CENTER, 0, 0, 5, 5, hwnd,
                                   reinterpret_cast<HMENU>(IDC_BTN_SCAN), nullptr, nullptr);
    if (!p->hWndBTN00) zt_Box(hwnd, L"err, hWndBTN00=NULL, func WndProc", L"error", MB_OK);

    p->hWndBTN02 = CreateWindowExW(0, L"button", L"Load Profile", WS_CHILD | WS_VISIBLE | BS_CENTER, 0, 0, 5, 5,
                                   hwnd, reinterpret_cast<HMENU>(IDC_BTN_LOADPROFILE), nullptr, nullptr);
    if (!p->hWndBTN02) zt_Box(hwnd, L"error, hWndBTN_LoadProfile==NULL, func WndProc", L"error", MB_OK);

    p->hwnd_CB_Profile = CreateWindowExW(0, L"ComboBox", L"",
                                         WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_HASSTRINGS,
                                         10, 10, 10, 10, hwnd, reinterpret_cast<HMENU>(IDC_CB_PROFILE), nullptr, nullptr);
    p->hwnd_CB_Action = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS,
                                        10, 10, 10, 10, hwnd, reinterpret_cast<HMENU>(IDC_CB_ACTION), nullptr, nullptr);
    p->hWndBTN_Apply = CreateWindowExW(0, L"button", L"Apply", WS_CHILD | WS_VISIBLE | BS_CENTER, 10, 10, 10, 10, hwnd,
                                       reinterpret_cast<HMENU>(IDC_BTN_APPLY), nullptr, nullptr);
    if (!p->hwnd_CB_Profile || !p->hwnd_CB_Action || !p->hWndBTN_Apply)
        zt_Box(hwnd, L"error while creating ComboBox Profile | ComboBox Action | Button Apply, main window WndProc()",
               L"error", MB_OK);
}

void set_button_fonts(STR_MainWnd* p)
{
    const HWND controls[] = {p->hWndBTN00, p->hWndBTN02, p->hWndBTN_Apply, p->hwnd_CB_Profile, p->hwnd_CB_Action};
    for (HWND h : controls)
        if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(p->hFont_buttons), FALSE);  // shown later, painted then
}

// The fitted button font height; negative after its report when the DC
// could not be had or no height fits.
int32_t fit_main_button_font(HWND hwnd)
{
    const STR_Size btn = main_button_size(zt_ScreenW(), zt_ScreenH());
    const int32_t iFontH = fit_window_button_font(hwnd, L"Load Profile", btn.i_w, btn.i_h);
    if (iFontH == QD_FONT_NO_DC)
        QD_REPORT(&g_rep, "WndProc", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- GetDC() of Main Window\nline of error handler:%d");
    else if (iFontH < 0)
        QD_REPORT(&g_rep, "WndProc", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR while get font size for buttons\nline of error handler:%d");
    return iFontH;
}

// The button font: the fitted one, or, when fitting or creating it failed
// (already reported), the system's GUI font, so the program still works.
void make_button_font(STR_MainWnd* p, int32_t iFontH)
{
    if (iFontH >= 0) {
        p->hFont_buttons = create_button_font(iFontH);
        p->bFontOwned = p->hFont_buttons != nullptr;
        if (!p->hFont_buttons) zt_Box(nullptr, L"error <- zt_CreateFont while WM_CREATE", L"error", MB_OK);
    }
    if (p->hFont_buttons) return;
    p->hFont_buttons = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (iFontH < 0)  // the layout's text rows follow the font that is used
        p->geom.i_font_h_buttons = GetObjectW(p->hFont_buttons, sizeof(lf), &lf) && lf.lfHeight ? std::abs(lf.lfHeight) : 16;
}

// A failure on the way is reported once and creation goes on: the lists,
// their records and COM are needed whatever the font.
LRESULT on_WM_CREATE(HWND hwnd, STR_MainWnd* p)
{
    *p = STR_MainWnd{};
    p->hwnd_MW = hwnd;
    geom_init_constants(&p->geom);
    create_controls(p);
    CB_Action_init(p->hwnd_CB_Action, IDC_CB_ACTION, &p->cbAction);

    const int32_t iFontH = fit_main_button_font(hwnd);
    p->geom.i_font_h_buttons = iFontH;
    make_button_font(p, iFontH);
    set_button_fonts(p);

    std::memset(&p->cbProfile, 0, sizeof(p->cbProfile));
    p->cbProfile.hwnd_CB = zt_hwnd32(p->hwnd_CB_Profile);
    p->cbProfile.uiID_CB = IDC_CB_PROFILE;
    p->cbProfile.uiN_strs = 0;
    p->cbProfile.uiMax_strs = QD_PROFILE_LIST_CAPACITY;
    p->cbProfile.iSel_CB = 0;

    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    p->bComInitialised = SUCCEEDED(hr);  // S_FALSE too: each success is undone once
    if (hr == E_INVALIDARG || hr == E_OUTOFMEMORY || hr == E_UNEXPECTED)
        zt_Box(nullptr, L"error <- CoInitializeEx(), impossible init COM", L"error", MB_OK);
    return 0;
}

LRESULT on_WM_DESTROY(STR_MainWnd* p)
{
    if (p->hFont_buttons && p->bFontOwned) DeleteObject(p->hFont_buttons);
    p->hFont_buttons = nullptr;
    scan_store_release_win(&p->scan);
    settle_watch_end(&p->settle);
    finishWork_onLoadProfile(&p->loaded);
    if (p->hwnd_ScanListView) DestroyWindow(p->hwnd_ScanListView);
    p->hwnd_ScanListView = nullptr;
    if (p->bComInitialised) CoUninitialize();
    p->bComInitialised = false;
    PostQuitMessage(0);
    return 0;
}

LRESULT on_WM_SIZE_msg(STR_MainWnd* p, WPARAM wParam, LPARAM lParam)
{
    if (wParam != SIZE_MINIMIZED)
        on_WM_SIZE(p->hwnd_MW, wParam, lParam, &p->geom, p->hWndBTN00, p->hWndBTN02, p->hWndBTN_Apply,
                   p->hwnd_CB_Profile, p->hwnd_CB_Action);
    return 0;
}

// Moved onto a monitor of another scale: the window takes the rectangle the
// system suggests, and the WM_SIZE that follows lays it out again.
LRESULT on_WM_DPICHANGED(STR_MainWnd* p, LPARAM lParam)
{
    const RECT* pRC = reinterpret_cast<const RECT*>(lParam);
    if (pRC)
        SetWindowPos(p->hwnd_MW, nullptr, pRC->left, pRC->top, pRC->right - pRC->left, pRC->bottom - pRC->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT on_WM_PAINT(STR_MainWnd* p)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(p->hwnd_MW, &ps);
    RECT rc;
    GetClientRect(p->hwnd_MW, &rc);
    paint_gradient(hdc, rc);
    draw_MainWindow(p->hwnd_MW, hdc, &p->geom, p->hFont_buttons, &p->loaded);
    EndPaint(p->hwnd_MW, &ps);
    return 0;
}

LRESULT on_WM_GETMINMAXINFO(LPARAM lParam)
{
    MINMAXINFO* pMMI = reinterpret_cast<MINMAXINFO*>(lParam);
    STR_Size s = main_window_size(zt_ScreenW(), zt_ScreenH());
    pMMI->ptMinTrackSize.x = s.i_w;
    pMMI->ptMinTrackSize.y = s.i_h;
    return 0;
}

void show_about(HWND hwnd)
{
    zt_Box(hwnd,
           L"This small software utility \"Quorvel-Dint\" is intended for keeping your folders and programs layout organized.\n\n"
           L"Manufacturer: " QD_MAKER_W L".\n" QD_WEB_W L"\ne-mail: " QD_EMAIL_W L"\n\nrelease date: " QD_RELEASE_DATE_W,
           L"About", MB_OK);
}

bool ensure_store_prepared(STR_MainWnd* p, const wchar_t* ptcFailureText)
{
    if (p->bLoadedPrepared) return true;
    p->bLoadedPrepared = true;  // set before the attempt: preparation is tried once
    if (preInitOnce_onLoadProfile(&p->loaded) < 0) {
        zt_Box(p->hwnd_MW, ptcFailureText, L"error", MB_OK);
        return false;
    }
    return true;
}

void onButton_Scan(STR_MainWnd* p, WPARAM wParam, LPARAM lParam)
{
    scan_store_prepare(&p->scan);
    int32_t iRet = onButton_Scan_Clicked(p->hwnd_MW, &p->hwnd_ScanListView, wParam, lParam, &p->scan);
    if (iRet < 0) {
        QD_REPORT(&g_rep, "WndProc", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\nERROR <- onButton_Scan_Click()\nret code = %d\nline of error handler:%d",
                  iRet);
    }
}

void onButton_LoadProfile(STR_MainWnd* p)
{
    ensure_store_prepared(p, L"WndProc, WM_COMMAND, error <- preInitOnce_onLoadProfile()");
    int32_t iRet = onButton_LoadProfile_clicked(p->hwnd_MW, 0, nullptr, &p->loaded, &p->cbProfile, &p->cbProfileNames, &p->settle);
    if (iRet < 0) {
        QD_REPORT(&g_rep, "WndProc", "error\n\nfile:\n%s\nfunction:\n%s\nline:\n%d\n\none of callable functions returned error onButton_LoadProfile_clicked(), RetCode = %d\nline of error handler:%d",
                  iRet);
    }
}

LRESULT on_WM_COMMAND(STR_MainWnd* p, WPARAM wParam, LPARAM lParam)
{
    const UINT uiCode = HIWORD(wParam), uiID = LOWORD(wParam);
    HWND hwndCtl = reinterpret_cast<HWND>(lParam);
    if (uiID == 9 && uiCode == 0 && !hwndCtl) show_about(p->hwnd_MW);
    if (uiID == IDC_BTN_SCAN && uiCode == 0) {
        onButton_Scan(p, wParam, lParam);
        return 0;
    }
    if (uiID == IDC_BTN_LOADPROFILE && uiCode == 0) onButton_LoadProfile(p);
    if (uiID == IDC_CB_PROFILE && uiCode == CBN_SELCHANGE && hwndCtl == p->hwnd_CB_Profile)
        onWM_COMMAND_CB_Profile(uiCode, uiID, hwndCtl, &p->cbProfile);
    if (uiID == IDC_CB_ACTION && uiCode == CBN_SELCHANGE && hwndCtl == p->hwnd_CB_Action)
        onWM_COMMAND_CB_Action(uiCode, uiID, hwndCtl, &p->cbAction);
    if (uiID == IDC_BTN_APPLY && uiCode == 0 && hwndCtl == p->hWndBTN_Apply)
        onButton_Apply_press(&p->cbProfile, &p->cbProfileNames, &p->cbAction, &p->loaded);
    return 0;
}

LRESULT on_WM_DROPFILES(STR_MainWnd* p, WPARAM wParam)
{
    p->hDrop = reinterpret_cast<HDROP>(wParam);
    ensure_store_prepared(p, L"WndProc, WM_DROPFILES, error <- preInitOnce_onLoadProfile()");
    on_wm_dropfiles(p->hwnd_MW, p->hDrop, &p->loaded, &p->cbProfile, &p->cbProfileNames, &p->settle);
    p->hDrop = nullptr;  // released by the handler
    return 0;
}

}  // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    STR_MainWnd* p = &g_main;
    switch (uMsg) {
    case WM_CREATE:        return on_WM_CREATE(hwnd, p);
    case WM_DESTROY:       return on_WM_DESTROY(p);
    case WM_SIZE:          return on_WM_SIZE_msg(p, wParam, lParam);
    case WM_PAINT:         return on_WM_PAINT(p);
    case WM_ERASEBKGND:    return 1;
    case WM_GETMINMAXINFO: return on_WM_GETMINMAXINFO(lParam);
    case WM_COMMAND:       return on_WM_COMMAND(p, wParam, lParam);
    case WM_DROPFILES:     return on_WM_DROPFILES(p, wParam);
    case WM_DPICHANGED:    return on_WM_DPICHANGED(p, lParam);
    default:               return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}
