#include "funcs_layout_windows/paint_main.h"

#include "funcs_layout_windows/fonts.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_win.h"
#include "report_format.h"

namespace {

const COLORREF TITLE_COLOUR = RGB(91, 173, 255);
const COLORREF CLOSE_COLOUR = RGB(255, 0, 0);

void draw_arrowhead(HDC hdc, POINT a, POINT tip, POINT b)
{
    POINT pts[3] = {a, tip, b};
    Polygon(hdc, pts, 3);
}

// A single letter centred vertically in the square of side 2 * g at pt.
void draw_letter(HDC hdc, const wchar_t* ptcLetter, STR_Point pt, int32_t g)
{
    RECT rc = {pt.i_left, pt.i_top, pt.i_left + 2 * g, pt.i_top + 2 * g};
    DrawTextW(hdc, ptcLetter, 1, &rc, DT_SINGLELINE | DT_VCENTER);
}

RECT box_rect(const STR_Box& b)
{
    return {b.i_left, b.i_top, b.i_left + b.i_width, b.i_top + b.i_height};
}

}  // namespace

int32_t zt_DrawLine(HDC hdc, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (!hdc || (x0 == x1 && y0 == y1)) {
        QD_REPORT(rep_layout(), __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhdc = %p, x0 = %d, y0 = %d, x1 = %d, y1 = %d\n\nline of error handler:\n%d",
                  hdc, x0, y0, x1, y1);
        return -1;
    }
    MoveToEx(hdc, x0, y0, nullptr);
    LineTo(hdc, x1, y1);
    return 1;
}

int32_t DrawWindow(HWND hwnd_MW, HDC hdc_MW, int32_t iLeft, int32_t iTop, int32_t iHeight, int32_t iWidth)
{
    if (!hwnd_MW || !hdc_MW || iHeight == 0 || iWidth == 0) {
        QD_REPORT(rep_layout(), __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhwnd_MW = %p, hdc_MW = %p, h = %u, w = %u\nreturn code : %d\n\nline of error handler:\n%d",
                  hwnd_MW, hdc_MW, iHeight, iWidth, 0);
        return -1;
    }
    const int32_t k = 5, s = 10;
    const int32_t right = iLeft + iWidth;
    // Declared before the saved state, so the DC is restored (and they are
    // deselected) before they are deleted.
    zt_GdiObj<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    zt_GdiObj<HBRUSH> title(CreateSolidBrush(TITLE_COLOUR));
    zt_GdiObj<HBRUSH> red(CreateSolidBrush(CLOSE_COLOUR));
    zt_SavedDC saved(hdc_MW);
    HGDIOBJ hollow = GetStockObject(NULL_BRUSH);
    SelectObject(hdc_MW, pen.get());
    SetBkMode(hdc_MW, TRANSPARENT);

    SelectObject(hdc_MW, hollow);
    Rectangle(hdc_MW, iLeft, iTop, right, iTop + iHeight);  // outline
    SelectObject(hdc_MW, title.get());
    Rectangle(hdc_MW, iLeft, iTop, right, iTop + 4 * k);  // title bar, 20 px
    SelectObject(hdc_MW, red.get());
    Rectangle(hdc_MW, right - k - s, iTop + k, right - k, iTop + k + s);  // close box
    SelectObject(hdc_MW, pen.get());
    SelectObject(hdc_MW, hollow);
    Rectangle(hdc_MW, right - 2 * k - 2 * s, iTop + k, right - 2 * k - s, iTop + k + s);      // maximise
    Rectangle(hdc_MW, right - 3 * k - 3 * s, iTop + k, right - 3 * k - 2 * s, iTop + k + s);  // minimise
    return 1;
}

int32_t draw_MainWindow(HWND hwnd_MW, HDC hdc_MW, STR_GeomLt* pSTR_GeomLt, HFONT hFont_buttons,
                        const LoadedProfiles_STR* pLoadedProfiles_STR)
{
    // The button font may be missing: the labels are then drawn in the DC's font.
    if (!hwnd_MW || !hdc_MW || !pSTR_GeomLt || !pLoadedProfiles_STR) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nincorrect input parameters, func draw_arrows()\nINPUT PARAMETERS:\nhwnd_MW = %p, hdc_MW = %p, pSTR_GeomLt = %p, hFont_buttons = %p\npLoadedProfiles_STR = %p",
                     hwnd_MW, hdc_MW, pSTR_GeomLt, hFont_buttons, pLoadedProfiles_STR);
        return -1;
    }
    STR_GeomLt* g = pSTR_GeomLt;
    const int32_t m = g->i_margin;
    g->i_font_h_axis = 2 * g->i_font_h_buttons;
    const int32_t gh = g->i_font_h_axis;
    // Declared before the saved state: the DC is restored, deselecting
    // them, before they are deleted.
    zt_GdiObj<HPEN> pen(CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
    zt_GdiObj<HFONT> axisFont(zt_CreateFont(gh, 700, 0, 0, 0, 16, L"Times New Roman"));
    {
        zt_SavedDC saved(hdc_MW);
        SelectObject(hdc_MW, pen.get());
        SelectObject(hdc_MW, GetStockObject(BLACK_BRUSH));

        const int32_t x0 = g->i_axis_x0, y0 = g->i_axis_y0;
        const int32_t y1 = y0 + g->i_axis_len_Y, x1 = x0 + g->i_axis_len_X;
        zt_DrawLine(hdc_MW, x0, y0, x0, y1);
        draw_arrowhead(hdc_MW, {x0 - m, y1 - m}, {x0, y1}, {x0 + m, y1 - m});
        zt_DrawLine(hdc_MW, x0, y0, x1, y0);
        draw_arrowhead(hdc_MW, {x1 - m, y0 - m}, {x1, y0}, {x1 - m, y0 + m});

        if (axisFont) SelectObject(hdc_MW, axisFont.get());
        SetBkMode(hdc_MW, TRANSPARENT);
        draw_letter(hdc_MW, L"Y", g->pt_letter_Y, gh);
        draw_letter(hdc_MW, L"X", g->pt_letter_X, gh);

        for (const STR_SchemWnd& w : g->arr_wnds)
            DrawWindow(hwnd_MW, hdc_MW, w.i_left, w.i_top, w.i_height, w.i_width);

        if (hFont_buttons) SelectObject(hdc_MW, hFont_buttons);
        SetBkMode(hdc_MW, TRANSPARENT);
        RECT rcProfile = box_rect(g->box_lbl_Profile);
        RECT rcAction = box_rect(g->box_lbl_Action);
        DrawTextW(hdc_MW, L"Profile:", -1, &rcProfile, DT_WORDBREAK | DT_VCENTER);
        DrawTextW(hdc_MW, L"Action:", -1, &rcAction, DT_WORDBREAK | DT_VCENTER);

        // The reserved row tells how many profiles have been loaded.
        qd_char tcCount[32];
        qd_format(tcCount, 32, "Profiles loaded: %.2u", pLoadedProfiles_STR->uiN_loaded_prfls);
        RECT rcCount = box_rect(g->box_reserved);
        DrawTextW(hdc_MW, zt_W(tcCount), -1, &rcCount, DT_SINGLELINE | DT_VCENTER);
    }
    return 1;
}
