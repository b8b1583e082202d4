#include <gtest/gtest.h>

#include <string>

#include "main_window_fixture.h"
#include "platform/zt_win.h"
#include "scan_test_support.h"

namespace {

std::wstring fixture_path()
{
    std::wstring p = this_exe_path();
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"qd_fixture.exe";
}

// Starts the fixture program with a command line and start-up information;
// returns its process handle (null on failure).
HANDLE start_fixture(const std::wstring& args, const STARTUPINFOW& si)
{
    std::wstring cmd = L"\"" + fixture_path() + L"\" " + args;
    STARTUPINFOW s = si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &s, &pi)) return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

}  // namespace

// Windows of another program: found with that program's path; the first
// window without a place takes the launcher's start-up position and size.
TEST(ScanFixture, AnotherProgramsWindowsAreFoundWithItsPath)
{
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(fixture_path().c_str())) << "qd_fixture.exe is built beside the tests";
    const std::wstring event = L"QdFixtureReady_" + std::to_wstring(GetCurrentProcessId());
    zt_Handle ready(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USEPOSITION | STARTF_USESIZE | STARTF_USESHOWWINDOW;
    si.dwX = 300;
    si.dwY = 200;
    si.dwXSize = 640;
    si.dwYSize = 480;
    si.wShowWindow = SW_SHOWNORMAL;
    zt_Handle process(start_fixture(L"--ready-event " + event +
                                        L" --window \"caption=Fixture placed;class=QdFixA\""
                                        L" --window \"caption=Fixture fixed;class=QdFixA;x=100;y=120;w=400;h=300\""
                                        L" --window \"caption=Fixture min;class=QdFixB;x=10;y=10;w=300;h=200;state=min\""
                                        L" --window \"caption=Fixture hidden;class=QdFixB;state=hidden\"",
                                    si));
    ASSERT_TRUE(process);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.get(), 10000));
    HWND placed = FindWindowW(L"QdFixA", L"Fixture placed"), fixed = FindWindowW(L"QdFixA", L"Fixture fixed");
    HWND minimised = FindWindowW(L"QdFixB", L"Fixture min"), hidden = FindWindowW(L"QdFixB", L"Fixture hidden");
    ASSERT_TRUE(placed && fixed && minimised && hidden);
    RECT rc;
    GetWindowRect(placed, &rc);
    EXPECT_EQ(300, rc.left);
    EXPECT_EQ(200, rc.top);
    EXPECT_EQ(640, rc.right - rc.left);
    EXPECT_EQ(480, rc.bottom - rc.top);

    {
        TestStore t;
        t.scan_desktop();
        EXPECT_EQ(-1, entry_of(&t.s, hidden));
        const int ip = entry_of(&t.s, placed), iff = entry_of(&t.s, fixed), im = entry_of(&t.s, minimised);
        ASSERT_TRUE(ip >= 0 && iff >= 0 && im >= 0);
        for (int i : {ip, iff, im}) {
            EXPECT_EQ(1, scan_entry_flag(&t.s, i));
            EXPECT_EQ(0, lstrcmpiW(fixture_path().c_str(), entry_path(&t.s, i).c_str())) << entry_path(&t.s, i);
        }
        const GeomText_STR* g = scan_entry_geom(&t.s, iff);
        EXPECT_TRUE(g->i_x == 100 && g->i_y == 120 && g->i_w == 400 && g->i_h == 300);
        g = scan_entry_geom(&t.s, im);
        EXPECT_TRUE(g->i_x == 0 && g->i_y == 0 && g->i_w == 0 && g->i_h == 0);
        EXPECT_EQ(L"Fixture fixed", entry_caption(&t.s, iff));
    }

    // It ends when its last window is closed.
    for (HWND h : {placed, fixed, minimised}) PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(process.get(), 300));
    PostMessageW(hidden, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 5000));
    DWORD dwExit = 99;
    GetExitCodeProcess(process.get(), &dwExit);
    EXPECT_EQ(0u, dwExit);

    // A command line it cannot read opens nothing.
    zt_Handle bad(start_fixture(L"--window \"caption=Bad;x=abc\"", si));
    ASSERT_TRUE(bad);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(bad.get(), 5000));
    GetExitCodeProcess(bad.get(), &dwExit);
    EXPECT_EQ(2u, dwExit);
}
