// Matching the windows found after a load to the entries of the profile:
// folder windows by the folder they show, program windows by the
// executable of their process, both compared without regard to case.
// Fed plain values (paths, handles, process and thread ids).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "profile_format.h"
#include "qd_text.h"

// Equality of two paths without regard to case. The program passes the
// system's ordinal case-insensitive comparison; the default folds A-Z.
typedef bool (*QD_PathEq)(const qd_char* a, size_t uiN_a, const qd_char* b, size_t uiN_b);
bool path_eq_ascii_nocase(const qd_char* a, size_t uiN_a, const qd_char* b, size_t uiN_b);

// Aligned copies of every entry's path, made once per load: the file's
// paths may start at odd offsets.
struct STR_EntryPaths {
    std::vector<qd_char> units;   // all paths, each followed by a zero unit
    std::vector<uint32_t> off;    // per entry: first unit in units
    std::vector<uint32_t> len;    // per entry: length in units
    std::vector<uint8_t> kind;    // per entry: 0 folder, 1 program, others
};
void entry_paths_build(const STR_ProfileView* pView, STR_EntryPaths* pPaths);

// A started program: which entry, the process its start returned (0 when
// the start failed), whether that process was still running when the
// search began, and whether it had ended (or never started) at least one
// pause before: only then may the user's own window stand in for it.
struct STR_LaunchIds {
    uint32_t ui_index;
    uint32_t ui_pid;
    bool b_Running;
    bool b_EndedAPauseAgo;
};

// A folder window showing ptcPath: every entry of a kind other than 1 with
// that path gets ui_hwnd (replacing what was there). Returns how many.
uint32_t match_folder_window(const STR_EntryPaths* pPaths, const qd_char* ptcPath, size_t uiN_Path, uint32_t ui_hwnd,
                             uint32_t* arr1D_hwnd, QD_PathEq pfnEq);

// An eligible top-level window the program search met: its handle, the
// process that owns it, and that process's executable path.
struct STR_WndSeen {
    uint32_t ui_hwnd;
    uint32_t ui_pid;
    const qd_char* ptcModule;
    size_t uiN_Module;
};

// The program search's result so far, one slot per entry: the window found
// and the process that owns it (0 = none yet). arr1D_open (optional) names
// the entries that may take a window; without it every program entry may.
struct STR_ProgramSlots {
    uint32_t* arr1D_hwnd;
    uint32_t* arr1D_pid;
    const uint8_t* arr1D_open;
};

// One search attempt: the windows met, in enumeration order, given to the
// program entries (kind 1) by their executable path. A window takes at most
// one slot, and the windows that existed before the load
// (arr1D_preexisting, sorted) are the user's:
// - a new window of a process this load started goes to that start's entry
//   when it has none or holds another process's window;
// - otherwise a new window fills the first empty entry of its path whose
//   own start has nothing running (it handed over to a running copy, or
//   failed); a window of a process the load did not start may also fill an
//   entry whose start still runs (a launcher that leaves the window to
//   another process of the same program);
// - only then, a window that existed before fills an empty entry whose
//   start ended at least one pause ago without a window of its own.
// Returns how many slots changed.
uint32_t match_program_windows(const STR_EntryPaths* pPaths, const STR_WndSeen* arr_Seen, uint32_t uiN_Seen,
                               const uint32_t* arr1D_preexisting, size_t uiN_preexisting,
                               const STR_LaunchIds* arr_Launch, uint32_t uiN_Launch, STR_ProgramSlots* pSlots,
                               QD_PathEq pfnEq);

// A 32-bit program on 64-bit Windows (WOW64) is given the 32-bit copies
// of the system folder's programs: a start of a program under the system
// folder turns file-system redirection off, so that the program the
// profile names starts and its windows carry that path.
bool start_without_redirection(bool bWow64, const qd_char* ptcPath, size_t uiN_Path, const qd_char* ptcSystemDir,
                               size_t uiN_SystemDir, QD_PathEq pfnEq);

// The entries whose folder or program failed to open, in entry order.
struct STR_LoadFailures {
    std::vector<uint32_t> indices;
    uint32_t uiN_Folders = 0;
    uint32_t uiN_Programs = 0;
    bool contains(uint32_t ui) const;
};

// 1 when every folder entry has a window or failed to open, 2 when one is
// still missing.
int32_t folders_all_found(const STR_EntryPaths* pPaths, const uint32_t* arr1D_hwnd, const STR_LoadFailures* pFail);

// true when every program entry has a window or failed to start.
bool programs_all_found(const STR_EntryPaths* pPaths, const uint32_t* arr1D_hwnd, const STR_LoadFailures* pFail);
