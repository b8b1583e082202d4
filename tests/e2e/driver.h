// The end-to-end driver: starts the real program and works it from another
// process with plain Win32 calls, the way a user's clicks arrive.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "win_support.h"

namespace drv {

using Geom = std::array<int, 4>;  // left, top, width, height
Geom geom(HWND hwnd);
// Another process's window text (WM_GETTEXT is marshalled across processes).
std::wstring text(HWND hwnd);
std::wstring box_text(HWND hwndBox);
// A posted button click: a click that opens a modal window must not block the driver.
void click(HWND hwndParent, int id);
// Returns once the window's thread has handled everything sent to it before.
void sync(HWND hwnd);
// Types an absolute path into an Open or Save dialog and presses OK.
void file_dialog_accept(HWND hwndDlg, const std::wstring& path);

// The List of Windows table: the row whose Window name is this text (-1
// when none), a tick as a click on the check box gives, the screen point in
// the middle of a cell.
int lv_row(HWND hwndLV, const std::wstring& name);
bool lv_tick(HWND hwndLV, int iRow);
POINT lv_cell_center(HWND hwndLV, int iRow, int iCol);

// Real mouse input through the system's input queue.
void mouse_click(POINT pt, bool bRight);
// Saves the window's area of the screen as artifacts/<name> (QD_ARTIFACTS):
// a picture for people, not a check.
void screenshot(HWND hwnd, const wchar_t* ptcName);

}  // namespace drv

// One run of the real program per test, with the helper programs and files
// it got; everything is closed and removed afterwards. Programs a load
// starts open "Loaded fixture" windows of class QdLoaded.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible top-level window of this class, of the program or of the
    // process dwPid; a box or dialog of the program.
    HWND wait_window(const wchar_t* ptcClass, DWORD dwPid = 0, DWORD dwMs = 10000);
    HWND wait_box() { return wait_window(L"#32770"); }
    // Waits for a condition; a box of the program that shows meanwhile
    // fails the test with its text.
    bool until(const std::function<bool()>& f, DWORD dwMs = 5000);
    // A path in the temporary folder (or a full path), free or a new empty
    // folder, removed afterwards.
    std::wstring temp(const wchar_t* ptcName, bool bFolder = false);

    DWORD pid = 0;  // the program's
    HWND hwndMain = nullptr;
    std::wstring refs;  // the stand-in shell's count of references held
    std::vector<PROCESS_INFORMATION> helpers;  // the program first, ended afterwards
    std::vector<std::wstring> files;  // and folders
};
