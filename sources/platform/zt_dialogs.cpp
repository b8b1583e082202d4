#include "platform/zt_dialogs.h"

namespace {
ZT_FileDialogHook g_pfnHook = nullptr;
void* g_pCtx = nullptr;
DWORD g_dwHookError = 0;  // what the hooked dialog reports as its extended error
DWORD g_dwLoadError = 0;  // the last dialog found no library to run

BOOL run_hook(bool bSave, OPENFILENAMEW* pOfn)
{
    int iRet = g_pfnHook(g_pCtx, bSave, pOfn);
    g_dwHookError = iRet < 0 ? CDERR_GENERALCODES + 1 : 0;
    return iRet > 0;
}

// The dialogs' library and what pulls it in (the print spooler among
// others) are loaded by the first dialog, not at start: the main window
// never needs them. Kept for the life of the process once loaded.
typedef BOOL(WINAPI* PFN_FileDialog)(OPENFILENAMEW*);
typedef DWORD(WINAPI* PFN_ExtendedError)();

struct STR_ComDlg {
    PFN_FileDialog pfnOpen;
    PFN_FileDialog pfnSave;
    PFN_ExtendedError pfnError;
};

template <typename F>
F proc(HMODULE hLib, const char* pcName)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(hLib, pcName)));
}

const STR_ComDlg* comdlg()
{
    static STR_ComDlg s = {};
    if (s.pfnError) return &s;
    HMODULE hLib = LoadLibraryW(L"comdlg32.dll");
    if (!hLib) return nullptr;
    s = {proc<PFN_FileDialog>(hLib, "GetOpenFileNameW"), proc<PFN_FileDialog>(hLib, "GetSaveFileNameW"),
         proc<PFN_ExtendedError>(hLib, "CommDlgExtendedError")};
    if (s.pfnOpen && s.pfnSave && s.pfnError) return &s;
    s = {};
    FreeLibrary(hLib);
    return nullptr;
}

// Without the library a dialog fails as a dialog fails: FALSE, and an
// extended error that the callers take for a failure.
BOOL run_dialog(bool bSave, OPENFILENAMEW* pOfn)
{
    const STR_ComDlg* d = comdlg();
    g_dwLoadError = d ? 0 : CDERR_INITIALIZATION;
    if (!d) return FALSE;
    return bSave ? d->pfnSave(pOfn) : d->pfnOpen(pOfn);
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
    return g_pfnHook ? run_hook(true, pOfn) : run_dialog(true, pOfn);
}

BOOL zt_GetOpenFileName(OPENFILENAMEW* pOfn)
{
    return g_pfnHook ? run_hook(false, pOfn) : run_dialog(false, pOfn);
}

DWORD zt_CommDlgExtendedError()
{
    if (g_pfnHook) return g_dwHookError;
    if (g_dwLoadError) return g_dwLoadError;
    const STR_ComDlg* d = comdlg();
    return d ? d->pfnError() : CDERR_INITIALIZATION;
}
