// Creates the real main window in the test process and pumps its messages.
#pragma once
#include <windows.h>

#include "box_recorder.h"
#include "win_support.h"

void pump_messages(DWORD dwMilliseconds = 0);

// Client-relative rectangle of a child window.
RECT child_rect(HWND hwndParent, HWND hwndChild);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND hwnd = nullptr;
    BoxRecorder* rec = nullptr;
};
