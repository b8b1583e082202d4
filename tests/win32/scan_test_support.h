// Helpers of the scan tests: top-level windows of chosen kinds in this
// process, process queries limited to this process, a folder source of
// chosen pairs, and a store with buffers of a chosen size.
#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "funcs_layout_windows/explorer_folders.h"
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
    bool bOpenFails = false;
    bool bModuleFails = false;
    bool bImageFails = false;
    std::wstring pathOverride;  // answered instead of the real path when set
    int iModuleCalls = 0, iImageCalls = 0;
    std::multiset<DWORD> opened;  // every process id asked to open
private:
    STR_ProcQueries m_q;
};

// A folder source answering with chosen (window, path) pairs.
class FolderSource {
public:
    FolderSource();
    ~FolderSource();  // the shell's source again
    struct Pair {
        HWND hwnd;
        std::wstring path;
    };
    std::vector<Pair> pairs;
    bool bCreated = true;
    HRESULT hr = S_OK;
    int iVisited = 0;
    void (*pfnDuringWalk)(void* pCtx) = nullptr;  // runs at the start of each walk
    void* pWalkCtx = nullptr;
private:
    STR_ShellFolderSource m_src;
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
