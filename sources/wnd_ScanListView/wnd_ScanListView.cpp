#include "wnd_ScanListView/wnd_ScanListView.h"

LRESULT CALLBACK WndProc_ScanListView(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}
