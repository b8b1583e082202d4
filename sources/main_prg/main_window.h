// The entry point's steps and the main window `prg_wnds_layout`.
#pragma once
#include <windows.h>

extern const wchar_t* const QD_MAIN_CLASS;      // "prg_wnds_layout"
extern const wchar_t* const QD_SCANLIST_CLASS;  // "List of Windows"

enum : int {
    IDC_BTN_SCAN = 1,
    IDC_BTN_LOADPROFILE = 2,
    IDC_CB_PROFILE = 4,
    IDC_CB_ACTION = 5,
    IDC_BTN_APPLY = 6,
};

// A running instance's main window is restored (when minimised) and raised.
// Returns true when one was found.
bool raise_running_instance();

// Common controls, then both window classes (their results are not needed).
void init_common_controls();
void register_window_classes(HINSTANCE hInstance);

// The main window at 0.4 x 0.45 of the screen; null after the system-error
// box when it cannot be created.
HWND create_main_window(HINSTANCE hInstance);

// Runs until WM_QUIT and returns its exit code.
int run_message_loop();

// The program: all entry-point steps in order.
int run_program(HINSTANCE hInstance, int nCmdShow);

LRESULT CALLBACK WndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
