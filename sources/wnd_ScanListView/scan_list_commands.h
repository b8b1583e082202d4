// Commands of the List of Windows window's buttons.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

// Move: moves the windows of the ticked rows to the geometry in their
// cells. 1 (also when nothing was ticked); -1 for a missing list view or
// handle array (the caller reports it).
int32_t onButton_Move(HWND hwndThis, HWND hwndLV, WPARAM wParam, LPARAM lParam, const uint8_t* pcDynMem_WinHndls,
                      uint32_t counter_valid);
