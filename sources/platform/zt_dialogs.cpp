#include "platform/zt_dialogs.h"

namespace {
ZT_FileDialogHook g_pfnHook = nullptr;
void* g_pCtx = nullptr;
DWORD g_dwHookError = 0;  // what the hooked dialog reports as its extended error

BOOL run_hook(bool bSave, OPENFILENAMEW* pOfn)
{
    int iRet = g_pfnHook(g_pCtx, bSave, pOfn);
    g_dwHookError = iRet < 0 ? CDERR_GENERALCODES + 1 : 0;
    return iRet > 0;
}
}  // namespace

void zt_SetFileDialogHook(ZT_FileDialogHook pfnHook, void* pCtx)
{
    g_pfnHook = pfnHook;
    g_pCtx = pCtx;
    g_dwHookError = 0;
}

BOOL zt_GetSaveFileName(OPENFILENAMEW* pOfn)
{
    return g_pfnHook ? run_hook(true, pOfn) : GetSaveFileNameW(pOfn);
}

BOOL zt_GetOpenFileName(OPENFILENAMEW* pOfn)
{
    return g_pfnHook ? run_hook(false, pOfn) : GetOpenFileNameW(pOfn);
}

DWORD zt_CommDlgExtendedError()
{
    return g_pfnHook ? g_dwHookError : CommDlgExtendedError();
}
