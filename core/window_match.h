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

// A started program: which entry, the ids its start returned (all 0 when
// the start failed), and whether the process was still running when the
// search last looked.
struct STR_LaunchIds {
    uint32_t ui_index;
    uint32_t ui_pid;
    uint32_t ui_tid;
    bool b_Running;
};

// A folder window showing ptcPath: every entry of a kind other than 1 with
// that path gets ui_hwnd (replacing what was there). Returns how many.
uint32_t match_folder_window(const STR_EntryPaths* pPaths, const qd_char* ptcPath, size_t uiN_Path, uint32_t ui_hwnd,
                             uint32_t* arr1D_hwnd, QD_PathEq pfnEq);

// A top-level window the program search met: its handle, the process and
// thread that created it, and that process's executable path.
struct STR_WndSeen {
    uint32_t ui_hwnd;
    uint32_t ui_pid;
    uint32_t ui_tid;
    const qd_char* ptcModule;
    size_t uiN_Module;
};

// The program search's result so far, one slot per entry: the window found
// and the process that owns it (0 = none yet).
struct STR_ProgramSlots {
    uint32_t* arr1D_hwnd;
    uint32_t* arr1D_pid;
};

// Gives a window at most one slot, and never a window that is not the
// user's intent:
// - a window of a process this load started belongs to that start's entry
//   alone (when the paths agree): created by the primary thread it takes
//   the slot whatever it holds, otherwise only a slot that is empty or
//   holds another process's window;
// - any other window fills the first empty slot of an entry (kind other
//   than 0) with its path, unless it already sits in a slot.
// Returns the entry the window went to, -1 when it went nowhere.
int32_t match_program_window(const STR_EntryPaths* pPaths, const STR_WndSeen* pSeen, const STR_LaunchIds* arr_Launch,
                             uint32_t uiN_Launch, STR_ProgramSlots* pSlots, QD_PathEq pfnEq);

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

// true when every program entry has a window or failed to start. A window
// of another process than the one the entry started counts only once that
// process has ended (a program that hands over to its running instance)
// or never started: while it runs, its own window may still come.
bool programs_all_found(const STR_EntryPaths* pPaths, const STR_ProgramSlots* pSlots, const STR_LaunchIds* arr_Launch,
                        uint32_t uiN_Launch, const STR_LoadFailures* pFail);
