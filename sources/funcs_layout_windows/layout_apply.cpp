#include "funcs_layout_windows/layout_apply.h"

#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"

namespace {

void move_to_box(HWND hwnd, const STR_Box& b)
{
    if (hwnd) MoveWindow(hwnd, b.i_left, b.i_top, b.i_width, b.i_height, TRUE);
}

}  // namespace

int32_t on_WM_SIZE(HWND hwnd_MW, WPARAM /*wParam*/, LPARAM lParam, STR_GeomLt* pSTR_GeomLt, HWND hWndBTN00,
                   HWND hWndBTN02, HWND hWndBTN_Apply, HWND hwnd_CB_Profile, HWND hwnd_CB_Action)
{
    if (!hwnd_MW || !pSTR_GeomLt || !hWndBTN00 || !hWndBTN02) {
        QD_REPORT(rep_layout(), __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhwnd_MW = %p, pSTR_GeomLt = %p, hWndBTN00 = %p, hWndBTN02 = %p\nline of error handler:\n%d",
                  hwnd_MW, pSTR_GeomLt, hWndBTN00, hWndBTN02);
        return -1;
    }
    layout_main_window(pSTR_GeomLt, LOWORD(lParam), HIWORD(lParam), zt_ScreenW(), zt_ScreenH());
    move_to_box(hWndBTN00, pSTR_GeomLt->box_Scan);
    move_to_box(hWndBTN02, pSTR_GeomLt->box_LoadProfile);
    move_to_box(hWndBTN_Apply, pSTR_GeomLt->box_Apply);
    move_to_box(hwnd_CB_Profile, pSTR_GeomLt->box_CB_Profile);
    move_to_box(hwnd_CB_Action, pSTR_GeomLt->box_CB_Action);
    return 1;
}
