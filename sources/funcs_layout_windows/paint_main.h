// Painting of the main window's picture and labels.
#pragma once
#include <windows.h>

#include <cstdint>

#include "layout_main.h"
#include "loaded_profiles.h"

int32_t draw_MainWindow(HWND hwnd_MW, HDC hdc_MW, STR_GeomLt* pSTR_GeomLt, HFONT hFont_buttons,
                        const LoadedProfiles_STR* pLoadedProfiles_STR);
int32_t DrawWindow(HWND hwnd_MW, HDC hdc_MW, int32_t iLeft, int32_t iTop, int32_t iHeight, int32_t iWidth);
int32_t zt_DrawLine(HDC hdc, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
