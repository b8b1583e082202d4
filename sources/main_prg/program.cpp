#include <windows.h>
#include <commctrl.h>

#include "layout_main.h"
#include "main_prg/main_window.h"
#include "platform/zt_monitors.h"
#include "platform/zt_shell.h"
#include "platform/zt_win.h"
#include "report/report.h"
#include "resource_ids.h"
#include "wnd_ScanListView/wnd_ScanListView.h"

const wchar_t* const QD_MAIN_CLASS = L"prg_wnds_layout";
const wchar_t* const QD_SCANLIST_CLASS = L"List of Windows";

bool raise_running_instance()
{
    HWND hwnd = FindWindowW(QD_MAIN_CLASS, nullptr);
    if (!hwnd) return false;
    // Asynchronous: a first instance that does not answer cannot hang this one.
    if (IsIconic(hwnd)) ShowWindowAsync(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    return true;
}

void init_common_controls()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), 0x4727};  // list view, tree, bars, progress, date, user-ex, cool, standard
    InitCommonControlsEx(&icc);
}

void register_window_classes(HINSTANCE hInstance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_APP));
    wc.hIconSm = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = L"menu_main";
    wc.lpszClassName = QD_MAIN_CLASS;
    RegisterClassExW(&wc);

    zt_RegisterPlainWindowClass(QD_SCANLIST_CLASS, WndProc_ScanListView, hInstance);
}

HWND create_main_window(HINSTANCE hInstance)
{
    STR_Size size = main_window_size(zt_ScreenW(), zt_ScreenH());
    HWND hwnd = CreateWindowExW(0, QD_MAIN_CLASS, L"Quorvel-Dint", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, size.i_w, size.i_h, nullptr, nullptr, hInstance, nullptr);
    if (!hwnd) zt_ShowLastError();
    return hwnd;
}

int run_message_loop()
{
    MSG msg = {};
    for (;;) {
        BOOL bRet = GetMessageW(&msg, nullptr, 0, 0);
        if (bRet == 0) break;
        if (bRet == -1) {
            zt_Box(nullptr, L"-1 <- GetMessage()", L"error", MB_ICONINFORMATION);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int run_program(HINSTANCE hInstance, int nCmdShow)
{
    zt_EnsurePerMonitorDpiAware();  // before any window: every coordinate in physical pixels
    if (raise_running_instance()) return 0;
    init_common_controls();
    register_window_classes(hInstance);
    HWND hwnd = create_main_window(hInstance);
    if (!hwnd) return 1;  // reported; there is no window to wait for
    zt_DragAcceptFiles(hwnd, TRUE);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    return run_message_loop();
}
