// The whole cycle on the real program: Scan, the List of Windows, Modify
// Cell from the popup menu, Move, Create Profile with the Name of Profile
// window and the Save dialog, Load Profile through the Open dialog and by a
// dropped file, and Apply. Folder windows are those of the stand-in shell
// of the test prefix, found through the shell's collection like Explorer's
// (tests/fixture/shell_standin.h); the load must give back every reference
// the shell handed out.
#include "driver.h"
#include "linux_tools.h"
#include "profile_bytes.h"
#include "shell_standin.h"

using drv::Geom;

// Which windows a scan lists and with what, the shell's references during a
// scan, what Modify Cell accepts, which rows Move takes, a refused overwrite,
// broken files, Minimize and Restore are the Win32 tests' cases; here each
// action once, the saved profile loaded back.
TEST_F(ProgramTest, CycleScanModifyCellMoveCreateProfileThenLoadItApplyAndDropIt)
{
    helpers.push_back(start_fixture(L"--window \"caption=Cycle alpha;class=QdCycA;x=100;y=120;w=400;h=300\""));
    HWND hwndA = wait_window(L"QdCycA", helpers.back().dwProcessId);
    // A folder path shorter than the program paths: neither kind is cut to the other's length.
    const std::wstring dir = temp(L"C:\\qd_e2e", true);
    helpers.push_back(start_exe(beside_exe(L"QdFileExplorer.exe"), L"\"" + dir + L"\""));  // a folder window
    HWND hwndF = wait_window(QD_STANDIN_FOLDER_CLASS, helpers.back().dwProcessId);
    ASSERT_TRUE(hwndA && hwndF);
    SetWindowPos(hwndF, nullptr, 300, 260, 560, 380, SWP_NOZORDER | SWP_NOACTIVATE);

    drv::click(hwndMain, 1);  // Scan
    HWND hwndList = wait_window(L"List of Windows");
    ASSERT_NE(nullptr, hwndList);
    HWND hwndLV = GetDlgItem(hwndList, 4);
    const int rA = drv::lv_row(hwndLV, L"Cycle alpha"), rF = drv::lv_row(hwndLV, L"qd_e2e");
    ASSERT_TRUE(rA >= 0 && rF >= 0) << rA << " " << rF;
    drv::screenshot(hwndList, L"list_of_windows.png");

    // The right mouse button on a Width cell, Modify Cell in the popup menu, new numbers, Ok.
    SetForegroundWindow(hwndList);
    drv::mouse_click(drv::lv_cell_center(hwndLV, rA, 4), true);
    HWND hwndMenu = wait_window(L"#32768");
    ASSERT_NE(nullptr, hwndMenu) << "no popup menu";
    const Geom m = drv::geom(hwndMenu);
    drv::mouse_click(POINT{m[0] + m[2] / 2, m[1] + m[3] / 2}, false);
    HWND hwndMC = wait_window(L"Modify Cell Window");
    ASSERT_NE(nullptr, hwndMC) << "no Modify Cell window";
    const wchar_t* typed[] = {L"120", L"40", L"800", L"600"};
    for (int k = 0; k < 4; ++k) SendMessageW(GetDlgItem(hwndMC, k), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[k]));
    drv::click(hwndMC, 4);
    ASSERT_TRUE(until([&] { return !IsWindow(hwndMC); }));

    // Move: the ticked window goes to its new cells.
    ASSERT_TRUE(drv::lv_tick(hwndLV, rA) && drv::lv_tick(hwndLV, rF));
    drv::click(hwndList, 1);
    EXPECT_TRUE(until([&] { return drv::geom(hwndA) == Geom{120, 40, 800, 600}; }));

    // Create Profile: the Name of Profile window, the Save dialog; the ticked
    // rows in list order, the folder as kind 0.
    const std::wstring path = temp(L"qd_e2e_saved.qdp");
    drv::click(hwndList, 2);
    HWND hwndName = wait_window(L"Name of Profile Window");
    SendMessageW(GetDlgItem(hwndName, 3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Cycle profile"));
    drv::click(hwndName, 1);
    HWND hwndSave = wait_box();
    drv::file_dialog_accept(hwndSave, path);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwndSave); }));
    drv::sync(hwndList);  // the file is written
    std::vector<QdTestEntry> entries = {{1, u16(fixture_exe()), 120, 40, 800, 600}, {0, u16(dir), 300, 260, 560, 380}};
    if (rF < rA) std::swap(entries[0], entries[1]);
    EXPECT_EQ(qd_profile_bytes(entries, u"Cycle profile"), read_file(path));

    // The user closes both windows, then Load Profile through the Open dialog:
    // the program starts anew, the folder opens, both at their saved places, no box.
    PostMessageW(hwndA, WM_CLOSE, 0, 0);
    PostMessageW(hwndF, WM_CLOSE, 0, 0);
    ASSERT_TRUE(until([&] { return !IsWindow(hwndA) && !IsWindow(hwndF); }));
    auto profiles = [&] { return SendMessageW(GetDlgItem(hwndMain, 4), CB_GETCOUNT, 0, 0); };
    HWND hwndP = nullptr, hwndD = nullptr;
    auto placed = [&] {
        hwndP = FindWindowW(L"QdLoaded", nullptr);
        hwndD = FindWindowW(QD_STANDIN_FOLDER_CLASS, L"qd_e2e");
        return drv::geom(hwndP) == Geom{120, 40, 800, 600} && drv::geom(hwndD) == Geom{300, 260, 560, 380} && !IsIconic(hwndP) &&
               !IsIconic(hwndD);
    };
    drv::click(hwndMain, 2);  // Load Profile
    HWND hwndOpen = wait_box();
    drv::file_dialog_accept(hwndOpen, path);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwndOpen); }));
    ASSERT_TRUE(until([&] { return profiles() == 1; }, 20000));
    EXPECT_EQ("0", standin_refs(refs)) << "the load kept references the shell handed out";
    EXPECT_TRUE(until(placed));
    drv::screenshot(hwndMain, L"main_window.png");

    // Apply with Close chosen as a user chooses it (which takes the profile off the list).
    SendMessageW(GetDlgItem(hwndMain, 5), CB_SETCURSEL, 2, 0);
    SendMessageW(hwndMain, WM_COMMAND, MAKEWPARAM(5, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(hwndMain, 5)));
    drv::click(hwndMain, 6);
    EXPECT_TRUE(until([&] { return !IsWindow(hwndP) && !IsWindow(hwndD) && profiles() == 0; }));

    // Dragged from a file manager and dropped on the window's picture: a real
    // X11 drag and drop, which Wine hands only to a window that takes dropped
    // files, as the shell does on Windows.
    const POINT ptPicture = {drv::geom(hwndMain)[0] + 100, drv::geom(hwndMain)[1] + 100};
    ASSERT_EQ(QD_XDND_DROPPED, qd_xdnd_drop(beside_exe(L""), ptPicture, path)) << "the window refused the file";
    ASSERT_TRUE(until([&] { return profiles() == 1; }, 20000));
    EXPECT_TRUE(until(placed));
}
