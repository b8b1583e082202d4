// The List of Windows window: the scan result as a table with check boxes.
#pragma once
#include <windows.h>

LRESULT CALLBACK WndProc_ScanListView(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
