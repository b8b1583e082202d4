#include "scan_test_support.h"

#include <algorithm>

#include "platform/zt_win.h"
#include "shell_standin.h"
#include "win_support.h"

TestWindow::TestWindow(const wchar_t* ptcClass, const wchar_t* ptcCaption, RECT rc, WndState state)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE hInst = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(hInst, ptcClass, &wc) && !GetClassInfoExW(nullptr, ptcClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = hInst;
        wc.lpszClassName = ptcClass;
        RegisterClassExW(&wc);
    }
    hwnd = CreateWindowExW(0, ptcClass, ptcCaption, WS_OVERLAPPEDWINDOW, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, nullptr, nullptr, hInst, nullptr);
    if (hwnd && state != WndState::Hidden) ShowWindow(hwnd, state == WndState::Min ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    pump_pending();
}

namespace {

HANDLE test_open(void* pCtx, DWORD dwPid)
{
    ProcQueries* q = static_cast<ProcQueries*>(pCtx);
    q->opened.insert(dwPid);
    const bool bAllowed = dwPid == GetCurrentProcessId() ||
                          std::find(q->otherPids.begin(), q->otherPids.end(), dwPid) != q->otherPids.end();
    if (q->bOpenFails || !bAllowed) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return scan_system_proc_queries()->pfnOpen(nullptr, dwPid);
}

// A path query of the test: fails on request (a failing query may leave
// rubbish behind), answers the override, or asks the system.
template <bool bModule>
DWORD test_query(void* pCtx, HANDLE h, wchar_t* ptcBuf, DWORD uiN)
{
    ProcQueries* q = static_cast<ProcQueries*>(pCtx);
    ++(bModule ? q->iModuleCalls : q->iImageCalls);
    if (bModule ? q->bModuleFails : q->bImageFails) {
        ptcBuf[0] = L'?';
        SetLastError(bModule ? ERROR_PARTIAL_COPY : ERROR_ACCESS_DENIED);
        return 0;
    }
    const STR_ProcQueries* sys = scan_system_proc_queries();
    if (!q->bOverride) return (bModule ? sys->pfnModuleFileName : sys->pfnImageName)(nullptr, h, ptcBuf, uiN);
    lstrcpynW(ptcBuf, q->pathOverride.c_str(), uiN);
    return q->pathOverride.empty() ? 1 : static_cast<DWORD>(lstrlenW(ptcBuf));  // "read", possibly empty
}

HWND folder_window_of(DWORD dwPid)
{
    for (HWND h : windows_of_class(QD_STANDIN_FOLDER_CLASS, dwPid))
        if (IsWindowVisible(h)) return h;
    return nullptr;
}

}  // namespace

ProcQueries::ProcQueries() : q{test_open, test_query<true>, test_query<false>, this} { scan_set_proc_queries(&q); }
ProcQueries::~ProcQueries() { scan_set_proc_queries(nullptr); }

FolderWindow::FolderWindow(const std::wstring& folder)
{
    PROCESS_INFORMATION pi = start_exe(beside_exe(L"QdFileExplorer.exe"), L"\"" + folder + L"\"");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    dwPid = pi.dwProcessId;
    pump_until([this] { return (hwnd = folder_window_of(dwPid)) != nullptr; }, 10000);
}

FolderWindow::~FolderWindow() { close_folder_windows(dwPid); }

void close_folder_windows(DWORD dwPid)
{
    pump_until([dwPid] {
        HWND h = folder_window_of(dwPid);
        if (h) PostMessageW(h, WM_CLOSE, 0, 0);
        return h == nullptr;
    });
}

StandInShell::StandInShell(const wchar_t* ptcFault)
    : file(temp_path(L"qd_standin_refs_" + std::to_wstring(GetCurrentProcessId()) + L".txt"))
{
    DeleteFileW(file.c_str());
    SetEnvironmentVariableW(QD_STANDIN_REFS_ENV, file.c_str());
    SetEnvironmentVariableW(QD_STANDIN_FAULT_ENV, ptcFault);
}

StandInShell::~StandInShell()
{
    SetEnvironmentVariableW(QD_STANDIN_REFS_ENV, nullptr);
    SetEnvironmentVariableW(QD_STANDIN_FAULT_ENV, nullptr);
    DeleteFileW(file.c_str());
}

std::string StandInShell::refs() const { return standin_refs(file); }

int entry_of(const STR_ENUM_WNDS_DATA* pSTR, HWND hwnd)
{
    for (uint32_t i = 0; i < pSTR->counter_valid; ++i)
        if (scan_entry_hwnd(pSTR, i) == zt_hwnd32(hwnd)) return static_cast<int>(i);
    return -1;
}

std::wstring entry_path(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i)
{
    const qd_char* p = scan_entry_path(pSTR, i);
    return p ? std::wstring(zt_W(p), scan_entry_len_path(pSTR, i) / 2) : std::wstring();
}

std::wstring entry_caption(const STR_ENUM_WNDS_DATA* pSTR, uint32_t i)
{
    const qd_char* p = scan_entry_caption(pSTR, i);
    return p ? std::wstring(zt_W(p)) : std::wstring();
}

bool is_released(const void* pAddr)
{
    MEMORY_BASIC_INFORMATION mbi = {};
    return VirtualQuery(pAddr, &mbi, sizeof(mbi)) && mbi.State == MEM_FREE;
}
