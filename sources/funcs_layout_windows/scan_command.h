// The Scan command and the release of the scan result store.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

int32_t onButton_Scan_Clicked(HWND hwndThis, HWND* p_hwnd_ScanListView, WPARAM wParam, LPARAM lParam,
                              STR_ENUM_WNDS_DATA* pSTR);

// Before each scan: counters cleared, scratch size 32768 bytes.
void scan_store_prepare(STR_ENUM_WNDS_DATA* pSTR);

// Releases each buffer that is still allocated (VirtualFree) once.
void scan_store_release_win(STR_ENUM_WNDS_DATA* pSTR);
