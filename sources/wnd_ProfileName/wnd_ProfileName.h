// The Name of Profile window: asks for the name of the profile being
// created and hands it back to its owner, the List of Windows window, in a
// WM_COPYDATA message (dwData 0, the name's units without terminator, at
// most QD_PRF_NAME_MAX_UNITS of them).
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

enum : int {
    IDC_PN_BTN_OK = 1,
    IDC_PN_BTN_CANCEL = 2,
    IDC_PN_EDIT_NAME = 3,
};

extern const wchar_t* const QD_PROFILENAME_CLASS;  // "Name of Profile Window"

// Opens the window owned by hwnd_ListOfWnds, 70 pixels right of and below
// its corner, and returns it. A Name of Profile window still open is
// closed first: the window's state exists once. Returns null after a
// report for a missing owner, or after a box owned by the list window and
// the system's text for the error when the window cannot be created.
HWND open_NameOfProfile_window(HWND hwnd_ListOfWnds);

// Ok: an empty name gets a warning and the window stays; otherwise the name
// (cut to QD_PRF_NAME_MAX_UNITS units) is sent to hwnd_parent_wnd, and the
// send returns once the receiver has finished with it. Returns 1, or -1
// for a missing handle (reported). wParam and lParam are not used.
int32_t on_Button_OK(HWND hwnd_this_wnd, HWND hwnd_parent_wnd, HWND hEdit, WPARAM wParam, LPARAM lParam);

// Cancel: destroys the window. Returns 1, or -1 for a missing handle (reported).
int32_t on_Button_CANCEL(HWND hwndThis, WPARAM wParam, LPARAM lParam);


LRESULT CALLBACK WndProc_wnd_ProfileName(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
