#include "font_fit.h"

const qd_char* const QD_FONT_SAMPLE = u"Hello!";

int32_t font_fit_height(int32_t hREC, QD_MeasureText pfnMeasure, void* pCtx)
{
    if (hREC <= 0 || !pfnMeasure) return QD_FONTFIT_BAD_INPUT;
    const int64_t iLimit = 2 * static_cast<int64_t>(hREC) + 16;
    for (int32_t h = 1; h <= iLimit; ++h) {
        int32_t iLineH = 0, iWidth = 0;
        if (pfnMeasure(pCtx, h, QD_FONT_SAMPLE, &iLineH, &iWidth) < 0) return QD_FONTFIT_NO_FONT;
        if (iLineH > hREC) return h - 1;
        if (iLineH == hREC) return h;
    }
    return QD_FONTFIT_NO_GROWTH;
}

int32_t font_fit_width(int32_t iHeight, const qd_char* ptcText, int32_t wREC,
                       QD_MeasureText pfnMeasure, void* pCtx)
{
    if (iHeight < 0 || !ptcText || wREC <= 0 || !pfnMeasure) return QD_FONTFIT_BAD_INPUT;
    int32_t h = iHeight;
    for (;;) {
        int32_t iLineH = 0, iWidth = 0;
        if (pfnMeasure(pCtx, h, ptcText, &iLineH, &iWidth) < 0) return QD_FONTFIT_NO_FONT;
        if (iWidth <= wREC) return h;
        --h;
        if (h <= 0) return 1;
    }
}
