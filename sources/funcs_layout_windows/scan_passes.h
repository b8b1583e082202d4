// The two walks of a scan over the desktop's top-level windows, the rules
// that make a window eligible, and where a process's executable path comes
// from (a replaceable set of queries, so the fallback can be exercised).
#pragma once
#include <windows.h>

#include <cstdint>

#include "process_paths.h"
#include "scan_store.h"

// Counting pass: counts eligible windows and measures the longest program
// path. lParam is the store. FALSE ends EnumWindows after a report.
BOOL CALLBACK EnumWindowsProc_Calc(HWND hwnd, LPARAM lParam);

// Filling pass: writes one entry per eligible window while there is room.
BOOL CALLBACK EnumWindowsProc_Calc_02(HWND hwnd, LPARAM lParam);

// ---- process queries ---------------------------------------------------------
// Opening a window's process and reading its executable path. The system's
// queries: OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ),
// GetModuleFileNameExW with no module, and QueryFullProcessImageNameW
// (which needs no more than PROCESS_QUERY_LIMITED_INFORMATION, included in
// the rights the handle is opened with). A path query writes at most
// uiN_Chars units including the terminator and returns the units written
// without it, 0 on failure with the thread's last error set.
typedef HANDLE (*QD_OpenProcessQuery)(void* pCtx, DWORD dwProcessId);
typedef DWORD (*QD_ProcPathQuery)(void* pCtx, HANDLE hProcess, wchar_t* ptcBuf, DWORD uiN_Chars);

struct STR_ProcQueries {
    QD_OpenProcessQuery pfnOpen;
    QD_ProcPathQuery pfnModuleFileName;  // first choice
    QD_ProcPathQuery pfnImageName;       // when the first one fails
    void* pCtx;
};

// The system's queries (pCtx unused), so a replacement can delegate to them.
const STR_ProcQueries* scan_system_proc_queries();

// Replaces the queries used by the passes; null restores the system's.
void scan_set_proc_queries(const STR_ProcQueries* pSTR_Queries);

// The queries in use (the system's unless replaced).
const STR_ProcQueries* scan_proc_queries();

// Reads the executable path of an open process into a buffer of uiSize
// bytes, which is zeroed first and whose last unit stays zero. Tries the
// module file name, then the image name. Returns the path's length in
// units; 0 when neither query gave a path, with the last error of the
// module-name query restored for the caller's system-error box.
uint32_t read_process_path(HANDLE hProcess, wchar_t* ptcBuf, uint32_t uiSize);

// ---- captions ----------------------------------------------------------------
// Another program's window caption, read so that a program that does not
// answer cannot freeze the tool: WM_GETTEXT with a bounded wait that gives
// up at once on a window the system already knows is hung, else the
// caption the system keeps for the window. Writes at most uiCap units
// including the terminating zero; returns the units read.
enum : uint32_t { QD_CAPTION_WAIT_MS = 1000 };
uint32_t read_caption(HWND hwnd, wchar_t* ptcCaption, uint32_t uiCap);

// While one lives, each process is opened and asked for its path once and
// what it gave is kept by process id, and a window's owning process and
// class verdict are asked once (the Scan command holds one over its two
// walks, the program search over one attempt); with none, every window
// asks again. Scopes nest: the inner one starts empty.
class ProcPathScope {
public:
    ProcPathScope();
    ~ProcPathScope();
    ProcPathScope(const ProcPathScope&) = delete;
    ProcPathScope& operator=(const ProcPathScope&) = delete;
private:
    STR_ProcPaths m_paths;
    STR_ProcPaths* m_pOuter;
};

// ---- eligibility -------------------------------------------------------------
enum QD_WndVerdict : int32_t {
    QD_WND_SKIPPED = 0,      // fails a rule: the walk goes on
    QD_WND_ELIGIBLE = 1,
    QD_WND_PATH_FAILED = -1, // process opened, but no path could be read
};

struct STR_WndFacts {
    uint32_t uiN_Caption;  // units WM_GETTEXT copied
    uint32_t uiN_Path;     // units of the executable path in the scratch buffer
    bool b_Explorer;       // the path names explorer.exe: a folder window
};

// The executable path of the process dwPid into ptcBuf (uiSize bytes,
// zeroed first), through the queries in use and the living scope's record.
// QD_WND_ELIGIBLE with the length in *puiN_Path; QD_WND_SKIPPED when the
// process cannot be opened; QD_WND_PATH_FAILED when no path could be read,
// with the module query's error as the thread's last error.
QD_WndVerdict process_path_of(DWORD dwPid, wchar_t* ptcBuf, uint32_t uiSize, uint32_t* puiN_Path);

// Applies the rules in their order: a handle, visible, a caption (copied
// into ptcCaption of uiCaptionCap units), a class outside the excluded
// list, an openable process, a readable and non-empty executable path
// (into the store's scratch buffer). The process handle is closed once the
// path is read.
QD_WndVerdict scan_window_facts(HWND hwnd, wchar_t* ptcCaption, uint32_t uiCaptionCap, STR_ENUM_WNDS_DATA* pSTR,
                                STR_WndFacts* pFacts);
