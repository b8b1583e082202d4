// Creates the real main window in the test process and pumps its messages.
#pragma once
#include <windows.h>

#include "box_recorder.h"

void pump_messages(DWORD dwMilliseconds = 0);

// Pumps messages until the condition holds or dwMs pass; whether it held.
template <typename F>
bool pump_until(F f, DWORD dwMs = 5000)
{
    const DWORD dwEnd = GetTickCount() + dwMs;
    for (;;) {
        pump_messages();
        if (f()) return true;
        if (static_cast<LONG>(GetTickCount() - dwEnd) >= 0) return false;
        Sleep(5);
    }
}

// Client-relative rectangle of a child window.
RECT child_rect(HWND hwndParent, HWND hwndChild);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND hwnd = nullptr;
    BoxRecorder* rec = nullptr;
};
