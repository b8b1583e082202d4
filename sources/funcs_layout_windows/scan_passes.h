// The two walks of a scan over the desktop's top-level windows, the rules
// that make a window eligible, and where a process's executable path comes
// from (a replaceable set of queries, so the fallback can be exercised).
#pragma once
#include <windows.h>

#include <cstdint>

#include "process_paths.h"
#include "report/report.h"
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


// Reads the executable path of an open process into a buffer of uiSize
// bytes, which is zeroed first and whose last unit stays zero. Tries the
// module file name, then the image name. Returns the path's length in
// units (0 for an empty one); -1 when neither query gave a path, with the
// last error of the module-name query restored for the caller's
// system-error box.
int32_t read_process_path(HANDLE hProcess, wchar_t* ptcBuf, uint32_t uiSize);

// ---- captions ----------------------------------------------------------------
// Another program's window caption, read so that a program that does not
// answer cannot freeze the tool: WM_GETTEXT with a bounded wait that gives
// up at once on a window the system already knows is hung, else the
// caption the system keeps for the window, read without sending anything.
// The window's thread, dwTid, when it did not answer is kept in pMemo
// (optional) and not waited for again. Writes at most uiCap units
// including the terminating zero; returns the units read.
enum : uint32_t { QD_CAPTION_WAIT_MS = 1000 };
uint32_t read_caption(HWND hwnd, DWORD dwTid, wchar_t* ptcCaption, uint32_t uiCap, STR_ProcPaths* pMemo);

// ---- eligibility -------------------------------------------------------------
enum QD_WndVerdict : int32_t {
    QD_WND_SKIPPED = 0,      // fails a rule: the walk goes on
    QD_WND_ELIGIBLE = 1,
    QD_WND_PATH_FAILED = -1, // process opened, but no path could be read
};

// What a walk asks of a window: where its caption and its process's path
// go, whether the program search's zero-size rule applies, and the
// command's record of what processes and windows gave (optional: without
// it every window asks again).
struct STR_WndAsk {
    wchar_t* ptcCaption;
    uint32_t uiCaptionCap;  // units
    wchar_t* ptcPath;
    uint32_t uiPathBytes;
    bool b_ZeroSizeRule;
    STR_ProcPaths* pMemo;
};

struct STR_WndFacts {
    uint32_t uiN_Caption;  // units of the caption
    uint32_t uiN_Path;     // units of the executable path
    bool b_Explorer;       // the path names explorer.exe: a folder window
    DWORD dwPid, dwTid;    // the owning process and the thread that created the window
};

// The rules that make a window eligible, in their order, shared by the
// Scan's walks and the program search: visible; a caption; for the search,
// not a zero-sized rectangle away from the origin; a class outside the
// excluded list; an openable process; a readable, non-empty executable
// path. QD_WND_PATH_FAILED leaves the module query's error as the thread's
// last error for the caller's report.
QD_WndVerdict window_eligibility(HWND hwnd, const STR_WndAsk* pAsk, STR_WndFacts* pFacts);

// The system-error box and the walk's report of a path that could not be
// read; FALSE, which ends the walk.
BOOL report_path_failure(STR_ReportUnit* pUnit, const char* pcFunc);
