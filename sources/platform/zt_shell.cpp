#include "platform/zt_shell.h"

namespace {

// The function of the shell's library, loaded on first use and kept for
// the life of the process; null (with the last error set) without it.
template <typename F>
F shell_proc(const char* pcName)
{
    static HMODULE hLib = nullptr;
    if (!hLib) hLib = LoadLibraryW(L"shell32.dll");
    if (!hLib) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(hLib, pcName)));
}

}  // namespace

void zt_DragAcceptFiles(HWND hwnd, BOOL bAccept)
{
    if (!IsWindow(hwnd)) return;
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    const LONG_PTR accept = WS_EX_ACCEPTFILES;
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, bAccept ? (ex | accept) : (ex & ~accept));
}

UINT zt_DragQueryFile(HDROP hDrop, UINT uiFile, wchar_t* ptcFile, UINT uiCap)
{
    auto pfn = shell_proc<UINT(WINAPI*)(HDROP, UINT, wchar_t*, UINT)>("DragQueryFileW");
    return pfn ? pfn(hDrop, uiFile, ptcFile, uiCap) : 0;
}

void zt_DragFinish(HDROP hDrop)
{
    if (auto pfn = shell_proc<void(WINAPI*)(HDROP)>("DragFinish")) pfn(hDrop);
}

BOOL zt_ShellExecuteEx(SHELLEXECUTEINFOW* pSei)
{
    auto pfn = shell_proc<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>("ShellExecuteExW");
    return pfn ? pfn(pSei) : FALSE;
}

BOOL zt_SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, wchar_t* ptcPath)
{
    auto pfn = shell_proc<BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*)>("SHGetPathFromIDListW");
    return pfn ? pfn(pidl, ptcPath) : FALSE;
}
