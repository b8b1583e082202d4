// The shell's functions the program uses after start. Their library (and
// what it pulls in) is loaded by the first of them, not at start: the main
// window does not need it. Without the library each fails as the call
// itself fails (0 or FALSE, the last error ERROR_MOD_NOT_FOUND or
// ERROR_PROC_NOT_FOUND), so the callers report it as they report that.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

// Accepting dropped files is the window's WS_EX_ACCEPTFILES style, all that
// DragAcceptFiles sets; set here, it needs no library.
void zt_DragAcceptFiles(HWND hwnd, BOOL bAccept);

UINT zt_DragQueryFile(HDROP hDrop, UINT uiFile, wchar_t* ptcFile, UINT uiCap);
void zt_DragFinish(HDROP hDrop);
BOOL zt_ShellExecuteEx(SHELLEXECUTEINFOW* pSei);
BOOL zt_SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, wchar_t* ptcPath);
