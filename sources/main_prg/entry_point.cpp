#include "main_prg/main_window.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int nCmdShow)
{
    return run_program(hInstance, nCmdShow);
}
