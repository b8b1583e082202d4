#include "platform/zt_win.h"

#include "platform/zt_shell.h"

namespace {
// Test seams. The program itself never sets them.
ZT_BoxHook g_pfnBoxHook = nullptr;
void* g_pBoxCtx = nullptr;
ZT_WaitHook g_pfnWaitHook = nullptr;
ZT_IdleHook g_pfnIdleHook = nullptr;
void* g_pWaitCtx = nullptr;
ZT_AllocFailHook g_pfnAllocFail = nullptr;
long g_iLiveAllocations = 0;
void* g_pAllocCtx = nullptr;
}  // namespace

void zt_SetBoxHook(ZT_BoxHook pfnHook, void* pCtx)
{
    g_pfnBoxHook = pfnHook;
    g_pBoxCtx = pCtx;
}

int zt_MessageBox(HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags)
{
    if (g_pfnBoxHook) return g_pfnBoxHook(g_pBoxCtx, hwndOwner, ptcText, ptcCaption, uiFlags);
    return MessageBoxW(hwndOwner, ptcText ? ptcText : L"", ptcCaption ? ptcCaption : L"", uiFlags);
}

void zt_SetWaitHooks(ZT_WaitHook pfnWait, ZT_IdleHook pfnIdle, void* pCtx)
{
    g_pfnWaitHook = pfnWait;
    g_pfnIdleHook = pfnIdle;
    g_pWaitCtx = pCtx;
}

void zt_Wait(DWORD dwMilliseconds)
{
    if (g_pfnWaitHook) g_pfnWaitHook(g_pWaitCtx, dwMilliseconds);
    else Sleep(dwMilliseconds);
}

DWORD zt_WaitForInputIdle(HANDLE hProcess, DWORD dwMilliseconds)
{
    if (g_pfnIdleHook) return g_pfnIdleHook(g_pWaitCtx, hProcess, dwMilliseconds);
    if (!hProcess) return WAIT_FAILED;
    return WaitForInputIdle(hProcess, dwMilliseconds);
}

namespace {
ZT_AnswerWaitHook g_pfnAnswerWaitHook = nullptr;
void* g_pAnswerWaitCtx = nullptr;
}  // namespace

void zt_SetAnswerWaitHook(ZT_AnswerWaitHook pfn, void* pCtx)
{
    g_pfnAnswerWaitHook = pfn;
    g_pAnswerWaitCtx = pCtx;
}

LRESULT zt_SendMessageTimeout(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
                              DWORD_PTR* pdwResult)
{
    const LRESULT r = SendMessageTimeoutW(hwnd, uMsg, wParam, lParam, fuFlags, uTimeout, pdwResult);
    if (g_pfnAnswerWaitHook) {
        const DWORD dwErr = GetLastError();  // ERROR_TIMEOUT tells the caller the program did not answer
        g_pfnAnswerWaitHook(g_pAnswerWaitCtx, hwnd, r != 0);
        SetLastError(dwErr);
    }
    return r;
}

namespace {
ZT_LaunchHook g_pfnLaunchHook = nullptr;
void* g_pLaunchCtx = nullptr;
}  // namespace

void zt_SetLaunchHook(ZT_LaunchHook pfnHook, void* pCtx)
{
    g_pfnLaunchHook = pfnHook;
    g_pLaunchCtx = pCtx;
}

BOOL zt_CreateProcess(const wchar_t* ptcPath, STARTUPINFOW* pSI, PROCESS_INFORMATION* pPI)
{
    if (g_pfnLaunchHook) g_pfnLaunchHook(g_pLaunchCtx, ptcPath, false);
    return CreateProcessW(ptcPath, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, pSI, pPI);
}

BOOL zt_OpenFolder(const wchar_t* ptcFolder)
{
    if (g_pfnLaunchHook) g_pfnLaunchHook(g_pLaunchCtx, ptcFolder, true);
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof(sei);
    sei.lpVerb = L"open";
    sei.lpFile = ptcFolder;
    sei.nShow = SW_SHOWNORMAL;
    return zt_ShellExecuteEx(&sei);
}

void zt_PlaceWindowAsync(HWND hwnd, bool bRestore, int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (bRestore) ShowWindowAsync(hwnd, SW_RESTORE);
    SetWindowPos(hwnd, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

void zt_SetAllocFailHook(ZT_AllocFailHook pfnHook, void* pCtx)
{
    g_pfnAllocFail = pfnHook;
    g_pAllocCtx = pCtx;
}

void* zt_VirtualAlloc(size_t uiSize)
{
    if (g_pfnAllocFail && g_pfnAllocFail(g_pAllocCtx, uiSize)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* pv = VirtualAlloc(nullptr, uiSize, MEM_COMMIT, PAGE_READWRITE);
    if (pv) ++g_iLiveAllocations;
    return pv;
}

void zt_VirtualFreeAddr(void* pv)
{
    if (pv && VirtualFree(pv, 0, MEM_RELEASE)) --g_iLiveAllocations;
}

long zt_LiveAllocations() { return g_iLiveAllocations; }

namespace {
ZT_PopupHook g_pfnPopupHook = nullptr;
void* g_pPopupCtx = nullptr;
}  // namespace

void zt_SetPopupHook(ZT_PopupHook pfnHook, void* pCtx)
{
    g_pfnPopupHook = pfnHook;
    g_pPopupCtx = pCtx;
}

BOOL zt_TrackPopupMenu(HMENU hMenu, UINT uiFlags, int x, int y, HWND hwndOwner)
{
    if (g_pfnPopupHook) return g_pfnPopupHook(g_pPopupCtx, hMenu, uiFlags, x, y, hwndOwner);
    return TrackPopupMenu(hMenu, uiFlags, x, y, 0, hwndOwner, nullptr);
}

bool zt_RegisterPlainWindowClass(const wchar_t* ptcClass, WNDPROC pfnProc, HINSTANCE hInst)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = ptcClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
