// Helpers of the scan and load tests: top-level windows of chosen kinds in
// this process, process queries limited to chosen processes, folder
// windows of the stand-in shell, and reading the scan result store.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "funcs_layout_windows/scan_passes.h"

enum class WndState { Normal, Min, Hidden };

// A top-level window of this process, destroyed with the object. Its class
// (registered on first use) may be any name, a system class included.
struct TestWindow {
    TestWindow(const wchar_t* ptcClass, const wchar_t* ptcCaption, RECT rc, WndState state = WndState::Normal);
    ~TestWindow() { DestroyWindow(hwnd); }
    TestWindow(const TestWindow&) = delete;
    HWND hwnd = nullptr;
};

// Process queries for the test: only this process and otherPids can be
// opened (so results do not depend on other programs), and the path
// queries can fail or answer another path. Counts what was asked.
struct ProcQueries {
    ProcQueries();
    ~ProcQueries();  // the system's queries again
    ProcQueries(const ProcQueries&) = delete;
    std::vector<DWORD> otherPids;
    bool bOpenFails = false, bModuleFails = false, bImageFails = false, bOverride = false;
    std::wstring pathOverride;  // answered instead of the real path when bOverride
    int iModuleCalls = 0, iImageCalls = 0;
    std::multiset<DWORD> opened;
    STR_ProcQueries q;
};

// A folder window of the stand-in shell (tests/fixture/shell_standin.h),
// its own process started on the folder; closed with the object.
struct FolderWindow {
    explicit FolderWindow(const std::wstring& folder);
    ~FolderWindow();
    HWND hwnd = nullptr;
    DWORD dwPid = 0;
};
// Closes the stand-in's folder windows of a process (0: all).
void close_folder_windows(DWORD dwPid = 0);

// The stand-in's collection in this process: the references it handed out
// and a fault it injects (both ended with the object).
struct StandInShell {
    explicit StandInShell(const wchar_t* ptcFault = nullptr);
    ~StandInShell();
    std::string refs() const;  // "0" once everything handed out was released
    std::wstring file;
};

// Index of the entry holding a window, -1 when none does; an entry's path
// and caption.
int entry_of(const STR_ENUM_WNDS_DATA* pSTR, HWND hwnd);
std::wstring entry_path(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
std::wstring entry_caption(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
// True when the address is no longer part of any allocation.
bool is_released(const void* pAddr);
