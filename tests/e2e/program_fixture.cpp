#include "program_fixture.h"

void close_running_instances()
{
    for (int i = 0; i < 20; ++i) {
        HWND hwnd = FindWindowW(L"prg_wnds_layout", nullptr);
        if (!hwnd) return;
        DWORD dwPid = 0;
        GetWindowThreadProcessId(hwnd, &dwPid);
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwPid);
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (h) {
            if (WaitForSingleObject(h, 3000) != WAIT_OBJECT_0) TerminateProcess(h, 1);
            CloseHandle(h);
        }
    }
}

HWND ProgramTest::start_program()
{
    DWORD dwT0 = GetTickCount();
    proc = drv::start(drv::beside_driver(L"quorvel-dint.exe"));
    if (!proc.hProcess) return nullptr;
    HWND hwnd = drv::wait_window(L"prg_wnds_layout", proc.dwPid, 10000);
    dwStartMs = GetTickCount() - dwT0;
    return hwnd;
}

void ProgramTest::SetUp()
{
    close_running_instances();
    hwndMain = start_program();
    ASSERT_NE(nullptr, hwndMain) << "the program's main window did not appear";
}

void ProgramTest::dismiss_boxes()
{
    for (int i = 0; i < 10; ++i) {
        HWND hwndDlg = drv::wait_dialog(proc.dwPid, 0);
        if (!hwndDlg) return;
        drv::press(hwndDlg, IDOK);
        drv::wait_until([&] { return !IsWindow(hwndDlg); }, 2000);
    }
}

void ProgramTest::TearDown()
{
    dismiss_boxes();
    if (hwndMain && IsWindow(hwndMain)) PostMessageW(hwndMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, drv::wait_exit(proc, 5000)) << "the program did not end with code 0";
    if (drv::wait_exit(proc, 0) == STILL_ACTIVE) TerminateProcess(proc.hProcess, 1);
    drv::close_handles(proc);
}
