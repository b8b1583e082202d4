#include "scan_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "funcs_layout_windows/scan_command.h"
#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "shell_standin.h"

TestWindow::TestWindow(const wchar_t* ptcClass, const wchar_t* ptcCaption, RECT rc, WndState state)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE hInst = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(hInst, ptcClass, &wc) && !GetClassInfoExW(nullptr, ptcClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = hInst;
        wc.lpszClassName = ptcClass;
        RegisterClassExW(&wc);
    }
    hwnd = CreateWindowExW(0, ptcClass, ptcCaption, WS_OVERLAPPEDWINDOW, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, nullptr, nullptr, hInst, nullptr);
    if (hwnd && state != WndState::Hidden) ShowWindow(hwnd, state == WndState::Min ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    pump_messages();
}

TestWindow::~TestWindow()
{
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

std::wstring this_exe_path()
{
    wchar_t buf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    return buf;
}

namespace {

HANDLE test_open(void* pCtx, DWORD dwPid)
{
    ProcQueries* q = static_cast<ProcQueries*>(pCtx);
    q->opened.insert(dwPid);
    const bool bOther = std::find(q->otherPids.begin(), q->otherPids.end(), dwPid) != q->otherPids.end();
    if (q->bOpenFails || (q->bOnlyThisProcess && dwPid != GetCurrentProcessId() && !bOther)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    const STR_ProcQueries* sys = scan_system_proc_queries();
    return sys->pfnOpen(sys->pCtx, dwPid);
}

DWORD answer(ProcQueries* q, QD_ProcPathQuery pfnSys, HANDLE h, wchar_t* ptcBuf, DWORD uiN)
{
    if (q->pathOverride.empty()) return pfnSys(nullptr, h, ptcBuf, uiN);
    lstrcpynW(ptcBuf, q->pathOverride.c_str(), uiN);
    return static_cast<DWORD>(lstrlenW(ptcBuf));
}

DWORD test_module(void* pCtx, HANDLE h, wchar_t* ptcBuf, DWORD uiN)
{
    ProcQueries* q = static_cast<ProcQueries*>(pCtx);
    ++q->iModuleCalls;
    if (q->bModuleFails) {
        ptcBuf[0] = L'?';  // a failing query may leave rubbish behind
        SetLastError(ERROR_PARTIAL_COPY);
        return 0;
    }
    return answer(q, scan_system_proc_queries()->pfnModuleFileName, h, ptcBuf, uiN);
}

DWORD test_image(void* pCtx, HANDLE h, wchar_t* ptcBuf, DWORD uiN)
{
    ProcQueries* q = static_cast<ProcQueries*>(pCtx);
    ++q->iImageCalls;
    if (q->bImageFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    return answer(q, scan_system_proc_queries()->pfnImageName, h, ptcBuf, uiN);
}

HWND folder_window_of(DWORD dwPid)
{
    for (HWND h = FindWindowExW(nullptr, nullptr, QD_STANDIN_FOLDER_CLASS, nullptr); h;
         h = FindWindowExW(nullptr, h, QD_STANDIN_FOLDER_CLASS, nullptr)) {
        DWORD dw = 0;
        GetWindowThreadProcessId(h, &dw);
        if (IsWindowVisible(h) && (dw == dwPid || !dwPid)) return h;
    }
    return nullptr;
}

void release_virtual(void*, void* pAddr) { VirtualFree(pAddr, 0, MEM_RELEASE); }

}  // namespace

ProcQueries::ProcQueries() : m_q{test_open, test_module, test_image, this} { scan_set_proc_queries(&m_q); }
ProcQueries::~ProcQueries() { scan_set_proc_queries(nullptr); }

FolderWindow::FolderWindow(const std::wstring& folder)
{
    const std::wstring self = this_exe_path();
    std::wstring cmd = L"\"" + self.substr(0, self.find_last_of(L'\\') + 1) + L"QdFileExplorer.exe\" \"" + folder + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    dwPid = pi.dwProcessId;
    for (int i = 0; i < 1000 && !hwnd; ++i, Sleep(10)) hwnd = folder_window_of(dwPid);
}

FolderWindow::~FolderWindow() { close_folder_windows(dwPid); }

void close_folder_windows(DWORD dwPid)
{
    for (int i = 0; i < 500 && folder_window_of(dwPid); ++i, Sleep(10)) PostMessageW(folder_window_of(dwPid), WM_CLOSE, 0, 0);
}

StandInShell::StandInShell(const wchar_t* ptcFault)
{
    wchar_t tcDir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tcDir);
    m_file = std::wstring(tcDir) + L"qd_standin_refs_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(m_file.c_str());
    SetEnvironmentVariableW(QD_STANDIN_REFS_ENV, m_file.c_str());
    SetEnvironmentVariableW(QD_STANDIN_FAULT_ENV, ptcFault);
}

StandInShell::~StandInShell()
{
    SetEnvironmentVariableW(QD_STANDIN_REFS_ENV, nullptr);
    SetEnvironmentVariableW(QD_STANDIN_FAULT_ENV, nullptr);
    DeleteFileW(m_file.c_str());
}

std::string StandInShell::refs() const { return standin_refs(m_file); }

TestStore::TestStore()
{
    scan_store_prepare(&s);
    s.pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zt_VirtualAlloc(s.uiSize_TmpBuf_Path));
}

TestStore::~TestStore()
{
    const STR_BufRelease rel = {release_virtual, nullptr};
    scan_store_release(&s, &rel);
}

void TestStore::allocate_entries(uint32_t uiN, uint32_t uiL)
{
    STR_ScanBufSizes z = {};
    ASSERT_EQ(1, scan_buffer_sizes(uiN, uiL, &z));
    s.counter_valid = uiN;
    s.counter_filled = 0;
    s.uiMaxLen_inBytes_AllPath = uiL;
    s.arr1D_ui_LenPath = static_cast<uint32_t*>(zt_VirtualAlloc(z.ui_LenPath));
    s.arr1D_uc_flag_FP = static_cast<uint8_t*>(zt_VirtualAlloc(z.ui_flag_FP));
    s.pcDynMem_GeomText = static_cast<uint8_t*>(zt_VirtualAlloc(z.ui_GeomText));
    s.pcDynMem_WinHndls = static_cast<uint8_t*>(zt_VirtualAlloc(z.ui_WinHndls));
    s.pcDynMem_FullPaths = static_cast<uint8_t*>(zt_VirtualAlloc(z.ui_FullPaths));
}

void TestStore::scan_desktop()
{
    ProcPathScope paths;
    ASSERT_TRUE(EnumWindows(EnumWindowsProc_Calc, reinterpret_cast<LPARAM>(&s)));
    ASSERT_GT(s.counter_valid, 0u);
    allocate_entries(s.counter_valid, s.uiMaxLen_inBytes_PrgPath);
    ASSERT_TRUE(EnumWindows(EnumWindowsProc_Calc_02, reinterpret_cast<LPARAM>(&s)));
}

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
