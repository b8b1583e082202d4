// Helpers shared by the Win32 and the end-to-end tests: waiting on a
// condition, files, the fixture program and windows of a class.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Handles the thread's pending messages.
void pump_pending();

// Handles messages until the condition holds or dwMs pass; whether it held.
template <typename F>
bool pump_until(F f, DWORD dwMs = 5000)
{
    const DWORD dwEnd = GetTickCount() + dwMs;
    for (;;) {
        pump_pending();
        if (f()) return true;
        if (static_cast<LONG>(GetTickCount() - dwEnd) >= 0) return false;
        Sleep(5);
    }
}

// A file beside this test program (the program under test, the fixture).
std::wstring beside_exe(const wchar_t* ptcName);
inline std::wstring fixture_exe() { return beside_exe(L"qd_fixture.exe"); }
std::wstring temp_path(const std::wstring& name);
bool write_file(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_file(const std::wstring& path);
inline std::u16string u16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// Top-level windows of a class (of one process when dwPid is not 0).
std::vector<HWND> windows_of_class(const wchar_t* ptcClass, DWORD dwPid = 0);
// Closes them and waits until they are gone.
void close_windows_of_class(const wchar_t* ptcClass);

// A program (the fixture, see tests/fixture) started with its arguments;
// null process handle when it could not start.
PROCESS_INFORMATION start_exe(const std::wstring& exe, const std::wstring& args);
PROCESS_INFORMATION start_fixture(const std::wstring& args);
// Makes the fixture's window thread sleep for dwMs (it stops answering) and
// waits until the system sees it so.
bool fixture_hang(HWND hwnd, DWORD dwMs);
// Posts the fixture's echo to its window and waits for it: true once every
// message posted to the window before has been handled (and it still exists).
bool fixture_handled_posted(HWND hwnd);
