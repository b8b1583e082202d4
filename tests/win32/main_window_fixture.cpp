#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "main_prg/main_window.h"

void pump_messages(DWORD dwMilliseconds)
{
    DWORD dwEnd = GetTickCount() + dwMilliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (dwMilliseconds) Sleep(5);
    } while (static_cast<LONG>(GetTickCount() - dwEnd) < 0);
}

RECT child_rect(HWND hwndParent, HWND hwndChild)
{
    RECT rc = {};
    GetWindowRect(hwndChild, &rc);
    MapWindowPoints(nullptr, hwndParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void MainWindowTest::SetUp()
{
    test_register_classes();
    rec = new BoxRecorder();
    hwnd = create_main_window(GetModuleHandleW(nullptr));
    ASSERT_NE(nullptr, hwnd);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    pump_messages();
}

void MainWindowTest::TearDown()
{
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    pump_messages();
    delete rec;
}
