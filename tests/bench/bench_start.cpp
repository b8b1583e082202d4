// Cold start: from process creation to a painted main window.
//
// The program and an empty window program (qd_empty_window) are started in
// turn, the same way. For each start: when the main window (found by its
// class) is visible, and when a pixel near the top of its client area on
// the screen shows the background colour the window paints (the top of
// the program's gradient, the empty program's class brush). The program is
// then closed with WM_CLOSE and waited for.
//
//   qd_bench_start.exe [runs] [NAME=FILE.exe...]   (default 10 runs)
//
// Each NAME=FILE.exe (a build of the program from elsewhere, beside this
// one) takes its turn with the two, so an earlier build can be compared in
// the same run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"

using bench::now_ms;

namespace {

struct Target {
    std::wstring exe;
    const wchar_t* ptcClass;
    std::string name;
    std::vector<double> visible, painted;
};

// The top colour of the background: RGB(0x16, 0xFA, 0xFA), a few rows down.
bool background_colour(COLORREF c)
{
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return r >= 0x10 && r <= 0x30 && g >= 0xF0 && b >= 0xF0;
}

COLORREF screen_pixel(int x, int y)
{
    HDC hdc = GetDC(nullptr);
    const COLORREF c = GetPixel(hdc, x, y);
    ReleaseDC(nullptr, hdc);
    return c;
}

void close_and_wait(HWND hwnd, const PROCESS_INFORMATION& pi)
{
    if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        std::printf("  the program did not end after WM_CLOSE: terminated\n");
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

// One start; false when the window never appeared or never painted.
bool run_once(Target* t, bool bKeep)
{
    if (HWND old = FindWindowW(t->ptcClass, nullptr)) {  // a leftover would answer instead
        PostMessageW(old, WM_CLOSE, 0, 0);
        Sleep(500);
    }
    PROCESS_INFORMATION pi;
    const double t0 = now_ms();
    if (!bench::start_process(bench::sibling_exe(t->exe.c_str()), L"", &pi)) {
        std::printf("  %s did not start (error %lu)\n", t->name.c_str(), GetLastError());
        return false;
    }
    const double tEnd = t0 + 20000;
    HWND hwnd = nullptr;
    double tVisible = 0, tPainted = 0;
    POINT pt = {};
    while (now_ms() < tEnd) {
        if (!hwnd) {
            HWND h = FindWindowW(t->ptcClass, nullptr);
            if (h && IsWindowVisible(h)) {
                tVisible = now_ms();
                hwnd = h;
                pt = {6, 3};
                ClientToScreen(hwnd, &pt);
            }
        }
        if (hwnd && background_colour(screen_pixel(pt.x, pt.y))) {
            tPainted = now_ms();
            break;
        }
        Sleep(1);
    }
    close_and_wait(hwnd, pi);
    if (!tPainted) {
        std::printf("  %s: %s within 20 s\n", t->name.c_str(), hwnd ? "window never painted" : "no window");
        return false;
    }
    std::printf("  %s: visible %.1f ms, painted %.1f ms%s\n", t->name.c_str(), tVisible - t0, tPainted - t0,
                bKeep ? "" : " (warm-up)");
    std::fflush(stdout);
    if (bKeep) {
        t->visible.push_back(tVisible - t0);
        t->painted.push_back(tPainted - t0);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int iRuns = argc > 1 ? std::atoi(argv[1]) : 10;
    if (iRuns < 1) iRuns = 1;
    std::vector<Target> targets = {{L"quorvel-dint.exe", L"prg_wnds_layout", "quorvel-dint", {}, {}},
                                   {L"qd_empty_window.exe", L"QdBenchEmptyWindow", "empty window", {}, {}}};
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t uiEq = arg.find('=');
        if (uiEq == std::string::npos || uiEq == 0) {
            std::printf("start: expected NAME=FILE.exe, not %s\n", argv[i]);
            return 1;
        }
        targets.push_back({std::wstring(arg.begin() + uiEq + 1, arg.end()), L"prg_wnds_layout", arg.substr(0, uiEq), {}, {}});
    }
    const size_t uiN = targets.size();
    for (int r = -1; r < iRuns; ++r)  // one warm-up start of each
        for (size_t k = 0; k < uiN; ++k)  // rotate which one starts first
            if (!run_once(&targets[(k + static_cast<size_t>(r + 1)) % uiN], r >= 0)) return 1;

    const double e = bench::median(targets[1].painted), ev = bench::median(targets[1].visible);
    std::printf("\n| program | window visible ms | painted ms | painted min / max ms |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (const Target& t : targets)
        std::printf("| %s | %.1f | %.1f | %.1f / %.1f |\n", t.name.c_str(), bench::median(t.visible), bench::median(t.painted),
                    bench::min_of(t.painted), bench::max_of(t.painted));
    for (size_t k = 0; k < uiN; ++k) {
        if (k == 1) continue;
        const Target& t = targets[k];
        std::printf("| difference%s%s | %.1f | %.1f | |\n", k ? ", " : "", k ? t.name.c_str() : "",
                    bench::median(t.visible) - ev, bench::median(t.painted) - e);
    }
    std::printf("(median of %d starts each; difference = program - empty window)\n", iRuns);
    return 0;
}
