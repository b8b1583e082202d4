// The system's Open and Save dialogs, whose library is loaded by the first
// dialog (a dialog whose library cannot be loaded fails like any failed
// dialog). A test replaces them with a hook that answers as the user
// would, so commands run unattended.
#pragma once
#include <windows.h>
#include <commdlg.h>

// The hook returns 1 with a path written to pOfn->lpstrFile, 0 for a
// cancelled dialog, or a negative value for a dialog that failed.
typedef int (*ZT_FileDialogHook)(void* pCtx, bool bSave, OPENFILENAMEW* pOfn);
void zt_SetFileDialogHook(ZT_FileDialogHook pfnHook, void* pCtx);

BOOL zt_GetSaveFileName(OPENFILENAMEW* pOfn);
BOOL zt_GetOpenFileName(OPENFILENAMEW* pOfn);
// The last dialog's extended error: 0 when the user cancelled.
DWORD zt_CommDlgExtendedError();
