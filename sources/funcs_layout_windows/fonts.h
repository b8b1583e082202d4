// Fonts of the program's windows: creation and fitting a caption to a box.
#pragma once
#include <windows.h>

#include <cstdint>

// A test can make every font creation fail (null: the system's again).
typedef bool (*ZT_FontFailHook)(void* pCtx);
void zt_SetFontFailHook(ZT_FontFailHook pfnHook, void* pCtx);

HFONT zt_CreateFont(int32_t iHeight, int32_t iWeight, BYTE ucItalic, BYTE ucUnderline, BYTE ucStrikeOut,
                    BYTE ucPitchAndFamily, const wchar_t* pcTypeFaceName);

// Largest font height whose line fits hREC pixels (0 or more), -1 for no
// DC or a height that is not positive, another negative value when fonts
// cannot be created or measured.
int32_t FindFontSize(HDC hdc, int32_t hREC);

// FindFontSize, then shrunk until ptc_Text fits wREC pixels.
int32_t FindFontSize_fit_H_and_W(HDC hdc, const wchar_t* ptc_Text, int32_t hREC, int32_t wREC);

// The button font of a window with buttons: fitted to 0.85 of the button's
// height and 0.8 of its width for its longest caption, weight 700.
// Returns the fitted height (negative on failure).
int32_t fit_button_font_height(HDC hdc, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH);
HFONT create_button_font(int32_t iHeight);

// The fitted height (as above) on window hwnd's own DC, or QD_FONT_NO_DC,
// QD_FONT_NO_FIT. make_fitted_button_font also creates the font; null when
// a step failed, *piFailed telling which (0 the DC, 1 the fitting, 2 the
// font) for the caller's report in its own words.
enum : int32_t { QD_FONT_NO_DC = -1, QD_FONT_NO_FIT = -2 };
int32_t fit_window_button_font(HWND hwnd, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH);
HFONT make_fitted_button_font(HWND hwnd, const wchar_t* ptcLongestCaption, int32_t iButtonW, int32_t iButtonH,
                              int32_t* piFailed);

// The background of the program's windows: a vertical gradient from
// (0x16, 0xFA, 0xFA) at the top to (0xBB, 0xFD, 0xFD) at the bottom.
void paint_gradient(HDC hdc, const RECT& rc);
