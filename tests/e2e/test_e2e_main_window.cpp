// The program file and its main window: resources and a second start. The
// window's layout, minimum size, menus and About box are the Win32 tests'
// cases (the popup menu is also used in the cycle).
#include "driver.h"

TEST_F(ProgramTest, FileNamesTheProductCarriesIconAndManifestAndTheWindowStartsOnce)
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
    FreeLibrary(h);

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
