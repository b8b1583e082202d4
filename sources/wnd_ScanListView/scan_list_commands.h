// Commands of the List of Windows window's buttons and popup menu.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

// Move: moves the windows of the ticked rows to the geometry in their
// cells. Returns 1, negative on failure (the caller reports it).
int32_t onButton_Move(HWND hwndThis, HWND hwndLV, WPARAM wParam, LPARAM lParam, uint8_t* pcDynMem_WinHndls,
                      uint32_t counter_valid);

// Create Profile: saves the ticked rows as a profile under a name asked for
// in the Name of Profile window, whose handle goes to *p_hwnd_ProfileName.
// Returns 1, negative on failure (the caller reports it).
int32_t onButton_Create_Profile(HWND hwndThis, HWND hwndLV, HWND* p_hwnd_ProfileName,
                                STR_ENUM_WNDS_DATA* pSTR_ENUM_WNDS_DATA);
