// What the processes of the windows gave when their executable paths were
// asked for, kept by process id for the length of one command (a Scan's
// two walks, one search attempt of a Load): a process's path does not
// change while it runs, and most processes own several windows, so each
// process is opened and asked once. The Win32 side asks and feeds the
// answers in; a failure is kept with its error code, so a window met again
// gets the same verdict and the same report as the first one. Likewise a
// window's owning process and thread and whether its class is excluded never change
// while it exists, so the Scan's second walk takes them from the first.
#pragma once
#include <cstdint>
#include <vector>

#include "qd_text.h"

enum QD_ProcPathKind : uint8_t {
    QD_PROC_NOT_OPENED = 0,  // the process could not be opened: its windows are passed over
    QD_PROC_NO_PATH = 1,     // opened, but no path could be read
    QD_PROC_PATH = 2,        // the path is kept
};

struct STR_ProcPath {
    uint32_t ui_Pid;
    uint8_t uc_Kind;     // QD_ProcPathKind
    uint32_t ui_Error;   // the system's error code of a failure
    uint32_t ui_First;   // first unit of the path in the record's text
    uint32_t uiN_Path;   // its length in units
};

struct STR_WndOwner {
    uint32_t ui_hwnd;     // the window handle's 32 significant bits
    uint32_t ui_Pid;      // its owning process
    uint32_t ui_Tid;      // and the thread that created it
    bool b_Excluded;      // its class is one the scan leaves out
};

// Entries sorted by process id; the paths one after another, each followed
// by a zero unit; the windows met, sorted by handle; the threads that did
// not answer (a program that hangs costs one bounded wait per command, not
// one per window).
struct STR_ProcPaths {
    std::vector<STR_ProcPath> entries;
    std::vector<qd_char> units;
    std::vector<STR_WndOwner> windows;
    std::vector<uint32_t> hung_threads;
};

// Whether the thread was kept as not answering; keeping one that is kept
// already changes nothing. Both accept a null record.
bool proc_paths_thread_hung(const STR_ProcPaths* pSTR, uint32_t uiTid);
void proc_paths_keep_hung_thread(STR_ProcPaths* pSTR, uint32_t uiTid);

// The process's entry, null when it was not asked yet.
const STR_ProcPath* proc_paths_find(const STR_ProcPaths* pSTR, uint32_t uiPid);

// Keeps what the process gave (the path only for QD_PROC_PATH). An entry
// already kept for the process stays as it is. False when nothing could be
// kept (no record, or no memory): the caller then simply asks again next
// time.
bool proc_paths_keep(STR_ProcPaths* pSTR, uint32_t uiPid, QD_ProcPathKind kind, uint32_t uiError,
                     const qd_char* ptcPath, uint32_t uiN_Path);

// The kept path of an entry of kind QD_PROC_PATH, zero-terminated.
const qd_char* proc_paths_text(const STR_ProcPaths* pSTR, const STR_ProcPath* pEntry);

// The window's entry, null when it was not met yet.
const STR_WndOwner* proc_paths_find_window(const STR_ProcPaths* pSTR, uint32_t ui_hwnd);

// Keeps what a window gave; an entry already kept stays. False when
// nothing could be kept (no record, or no memory).
bool proc_paths_keep_window(STR_ProcPaths* pSTR, const STR_WndOwner& owner);
