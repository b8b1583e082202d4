// A loaded program that shows a splash window before its main window, on
// the real program: the tool answers the user while the program settles,
// then the main window is in place and Apply acts on it.
#include "driver.h"
#include "linux_tools.h"
#include "profile_bytes.h"

TEST_F(ProgramTest, WhileALoadedProgramSwapsItsSplashForItsMainWindowTheToolAnswersThenActsOnTheMainWindow)
{
    const std::wstring exe = temp(L"qd_splash.exe"), windows = temp(L"qd_splash.exe.windows");
    ASSERT_TRUE(CopyFileW(fixture_exe().c_str(), exe.c_str(), FALSE));
    const std::wstring desc = L"caption=Splash;class=QdSplash;life=1500|caption=Main;class=QdSplash;x=0;y=0;w=300;h=200;delay=2500";
    write_file(windows, std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(desc.data()),
                                             reinterpret_cast<const uint8_t*>(desc.data() + desc.size())));
    const std::wstring profile = temp(L"qd_splash_profile.txt");
    write_file(profile, qd_profile_bytes({{1, u16(exe), 150, 100, 640, 420}}, u"Splash"));
    const POINT ptPicture = {drv::geom(hwndMain)[0] + 100, drv::geom(hwndMain)[1] + 100};
    ASSERT_EQ(QD_XDND_DROPPED, qd_xdnd_drop(beside_exe(L""), ptPicture, profile));
    ASSERT_TRUE(until([&] { return SendMessageW(GetDlgItem(hwndMain, 4), CB_GETCOUNT, 0, 0) == 1; }, 20000));

    // The splash is still up: a click on Load Profile opens its dialog.
    drv::click(hwndMain, 2);
    HWND hwndOpen = wait_box();
    ASSERT_NE(nullptr, hwndOpen);
    EXPECT_EQ(nullptr, FindWindowW(L"QdSplash", L"Main"));
    drv::click(hwndOpen, IDCANCEL);
    ASSERT_TRUE(pump_until([&] { return !IsWindow(hwndOpen); }));

    HWND hwndApp = nullptr;
    EXPECT_TRUE(until([&] { return drv::geom(hwndApp = FindWindowW(L"QdSplash", L"Main")) == drv::Geom{150, 100, 640, 420}; }));
    SendMessageW(GetDlgItem(hwndMain, 5), CB_SETCURSEL, 2, 0);  // Close
    drv::click(hwndMain, 6);
    EXPECT_TRUE(until([&] { return !IsWindow(hwndApp); }));
}
