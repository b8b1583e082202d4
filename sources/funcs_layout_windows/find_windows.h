// Finding the windows of the folders and programs a load opened: the
// folder search over the shell's Explorer windows, the folder check, and
// the program search over the top-level windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "process_paths.h"
#include "window_match.h"

// One started program: entry index, the process and primary thread as the
// start returned them (all zero when the start failed).
struct STR_InfoLoadedPrg {
    uint32_t ui_index;
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

// A module path of any length the system can give.
enum : uint32_t { QD_MODULE_PATH_UNITS = 32768 };

struct STR_SeenWindows;  // what one enumeration met (find_windows.cpp)

// The program search's parameters.
struct HWNDs_loadedPrgsProfile_STR {
    uint32_t* p_hwnd_arr;           // result per entry, 0 = none yet; kept across attempts
    wchar_t* ptcBuf;                // scratch for one module path
    uint32_t uiSize_chars;          // its capacity in units
    uint32_t uiSize_bytes;          // and in bytes
    const uint8_t* pcFileData;      // the loaded profile file
    STR_InfoLoadedPrg* pc_arr_STRs_InfoLoadedPrg;
    uint32_t N_prgs;
    const STR_EntryPaths* pPaths;   // aligned copies of the entries' paths
    uint32_t* p_pid_arr;            // per entry: the process owning p_hwnd_arr's window
    const STR_LaunchIds* pLaunchIds;           // N_prgs: the starts as this attempt found them
    const std::vector<uint32_t>* pPreexisting; // the top-level windows before the load, sorted
    const uint8_t* arr1D_open;      // optional: the entries that may take a window
    std::vector<uint32_t>* pHungThreads;  // threads that did not answer, kept for the whole command
    bool b_Quiet;                   // a path that cannot be read passes the window over, without a report
    STR_ProcPaths* pProcPaths;      // what this attempt learned of processes (set by the search)
    STR_SeenWindows* pSeen;         // the windows it met (set by the search)
};

// Every top-level window there is now, sorted: taken before a load starts
// anything, so that what the user had open stays the user's.
std::vector<uint32_t> top_level_windows();

// The ids of every start, as one attempt finds them: whether each process
// still runs and whether it ended at least one pause ago. arr_iEndedAt
// (one per start, -1 at first) keeps the attempt that first found it ended;
// without it no start counts as ended a pause ago.
void launch_ids_refresh(const STR_InfoLoadedPrg* arr_Launch, uint32_t uiN_Launch, int32_t* arr_iEndedAt,
                        int32_t iAttempt, STR_LaunchIds* arr_Ids);

// Empties the program slots whose window no longer exists (a splash screen
// that made way for the main window), marking them in arr1D_lost when
// given. Returns how many.
uint32_t release_closed_windows(const STR_EntryPaths* pPaths, uint32_t* arr1D_hwnd, uint32_t* arr1D_pid,
                                uint8_t* arr1D_lost);

// Matches every Explorer window's folder against the folder entries.
// 1 after a walk; -1 missing argument; -3 no Explorer window is open;
// -4 the shell's collection cannot be created (reported).
int32_t GetHWNDS_of_LoadedFolders(const uint8_t* pcFileData, const STR_EntryPaths* pPaths, uint32_t* p_arr1D_hwnd);

// 1 when every folder entry has a window or failed to open; 2 when one is
// missing; -1 missing argument (reported).
int32_t check_folders_loaded(const uint8_t* pcFileData, const STR_EntryPaths* pPaths, const uint32_t* pc_arr1D_hwnd,
                             uint32_t uiN_wnds, const STR_LoadFailures* pFailures);

// One enumeration of the top-level windows, the windows it met matched to
// the program entries, then the program entries' slots copied to
// pc_arr1D_hwnd_Programs_only. 1; -1 / -2 missing arguments or fields
// (reported).
int32_t find_hwnds_Programs_fill_array(HWNDs_loadedPrgsProfile_STR* p_HWNDs_loadedPrgsProfile_STR, uint32_t uiN_wnds,
                                       uint32_t* pc_arr1D_hwnd_Programs_only);
BOOL CALLBACK GetHWNDS_of_LoadedPrograms(HWND hwnd, LPARAM lParam);
