// Starts the real program for a test and closes it afterwards.
#pragma once
#include <gtest/gtest.h>

#include "driver.h"

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts another instance and returns its main window (null on failure).
    HWND start_program();
    // Closes every open box of the program, answering each with OK.
    void dismiss_boxes();

    drv::Process proc;
    HWND hwndMain = nullptr;
    DWORD dwStartMs = 0;  // from CreateProcess to a visible main window
};

// Closes any instance left running by an earlier test.
void close_running_instances();
