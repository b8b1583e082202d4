// Helpers of the scan tests: top-level windows of chosen kinds in this
// process, process queries limited to chosen processes, folder windows of
// the stand-in shell, and a store with buffers of a chosen size.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "funcs_layout_windows/scan_passes.h"
#include "scan_store.h"

enum class WndState { Normal, Min, Hidden };

// A top-level window, destroyed with the object. Its class (registered on
// first use, default window procedure) may be any name, including a
// system class such as "Button".
class TestWindow {
public:
    TestWindow(const wchar_t* ptcClass, const wchar_t* ptcCaption, RECT rc, WndState state = WndState::Normal);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd = nullptr;
};

std::wstring this_exe_path();

// Process queries for the test: only this process can be opened (so the
// results do not depend on other programs), and the path queries can be
// made to fail or to answer with another path.
class ProcQueries {
public:
    ProcQueries();
    ~ProcQueries();  // the system's queries again
    bool bOnlyThisProcess = true;
    std::vector<DWORD> otherPids;  // opened all the same
    bool bOpenFails = false;
    bool bModuleFails = false;
    bool bImageFails = false;
    std::wstring pathOverride;  // answered instead of the real path when set
    int iModuleCalls = 0, iImageCalls = 0;
    std::multiset<DWORD> opened;  // every process id asked to open
private:
    STR_ProcQueries m_q;
};

// A folder window of the stand-in shell (tests/fixture/shell_standin.h),
// its own process started on the folder; closed with the object.
struct FolderWindow {
    explicit FolderWindow(const std::wstring& folder);
    ~FolderWindow();
    HWND hwnd = nullptr;
    DWORD dwPid = 0;
};

// Closes the stand-in's folder windows of a process (0: all, as those a
// Load opened).
void close_folder_windows(DWORD dwPid = 0);

// The stand-in's collection in this process: the references it handed out
// and a fault it injects (both ended with the object).
class StandInShell {
public:
    explicit StandInShell(const wchar_t* ptcFault = nullptr);
    ~StandInShell();
    std::string refs() const;  // "0" once everything handed out was released
private:
    std::wstring m_file;
};

// A store whose entry buffers are allocated for N entries and longest path
// L, as the Scan command does; released with the object.
struct TestStore {
    STR_ENUM_WNDS_DATA s = {};
    TestStore();
    ~TestStore();
    void allocate_entries(uint32_t uiN, uint32_t uiL);
    // Both passes over the desktop, as the Scan command runs them (each
    // process asked once).
    void scan_desktop();
};

// Index of the entry holding a window, -1 when none does.
int entry_of(const STR_ENUM_WNDS_DATA* pSTR, HWND hwnd);
std::wstring entry_path(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);
std::wstring entry_caption(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i);

// True when the address is no longer part of any allocation.
bool is_released(const void* pAddr);
