#include "driver.h"

#include <commctrl.h>

#include <cstdlib>

#include "linux_tools.h"
#include "shell_standin.h"

namespace drv {

namespace {

// Sends a message whose lParam is a record in the target's own memory,
// where a list view reads and writes it: the record is copied there (fix,
// when given, first points the pointers in it into the copy) and read back.
LRESULT remote(HWND hwnd, UINT uMsg, WPARAM wParam, void* pvRec, size_t uiN, const std::function<void(char*)>& fix = nullptr)
{
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    HANDLE h = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwPid);
    char* p = h ? static_cast<char*>(VirtualAllocEx(h, nullptr, uiN, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) : nullptr;
    if (p && fix) fix(p);
    LRESULT r = 0;
    if (p && WriteProcessMemory(h, p, pvRec, uiN, nullptr)) {
        r = SendMessageW(hwnd, uMsg, wParam, reinterpret_cast<LPARAM>(p));
        ReadProcessMemory(h, p, pvRec, uiN, nullptr);
    }
    if (p) VirtualFreeEx(h, p, 0, MEM_RELEASE);
    if (h) CloseHandle(h);
    return r;
}

}  // namespace

Geom geom(HWND hwnd)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return Geom{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

std::wstring text(HWND hwnd)
{
    wchar_t tc[2048] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(tc), SMTO_ABORTIFHUNG, 3000, nullptr);
    return tc;
}

std::wstring box_text(HWND hwndBox) { return text(GetDlgItem(hwndBox, 0xFFFF)); }

void click(HWND hwndParent, int id)
{
    PostMessageW(hwndParent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwndParent, id)));
}

void sync(HWND hwnd) { SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr); }

void file_dialog_accept(HWND hwndDlg, const std::wstring& path)
{
    SendMessageW(GetDlgItem(hwndDlg, 0x47c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    click(hwndDlg, IDOK);
}

int lv_row(HWND hwndLV, const std::wstring& name)
{
    struct {
        LVITEMW item;
        wchar_t tc[512];
    } rec = {};
    rec.item.iSubItem = 1;  // Window name
    rec.item.cchTextMax = 511;
    for (int i = 0; i < SendMessageW(hwndLV, LVM_GETITEMCOUNT, 0, 0); ++i) {
        auto fix = [&](char* p) { rec.item.pszText = reinterpret_cast<wchar_t*>(p + sizeof(LVITEMW)); };  // the text after the item
        remote(hwndLV, LVM_GETITEMTEXTW, i, &rec, sizeof(rec), fix);
        if (name == rec.tc) return i;
    }
    return -1;
}

bool lv_tick(HWND hwndLV, int iRow)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    return remote(hwndLV, LVM_SETITEMSTATE, iRow, &item, sizeof(item)) != 0;
}

POINT lv_cell_center(HWND hwndLV, int iRow, int iCol)
{
    RECT rc = {LVIR_BOUNDS, iCol, 0, 0};
    remote(hwndLV, LVM_GETSUBITEMRECT, iRow, &rc, sizeof(rc));
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hwndLV, &pt);
    return pt;
}

void mouse_click(POINT pt, bool bRight)
{
    SetCursorPos(pt.x, pt.y);
    mouse_event(bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

void screenshot(HWND hwnd, const wchar_t* ptcName)
{
    // On top, painted now (the paint is sent), then put on the screen when
    // the program's thread is next idle: after the first sync, before the second.
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    sync(hwnd);
    sync(hwnd);
    const wchar_t* ptcDir = _wgetenv(L"QD_ARTIFACTS");
    const std::wstring dir = ptcDir ? (*ptcDir == L'/' ? L"Z:" : L"") + std::wstring(ptcDir) : L"artifacts";  // / is drive Z: under Wine
    CreateDirectoryW(dir.c_str(), nullptr);
    const Geom g = geom(hwnd);
    qd_screen_picture(g[0], g[1], g[2], g[3], dir + L"\\" + ptcName);
}

}  // namespace drv

void ProgramTest::SetUp()
{
    refs = temp(L"qd_e2e_shell_refs.txt");  // the program inherits both names
    SetEnvironmentVariableW(QD_STANDIN_REFS_ENV, refs.c_str());
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Loaded fixture;class=QdLoaded");
    close_windows_of_class(L"prg_wnds_layout");  // left by an earlier test
    helpers.push_back(start_exe(beside_exe(L"quorvel-dint.exe"), L""));
    pid = helpers[0].dwProcessId;
    hwndMain = wait_window(L"prg_wnds_layout");
    ASSERT_NE(nullptr, hwndMain) << "the main window did not appear";
}

void ProgramTest::TearDown()
{
    for (HWND h : windows_of_class(L"#32770", pid)) ADD_FAILURE() << "left open: " << drv::text(h) << ": " << drv::box_text(h);
    PostMessageW(hwndMain, WM_CLOSE, 0, 0);
    DWORD dwCode = STILL_ACTIVE;
    WaitForSingleObject(helpers[0].hProcess, 5000);
    GetExitCodeProcess(helpers[0].hProcess, &dwCode);
    EXPECT_EQ(0u, dwCode) << "the program did not end with code 0";
    for (PROCESS_INFORMATION& pi : helpers) {
        TerminateProcess(pi.hProcess, 1);  // those still running
        WaitForSingleObject(pi.hProcess, 3000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    close_windows_of_class(L"QdLoaded");
    close_windows_of_class(QD_STANDIN_FOLDER_CLASS);
    for (const std::wstring& f : files)
        if (!DeleteFileW(f.c_str())) RemoveDirectoryW(f.c_str());
}

HWND ProgramTest::wait_window(const wchar_t* ptcClass, DWORD dwPid, DWORD dwMs)
{
    HWND hwnd = nullptr;
    pump_until([&] {
        for (HWND h : windows_of_class(ptcClass, dwPid ? dwPid : pid))
            if (IsWindowVisible(h)) hwnd = h;
        return hwnd != nullptr;
    }, dwMs);
    return hwnd;
}

bool ProgramTest::until(const std::function<bool()>& f, DWORD dwMs)
{
    HWND hwndBox = nullptr;
    if (pump_until([&] { return f() || (hwndBox = wait_window(L"#32770", pid, 0)) != nullptr; }, dwMs) && !hwndBox) return true;
    ADD_FAILURE() << (hwndBox ? L"unexpected box " + drv::text(hwndBox) + L": " + drv::box_text(hwndBox) : L"not reached in time");
    return false;
}

std::wstring ProgramTest::temp(const wchar_t* ptcName, bool bFolder)
{
    files.push_back(ptcName[1] == L':' ? ptcName : temp_path(ptcName));
    if (!DeleteFileW(files.back().c_str())) RemoveDirectoryW(files.back().c_str());
    EXPECT_TRUE(!bFolder || CreateDirectoryW(files.back().c_str(), nullptr));
    return files.back();
}
