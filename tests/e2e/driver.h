// The end-to-end driver: starts the real program and works it from another
// process with plain Win32 calls, the way a user's clicks arrive.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace drv {

// Full path of a file beside the driver (the program is built there).
std::wstring beside_driver(const wchar_t* ptcName);

struct Process {
    HANDLE hProcess = nullptr;
    DWORD dwPid = 0;
};

Process start(const std::wstring& exe, const std::wstring& args = L"");
// Waits for the process to end; returns its exit code, or STILL_ACTIVE on timeout.
DWORD wait_exit(Process& p, DWORD dwMs);
void close_handles(Process& p);

// Polls until a top-level window of the class (and process, when dwPid) exists.
HWND wait_window(const wchar_t* ptcClass, DWORD dwPid, DWORD dwMs);
// Polls until a condition holds; returns whether it did.
template <typename F>
bool wait_until(F f, DWORD dwMs)
{
    DWORD dwEnd = GetTickCount() + dwMs;
    for (;;) {
        if (f()) return true;
        if (static_cast<LONG>(GetTickCount() - dwEnd) >= 0) return false;
        Sleep(10);
    }
}

// Another process's window text (WM_GETTEXT is marshalled across processes).
std::wstring text(HWND hwnd);
std::wstring class_name(HWND hwnd);

// A message box (#32770) owned by or belonging to the process, and its text.
HWND wait_dialog(DWORD dwPid, DWORD dwMs);
std::wstring dialog_text(HWND hwndDlg);
// Presses a dialog button by its identifier (IDOK, IDYES, ...).
void press(HWND hwndDlg, int id);

// Client rectangle of a child, relative to its parent's client area.
RECT child_rect(HWND hwndParent, HWND hwndChild);

// Saves the screen area of a window as a PNG file in the artefact folder.
// Returns the file's path (empty on failure).
std::wstring screenshot(HWND hwnd, const wchar_t* ptcName);

}  // namespace drv
