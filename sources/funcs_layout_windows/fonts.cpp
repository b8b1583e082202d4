#include "funcs_layout_windows/fonts.h"

#include "font_fit.h"
#include "funcs_layout_windows/unit_reports.h"
#include "layout_main.h"
#include "platform/zt_win.h"

namespace {

const wchar_t* const FACE = L"Times New Roman";
ZT_FontFailHook g_pfnFontFail = nullptr;
void* g_pFontFailCtx = nullptr;

// Measures a text in a weight-400 measuring font of the given height. The
// font is created, selected, measured with and deleted here.
int32_t measure_with_gdi(void* pCtx, int32_t iFontHeight, const qd_char* ptcText, int32_t* piLineH, int32_t* piWidth)
{
    HDC hdc = static_cast<HDC>(pCtx);
    zt_GdiObj<HFONT> font(zt_CreateFont(iFontHeight, 400, 0, 0, 0, 16, FACE));
    if (!font) return -1;
    zt_SavedDC saved(hdc);
    if (!SelectObject(hdc, font.get())) return -1;
    RECT rc = {0, 0, 0, 0};
    DrawTextW(hdc, zt_W(ptcText), -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    *piLineH = rc.bottom - rc.top;
    *piWidth = rc.right - rc.left;
    return 1;
}

}  // namespace

void zt_SetFontFailHook(ZT_FontFailHook pfnHook, void* pCtx)
{
    g_pfnFontFail = pfnHook;
    g_pFontFailCtx = pCtx;
}

HFONT zt_CreateFont(int32_t iHeight, int32_t iWeight, BYTE ucItalic, BYTE ucUnderline, BYTE ucStrikeOut,
                    BYTE ucPitchAndFamily, const wchar_t* pcTypeFaceName)
{
    if (!pcTypeFaceName) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nincorrect input parameters, func zt_CreateFont()\npcTypeFaceName = %p",
                     pcTypeFaceName);
        return nullptr;
    }
    if (g_pfnFontFail && g_pfnFontFail(g_pFontFailCtx)) return nullptr;
    LOGFONTW lf = {};
    lf.lfHeight = iHeight;
    lf.lfWeight = iWeight;
    lf.lfItalic = ucItalic;
    lf.lfUnderline = ucUnderline;
    lf.lfStrikeOut = ucStrikeOut;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_CHARACTER_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = ucPitchAndFamily;
    lstrcpynW(lf.lfFaceName, pcTypeFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

int32_t FindFontSize(HDC hdc, int32_t hREC)
{
    if (!hdc || hREC <= 0) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nincorrect input parameters, func FindFontSize()\nhdc = %p, hREC = %d",
                     hdc, hREC);
        return -1;
    }
    int32_t h = font_fit_height(hREC, measure_with_gdi, hdc);
    if (h == QD_FONTFIT_NO_FONT) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nERROR <- zt_CreateFont(), no font to measure\nhREC = %d",
                     hREC);
    } else if (h == QD_FONTFIT_NO_GROWTH) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nthe measured line height does not follow the font height\nhREC = %d",
                     hREC);
    }
    return h;
}

int32_t FindFontSize_fit_H_and_W(HDC hdc, const wchar_t* ptc_Text, int32_t hREC, int32_t wREC)
{
    if (!hdc || !ptc_Text || hREC <= 0 || wREC <= 0) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nincorrect input parameters, func FindFontSize_fit_H_and_W()\nhdc = %p,hREC = %d,wREC = %d,ptc_Text = %p",
                     hdc, hREC, wREC, ptc_Text);
        return -1;
    }
    int32_t h = FindFontSize(hdc, hREC);
    if (h < 0) return -1;
    int32_t r = font_fit_width(h, zt_Q(ptc_Text), wREC, measure_with_gdi, hdc);
    if (r < 0) {
        QD_REPORT_NL(rep_layout(), __func__, "error\nfile: %s\nfunction: %s\nline: %d\nERROR <- zt_CreateFont(), no font to measure\nwREC = %d",
                     wREC);
        return -1;
    }
    return r;
}

int32_t fit_button_font_height(HDC hdc, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH)
{
    STR_Size box = button_font_box(iButtonW, iButtonH);
    return FindFontSize_fit_H_and_W(hdc, ptcLongestCaption, box.i_h, box.i_w);
}

HFONT create_button_font(int32_t iHeight)
{
    return zt_CreateFont(iHeight, 700, 0, 0, 0, 16, FACE);
}

int32_t fit_window_button_font(HWND hwnd, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH)
{
    zt_WindowDC dc(hwnd);
    if (!dc.get()) return QD_FONT_NO_DC;
    const int32_t iH = fit_button_font_height(dc.get(), ptcLongestCaption, iButtonW, iButtonH);
    return iH < 0 ? QD_FONT_NO_FIT : iH;
}

HFONT make_fitted_button_font(HWND hwnd, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH,
                              int32_t* piFailed)
{
    const int32_t iH = fit_window_button_font(hwnd, ptcLongestCaption, iButtonW, iButtonH);
    HFONT hFont = iH >= 0 ? create_button_font(iH) : nullptr;
    if (piFailed) *piFailed = iH == QD_FONT_NO_DC ? 0 : iH < 0 ? 1 : 2;
    return hFont;
}

void paint_gradient(HDC hdc, const RECT& rc)
{
    TRIVERTEX v[2] = {{rc.left, rc.top, 0x1600, 0xFA00, 0xFA00, 0}, {rc.right, rc.bottom, 0xBB00, 0xFD00, 0xFD00, 0}};
    GRADIENT_RECT r = {0, 1};
    GradientFill(hdc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}
