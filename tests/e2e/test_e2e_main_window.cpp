// The program file and its main window: resources, the laid-out controls,
// the minimum size, About, and a second start.
#include "driver.h"

using drv::Geom;

TEST(ProgramFile, NamesTheProductAndCarriesIconMenusAndManifest)
{
    const std::wstring exe = beside_exe(L"quorvel-dint.exe");
    std::vector<uint8_t> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr) + 1);
    wchar_t* ptc = nullptr;
    UINT uiLen = 0;
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) &&
                VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\ProductName", reinterpret_cast<void**>(&ptc), &uiLen));
    EXPECT_STREQ(L"Quorvel-Dint", ptc);

    HMODULE h = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hManifest = FindResourceW(h, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(h && hManifest);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(h, hManifest))), SizeofResource(h, hManifest));
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(nullptr, FindResourceW(h, MAKEINTRESOURCEW(200), RT_GROUP_ICON));
    HMENU hMain = LoadMenuW(h, L"menu_main"), hPopup = LoadMenuW(h, L"menu_popup_ModifyCell");
    wchar_t tc[32] = {};
    GetMenuStringW(hMain, 9, tc, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"About", tc);
    GetMenuStringW(GetSubMenu(hPopup, 0), 101, tc, 32, MF_BYCOMMAND);
    EXPECT_STREQ(L"Modify Cell", tc);
    DestroyMenu(hMain);
    DestroyMenu(hPopup);
    FreeLibrary(h);
}

TEST_F(ProgramTest, MainWindowLaysOutKeepsItsMinimumShowsAboutAndStartsOnce)
{
    // Scan, Load Profile, Profile list, Action list, Apply in the client area.
    auto controls = [&] {
        std::vector<Geom> v;
        for (int id : {1, 2, 4, 5, 6}) {
            RECT rc = {};
            GetWindowRect(GetDlgItem(hwndMain, id), &rc);
            MapWindowPoints(nullptr, hwndMain, reinterpret_cast<POINT*>(&rc), 2);
            v.push_back(Geom{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top});
        }
        return v;
    };
    ASSERT_TRUE(GetSystemMetrics(SM_CXSCREEN) == 1920 && GetSystemMetrics(SM_CYSCREEN) == 1080) << "the numbers are for this screen";
    EXPECT_EQ(L"Quorvel-Dint", drv::text(hwndMain));
    EXPECT_EQ(768, drv::geom(hwndMain)[2]);
    EXPECT_EQ(486, drv::geom(hwndMain)[3]);
    // A 760 x 440 client area: the right-hand column at 5 + 531 + 25.
    EXPECT_EQ((std::vector<Geom>{{561, 5, 115, 37}, {561, 47, 115, 37}, {561, 167, 184, 28}, {561, 238, 184, 28}, {561, 280, 115, 37}}),
              controls());
    EXPECT_TRUE(drv::screenshot(hwndMain, L"main_window.png"));

    // Smaller than the minimum, then larger (a 1292 x 714 client area): laid out again.
    SetWindowPos(hwndMain, nullptr, 10, 20, 300, 200, SWP_NOZORDER);
    EXPECT_EQ((Geom{10, 20, 768, 486}), drv::geom(hwndMain));
    SetWindowPos(hwndMain, nullptr, 10, 20, 1300, 760, SWP_NOZORDER);
    EXPECT_EQ((std::vector<Geom>{{934, 5, 115, 37}, {934, 47, 115, 37}, {934, 167, 343, 28}, {934, 238, 343, 28}, {934, 280, 115, 37}}),
              controls());

    PostMessageW(hwndMain, WM_COMMAND, 9, 0);  // the About menu command
    HWND hwndAbout = wait_box();
    ASSERT_NE(nullptr, hwndAbout);
    EXPECT_EQ(L"About", drv::text(hwndAbout));
    EXPECT_EQ(0u, drv::box_text(hwndAbout).find(L"This small software utility \"Quorvel-Dint\" is intended for keeping your "
                                                  L"folders and programs layout organized.\n\nManufacturer: "));
    EXPECT_NE(std::wstring::npos, drv::box_text(hwndAbout).find(L"\n\nrelease date: 20"));
    press(hwndAbout, IDOK);

    // A second start raises the minimised first one and ends with 0.
    ShowWindow(hwndMain, SW_MINIMIZE);
    helpers.push_back(start_exe(beside_exe(L"quorvel-dint.exe"), L""));
    HANDLE hSecond = helpers.back().hProcess;
    pump_until([&] { return WaitForSingleObject(hSecond, 0) == WAIT_OBJECT_0 || windows_of_class(L"prg_wnds_layout").size() > 1; }, 10000);
    DWORD dwCode = STILL_ACTIVE;
    GetExitCodeProcess(hSecond, &dwCode);
    EXPECT_EQ(0u, dwCode);
    EXPECT_EQ(1u, windows_of_class(L"prg_wnds_layout").size());
    EXPECT_TRUE(pump_until([&] { return !IsIconic(hwndMain); }));
    EXPECT_EQ(hwndMain, GetForegroundWindow());
}
