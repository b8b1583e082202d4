// The font-fitting searches, with the text measurement passed in so the
// search runs natively in tests and against real GDI in the program.
#pragma once
#include <cstdint>
#include "qd_text.h"

// Measures ptcText in a font of height iFontHeight. Writes the line height
// and the width, returns 1, or a negative value when the font could not be
// made (nothing was measured).
typedef int32_t (*QD_MeasureText)(void* pCtx, int32_t iFontHeight, const qd_char* ptcText,
                                  int32_t* piLineH, int32_t* piWidth);

enum : int32_t {
    QD_FONTFIT_BAD_INPUT = -1,
    QD_FONTFIT_NO_FONT = -2,    // a font could not be created or measured
    QD_FONTFIT_NO_GROWTH = -3,  // line height stopped following the font height
};

// The sample text measured by the height search.
extern const qd_char* const QD_FONT_SAMPLE;

// Largest font height whose line of "Hello!" is not taller than hREC.
// Steps up from 1; returns h - 1 at the first line taller than hREC, h at an
// exact fit. The search ends when a font cannot be made, and gives up once
// h has passed 2 * hREC + 16 with the line still shorter (a measurement that
// ignores the font would otherwise never end).
int32_t font_fit_height(int32_t hREC, QD_MeasureText pfnMeasure, void* pCtx);

// Shrinks iHeight one by one until ptcText fits wREC; never below 1 once
// shrinking started (a height of 0 that fits is returned as 0).
int32_t font_fit_width(int32_t iHeight, const qd_char* ptcText, int32_t wREC,
                       QD_MeasureText pfnMeasure, void* pCtx);
