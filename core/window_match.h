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

// A started program: which entry, and the ids its start returned (all 0
// when the start failed).
struct STR_LaunchIds {
    uint32_t ui_index;
    uint32_t ui_pid;
    uint32_t ui_tid;
};

// A folder window showing ptcPath: every entry of a kind other than 1 with
// that path gets ui_hwnd (replacing what was there). Returns how many.
uint32_t match_folder_window(const STR_EntryPaths* pPaths, const qd_char* ptcPath, size_t uiN_Path, uint32_t ui_hwnd,
                             uint32_t* arr1D_hwnd, QD_PathEq pfnEq);

// A program window whose process runs ptcModule: every entry of a kind
// other than 0 with that path takes the window when its slot is empty, and
// always when the window was created by the primary thread of a process
// this load started. Returns how many slots the window matched.
uint32_t match_program_window(const STR_EntryPaths* pPaths, const qd_char* ptcModule, size_t uiN_Module,
                              uint32_t ui_hwnd, uint32_t ui_pid, uint32_t ui_tid, const STR_LaunchIds* arr_Launch,
                              uint32_t uiN_Launch, uint32_t* arr1D_hwnd, QD_PathEq pfnEq);

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
