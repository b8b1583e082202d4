// The whole cycle on the real program: Scan, the List of Windows, Modify
// Cell from the popup menu, Move, Create Profile with the Name of Profile
// window and the Save dialog, Load Profile through the Open dialog and by a
// dropped file, and Apply. Folder windows are those of the stand-in shell
// of the test prefix, found through the shell's collection like Explorer's
// (tests/fixture/shell_standin.h); each command must give back every
// reference the shell handed out.
#include "driver.h"
#include "profile_bytes.h"
#include "shell_standin.h"

using drv::Geom;

class CycleTest : public ProgramTest {
protected:
    // Create Profile on the List of Windows with this name, then the Save
    // dialog given the path; returns the Save dialog, closing.
    HWND create_profile(HWND hwndList, const wchar_t* ptcName, const std::wstring& path)
    {
        drv::click(hwndList, 2);
        HWND hwndName = wait_window(L"Name of Profile Window");
        SendMessageW(GetDlgItem(hwndName, 3), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ptcName));
        drv::click(hwndName, 1);
        HWND hwndSave = wait_box();
        EXPECT_TRUE(drv::file_dialog_accept(hwndSave, path));
        return hwndSave;
    }

    int profiles() const { return static_cast<int>(SendMessageW(GetDlgItem(hwndMain, 4), CB_GETCOUNT, 0, 0)); }

    // Chooses the action (0 Minimize, 1 Restore, 2 Close) as a user does, then Apply.
    void apply(int iAction)
    {
        SendMessageW(GetDlgItem(hwndMain, 5), CB_SETCURSEL, iAction, 0);
        SendMessageW(hwndMain, WM_COMMAND, MAKEWPARAM(5, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(hwndMain, 5)));
        drv::click(hwndMain, 6);
    }
};

TEST_F(CycleTest, ScanModifyCellMoveAndCreateProfile)
{
    helpers.push_back(start_fixture(L"--window \"caption=Cycle alpha;class=QdCycA;x=100;y=120;w=400;h=300\" --window "
                                    L"\"caption=Cycle beta;class=QdCycB;x=640;y=200;w=360;h=260\" --window \"caption=Cycle hidden;class=QdCycH;state=hidden\""));
    ASSERT_TRUE(pump_until([] { return FindWindowW(L"QdCycH", nullptr) != nullptr; }));  // the last one: all are there
    HWND hwndA = FindWindowW(L"QdCycA", nullptr), hwndB = FindWindowW(L"QdCycB", nullptr);
    // A folder path shorter than the program paths: neither kind is cut to the other's length.
    const std::wstring dir = temp(L"C:\\qd_e2e", true);
    helpers.push_back(start_exe(beside_exe(L"QdFileExplorer.exe"), L"\"" + dir + L"\""));  // a folder window
    HWND hwndF = wait_window(QD_STANDIN_FOLDER_CLASS, nullptr, helpers.back().dwProcessId);
    ASSERT_TRUE(hwndA && hwndB && hwndF);
    SetWindowPos(hwndF, nullptr, 300, 260, 560, 380, SWP_NOZORDER | SWP_NOACTIVATE);

    drv::click(hwndMain, 1);  // Scan
    HWND hwndList = wait_window(L"List of Windows");
    ASSERT_NE(nullptr, hwndList);
    HWND hwndLV = GetDlgItem(hwndList, 4);
    const int rA = drv::lv_row(hwndLV, L"Cycle alpha"), rB = drv::lv_row(hwndLV, L"Cycle beta"), rF = drv::lv_row(hwndLV, L"qd_e2e");
    ASSERT_TRUE(rA >= 0 && rB >= 0 && rF >= 0) << rA << " " << rB << " " << rF;
    EXPECT_EQ(-1, drv::lv_row(hwndLV, L"Cycle hidden"));
    EXPECT_EQ((Geom{100, 120, 400, 300}), drv::lv_geom(hwndLV, rA));
    EXPECT_EQ((Geom{640, 200, 360, 260}), drv::lv_geom(hwndLV, rB));
    EXPECT_EQ((Geom{300, 260, 560, 380}), drv::lv_geom(hwndLV, rF));
    EXPECT_EQ("0", standin_refs(refs)) << "the scan kept references the shell handed out";
    EXPECT_TRUE(drv::screenshot(hwndList, L"list_of_windows.png"));

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
    EXPECT_EQ((Geom{120, 40, 800, 600}), drv::lv_geom(hwndLV, rA));

    // Move: the ticked windows go to their cells; the user moved B, which is not ticked.
    SetWindowPos(hwndB, nullptr, 50, 600, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(drv::lv_tick(hwndLV, rA) && drv::lv_tick(hwndLV, rF));
    drv::click(hwndList, 1);
    EXPECT_TRUE(until([&] { return drv::geom(hwndA) == Geom{120, 40, 800, 600} && drv::geom(hwndF) == Geom{300, 260, 560, 380}; }));
    drv::sync(hwndList);  // Move is over and
    drv::sync(hwndB);     // B has had every move sent to it
    EXPECT_EQ((Geom{50, 600, 200, 150}), drv::geom(hwndB)) << "an unticked window was moved";

    // Create Profile: the ticked rows in list order, the folder as kind 0.
    const std::wstring path = temp(L"qd_e2e_saved.qdp");
    HWND hwndSave = create_profile(hwndList, L"Cycle profile", path);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwndSave); }));
    drv::sync(hwndList);  // the file is written
    std::vector<QdTestEntry> entries = {{1, u16(fixture_exe()), 120, 40, 800, 600}, {0, u16(dir), 300, 260, 560, 380}};
    if (rF < rA) std::swap(entries[0], entries[1]);
    const std::vector<uint8_t> saved = qd_profile_bytes(entries, u"Cycle profile");
    EXPECT_EQ(saved, read_file(path));

    // Saving over it: the dialog asks, the program refuses, the file stays.
    hwndSave = create_profile(hwndList, L"Other", path);
    HWND hwndAsk = wait_box(hwndSave);
    ASSERT_NE(nullptr, hwndAsk) << "no overwrite question";
    press(hwndAsk, IDYES);
    HWND hwndExists = wait_box(hwndSave);
    ASSERT_NE(nullptr, hwndExists);
    EXPECT_EQ(L"File already exists", drv::box_text(hwndExists));
    press(hwndExists, IDOK);
    EXPECT_EQ(saved, read_file(path)) << "the existing file was changed";
}

TEST_F(CycleTest, LoadRefusesABrokenFileThenPlacesAppliesAndLoadsADrop)
{
    const std::wstring dir = temp(L"qd_e2e_load_dir", true), path = temp(L"qd_e2e_load.qdp"), broken = temp(L"qd_e2e_broken.qdp");
    const std::vector<QdTestEntry> entries = {{1, u16(fixture_exe()), 800, 90, 640, 420}, {0, u16(dir), 820, 550, 500, 380}};
    std::vector<uint8_t> bytes = qd_profile_bytes(entries, u"Cycle load");
    ASSERT_TRUE(write_file(path, bytes));
    bytes[39] = 0x7F;  // the first path's length runs past the end of the file
    ASSERT_TRUE(write_file(broken, bytes));

    // The broken file: its report, with nothing started before it (a start
    // would have come first: the command runs on one thread).
    const int iFixtures = drv::processes_named(L"qd_fixture.exe");
    ASSERT_TRUE(drv::post_drop(hwndMain, broken));
    HWND hwndReport = wait_box();
    ASSERT_NE(nullptr, hwndReport);
    EXPECT_EQ(iFixtures, drv::processes_named(L"qd_fixture.exe")) << "a program of the broken file was started";
    EXPECT_NE(std::wstring::npos, drv::box_text(hwndReport).find(
                                      L"invalid profile file: the path lengths (data read from file) run past the end of the file"));
    press(hwndReport, IDOK);
    press(wait_box(), IDOK);  // the drop's own report
    EXPECT_EQ(0, profiles());

    // Through the Open dialog: the program starts, the folder opens, both
    // are placed (beside the main window), no box.
    HWND hwndP = nullptr, hwndD = nullptr;
    auto placed = [&] {
        hwndP = FindWindowW(L"QdLoaded", nullptr);
        hwndD = FindWindowW(QD_STANDIN_FOLDER_CLASS, L"qd_e2e_load_dir");
        return drv::geom(hwndP) == Geom{800, 90, 640, 420} && drv::geom(hwndD) == Geom{820, 550, 500, 380} && !IsIconic(hwndP) &&
               !IsIconic(hwndD);
    };
    drv::click(hwndMain, 2);  // Load Profile
    HWND hwndOpen = wait_box();
    ASSERT_TRUE(drv::file_dialog_accept(hwndOpen, path));
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwndOpen); }));
    ASSERT_TRUE(until([&] { return profiles() == 1; }, 20000));
    EXPECT_EQ(L"Cycle load", drv::text(GetDlgItem(hwndMain, 4)));
    EXPECT_EQ("0", standin_refs(refs)) << "the load kept references the shell handed out";
    EXPECT_TRUE(until(placed));
    EXPECT_TRUE(drv::screenshot(hwndMain, L"main_window_loaded.png"));

    // Apply: Minimize; the user brings the folder back elsewhere; Restore; Close.
    apply(0);
    EXPECT_TRUE(until([&] { return IsIconic(hwndP) && IsIconic(hwndD); }));
    ShowWindow(hwndD, SW_RESTORE);
    SetWindowPos(hwndD, nullptr, 300, 500, 250, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    apply(1);
    EXPECT_TRUE(until(placed));
    apply(2);
    EXPECT_TRUE(until([&] { return !IsWindow(hwndP) && !IsWindow(hwndD); }));
    drv::sync(hwndMain);
    EXPECT_EQ(0, profiles()) << "the closed profile is still listed";

    // The same file dropped on the main window.
    ASSERT_TRUE(drv::post_drop(hwndMain, path));
    ASSERT_TRUE(until([&] { return profiles() == 1; }, 20000));
    EXPECT_TRUE(until(placed));
    EXPECT_EQ("0", standin_refs(refs));
}
