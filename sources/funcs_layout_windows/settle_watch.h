// The few seconds after a load has placed its programs' windows. A program
// may still swap the window it showed first (a splash screen) for its main
// window; while a loaded profile settles, a placed program window that
// closes hands its slot in the store to the next window of that program,
// which is placed in its turn. A timer on the main window drives it, so
// the tool answers the user meanwhile.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "funcs_layout_windows/find_windows.h"
#include "loaded_profiles.h"
#include "profile_lists.h"

enum : DWORD {
    QD_SETTLE_MS = 10000,     // a splash screen lasts a few seconds
    QD_SETTLE_TICK_MS = 250,
};

// One loaded profile still settling.
struct STR_SettleLoad {
    uint32_t k = 0;                      // its store index
    DWORD dwEnd = 0;                     // GetTickCount() when the watch of it ends
    std::vector<uint8_t> file;           // its file, for the search's entry paths
    STR_EntryPaths paths;
    std::vector<uint32_t> preexisting;   // the windows before its load, sorted
    std::vector<uint32_t> hwnd, pid;     // per entry: the window placed and its process
    std::vector<uint8_t> watched;        // per entry: a program window was placed
    std::vector<STR_InfoLoadedPrg> launches;  // its starts; the watch closes their handles
};

// Every profile still settling; held by the main window, which ends it
// when it is destroyed.
struct STR_SettleWatch {
    HWND hwnd_owner = nullptr;  // the timer's window
    LoadedProfiles_STR* pStore = nullptr;
    const CB_Profile_manage_STR* pList = nullptr;  // a profile no longer listed stops settling
    std::vector<STR_SettleLoad> loads;
};

// Starts watching a profile that was just stored and placed (nothing is
// watched when no program window was placed).
void settle_watch_add(STR_SettleWatch* pWatch, HWND hwnd_MW, LoadedProfiles_STR* pStore,
                      const CB_Profile_manage_STR* pList, STR_SettleLoad&& load);

// One look at every settling profile; the timer calls it. It shows no box
// (a window whose path cannot be read is passed over), so no other message
// is handled while it runs.
void settle_watch_tick(STR_SettleWatch* pWatch);

// Ends every watch: the timer stops and the starts' handles are closed.
void settle_watch_end(STR_SettleWatch* pWatch);
