// Folder paths of open Explorer windows: measured before the store's
// buffers are allocated, written into the Explorer entries afterwards.
// The pairs (shell window, folder path) come from a source: the shell's
// ShellWindows collection, or a replacement.
#pragma once
#include <windows.h>

#include <cstdint>

#include "scan_store.h"

// Called for each shell window whose folder has a file-system path, with
// the shell window's top-level handle (null when the shell gives none),
// the path and its length in units. Returning false ends the walk.
typedef bool (*QD_ShellFolderFound)(void* pCtx, HWND hwndFolder, const wchar_t* ptcPath, uint32_t uiN_Path);

// What became of the collection of shell windows: b_Created is false when
// no collection object came back; hr is the creating call's result (a
// failed hr with an object means there is nothing to walk).
struct STR_ShellWalk {
    bool b_Created;
    HRESULT hr;
};

// A source of (shell window, folder path) pairs.
typedef STR_ShellWalk (*QD_ShellFolderWalk)(void* pCtx, QD_ShellFolderFound pfnFound, void* pFoundCtx);
struct STR_ShellFolderSource {
    QD_ShellFolderWalk pfnWalk;
    void* pCtx;
};

// The shell's ShellWindows collection, each window's folder reached through
// its browser, active view and folder (shell_windows_source.cpp).
const STR_ShellFolderSource* shell_windows_source();

// Replaces the source of both passes; null restores the shell's.
void explorer_set_folder_source(const STR_ShellFolderSource* pSource);

// The source in use (the shell's unless replaced).
const STR_ShellFolderSource* explorer_folder_source();

// Longest folder path into uiMaxLen_inBytes_FolderPath (0 when there is
// none). Returns 1, -1 for no store or when the collection cannot be made.
int32_t GetCurrentExplorerFolders_01(STR_ENUM_WNDS_DATA* pSTR_params);

// Each folder path into every entry holding that shell window's handle.
// Returns 1, -1 for no store or buffer, -4 when the collection cannot be
// made, -5 when a shell window with a path has no handle (walk ended).
int32_t GetCurrentExplorerFolders_02(STR_ENUM_WNDS_DATA* pSTR_params);
