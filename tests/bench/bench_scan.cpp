// Scan timing against a floor.
//
// The fixture program opens N windows; in this process the Scan command's
// passes then run without the list window (prepare, scratch buffer,
// counting walk, first folder pass, entry buffers, filling walk, trim,
// second folder pass, release), and the floor makes the bare system calls
// those passes make per window, in two walks, with nothing around them.
// Both use an empty folder source, so the shell is not part of either.
//
//   qd_bench_scan.exe [--profile] [repeats] [N...]   (defaults: 15, 100 500 1000)
//
// --profile adds, per N, the time of each system call per window and the
// time of the product's per-window step, to find where a difference lies.
//
// Prints a markdown table (lines starting with "|") and, before it, the
// median time of every phase of the scan and of both floor walks.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"
#include "funcs_layout_windows/explorer_folders.h"
#include "funcs_layout_windows/scan_command.h"
#include "funcs_layout_windows/scan_passes.h"
#include "platform/zt_win.h"
#include "scan_store.h"
#include "window_rules.h"

using bench::now_ms;

namespace {

STR_ShellWalk walk_nothing(void*, QD_ShellFolderFound, void*) { return {true, S_OK}; }
const STR_ShellFolderSource kNoFolders = {walk_nothing, nullptr};

// ---- the scan, as the Scan command runs it, without the list window -----------

enum Phase { PH_PREPARE, PH_COUNT, PH_FOLDERS1, PH_ALLOC, PH_FILL, PH_FOLDERS2, PH_RELEASE, PH_N };
const char* const kPhaseNames[PH_N] = {"prepare+scratch", "counting walk", "folders 1", "entry buffers",
                                      "filling walk+trim", "folders 2", "release"};

bool allocate_entry_buffers(STR_ENUM_WNDS_DATA* pSTR)
{
    STR_ScanBufSizes s = {};
    if (scan_buffer_sizes(pSTR->counter_valid, pSTR->uiMaxLen_inBytes_AllPath, &s) < 0) return false;
    pSTR->arr1D_ui_LenPath = static_cast<uint32_t*>(zt_VirtualAlloc(s.ui_LenPath));
    pSTR->arr1D_uc_flag_FP = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_flag_FP));
    pSTR->pcDynMem_GeomText = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_GeomText));
    pSTR->pcDynMem_WinHndls = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_WinHndls));
    pSTR->pcDynMem_FullPaths = static_cast<uint8_t*>(zt_VirtualAlloc(s.ui_FullPaths));
    return pSTR->arr1D_ui_LenPath && pSTR->arr1D_uc_flag_FP && pSTR->pcDynMem_GeomText && pSTR->pcDynMem_WinHndls &&
           pSTR->pcDynMem_FullPaths;
}

// One scan; phase times into ph, the number of entries filled into *puiN.
bool run_scan(double ph[PH_N], uint32_t* puiN)
{
    STR_ENUM_WNDS_DATA s = {};
    double t[PH_N + 1];
    t[0] = now_ms();
    scan_store_prepare(&s);
    s.pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zt_VirtualAlloc(s.uiSize_TmpBuf_Path));
    if (!s.pcTmpBuf_Prg_Folder_Path) return false;
    s.counter_valid = 0;
    s.uiMaxLen_inBytes_PrgPath = 0;
    s.uiMaxLen_inBytes_FolderPath = 0;
    t[1] = now_ms();
    if (!EnumWindows(EnumWindowsProc_Calc, reinterpret_cast<LPARAM>(&s))) return false;
    t[2] = now_ms();
    GetCurrentExplorerFolders_01(&s);
    s.uiMaxLen_inBytes_AllPath = s.uiMaxLen_inBytes_PrgPath > s.uiMaxLen_inBytes_FolderPath ? s.uiMaxLen_inBytes_PrgPath
                                                                                              : s.uiMaxLen_inBytes_FolderPath;
    if (s.counter_valid == 0 || s.uiMaxLen_inBytes_AllPath == 0) return false;
    t[3] = now_ms();
    if (!allocate_entry_buffers(&s)) return false;
    s.counter_filled = 0;
    t[4] = now_ms();
    if (!EnumWindows(EnumWindowsProc_Calc_02, reinterpret_cast<LPARAM>(&s))) return false;
    *puiN = scan_store_trim(&s);
    t[5] = now_ms();
    GetCurrentExplorerFolders_02(&s);
    t[6] = now_ms();
    scan_store_release_win(&s);
    t[7] = now_ms();
    for (int i = 0; i < PH_N; ++i) ph[i] = t[i + 1] - t[i];
    return true;
}

// ---- the floor: the same system calls, bare ------------------------------------

struct FloorWalk {
    wchar_t* ptcPath;  // as large as the scan's scratch buffer
    DWORD uiPathChars;
    uint32_t uiN;      // windows that reached the path query
    LONG_PTR sink;     // keeps the results alive
};

// Visible, a caption, a class outside the excluded list, the process
// opened and its module path read: the calls of the counting walk.
BOOL CALLBACK floor_walk1(HWND hwnd, LPARAM lParam)
{
    FloorWalk* f = reinterpret_cast<FloorWalk*>(lParam);
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t tcCaption[512];
    if (SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(tcCaption)) <= 0) return TRUE;
    wchar_t tcClass[250];
    GetClassNameW(hwnd, tcClass, 250);
    if (is_excluded_class(zt_Q(tcClass))) return TRUE;
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwPid);
    if (!hProcess) return TRUE;
    f->sink += GetModuleFileNameExW(hProcess, nullptr, f->ptcPath, f->uiPathChars);
    CloseHandle(hProcess);
    ++f->uiN;
    return TRUE;
}

// The filling walk's calls: the same, a larger caption buffer, and the
// text length, rectangle and minimised state of each eligible window.
BOOL CALLBACK floor_walk2(HWND hwnd, LPARAM lParam)
{
    FloorWalk* f = reinterpret_cast<FloorWalk*>(lParam);
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t tcCaption[1000];
    if (SendMessageW(hwnd, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(tcCaption)) <= 0) return TRUE;
    wchar_t tcClass[250];
    GetClassNameW(hwnd, tcClass, 250);
    if (is_excluded_class(zt_Q(tcClass))) return TRUE;
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwPid);
    if (!hProcess) return TRUE;
    f->sink += GetModuleFileNameExW(hProcess, nullptr, f->ptcPath, f->uiPathChars);
    CloseHandle(hProcess);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    f->sink += rc.left + IsIconic(hwnd) + GetWindowTextLengthW(hwnd);
    ++f->uiN;
    return TRUE;
}

bool run_floor(double* pWalk1, double* pWalk2, uint32_t* puiN)
{
    static wchar_t tcPath[QD_SCAN_TMPBUF_BYTES / 2];
    FloorWalk f = {tcPath, QD_SCAN_TMPBUF_BYTES / 2 - 1, 0, 0};
    const STR_ShellFolderSource* pSrc = explorer_folder_source();
    const double t0 = now_ms();
    if (!EnumWindows(floor_walk1, reinterpret_cast<LPARAM>(&f))) return false;
    pSrc->pfnWalk(pSrc->pCtx, nullptr, nullptr);
    const double t1 = now_ms();
    f.uiN = 0;
    if (!EnumWindows(floor_walk2, reinterpret_cast<LPARAM>(&f))) return false;
    pSrc->pfnWalk(pSrc->pCtx, nullptr, nullptr);
    const double t2 = now_ms();
    *pWalk1 = t1 - t0;
    *pWalk2 = t2 - t1;
    *puiN = f.uiN;
    return true;
}

// ---- where the time of one window goes ------------------------------------------
// A third walk times each system call of the floor's counting walk; then
// the product's per-window step (scan_window_facts) is timed as a whole
// with its process queries timed from inside, so the two can be compared
// call by call.

enum Call { C_VISIBLE, C_GETTEXT, C_CLASS, C_PID, C_OPEN, C_MODULE, C_CLOSE, C_N };
const char* const kCallNames[C_N] = {"IsWindowVisible", "WM_GETTEXT", "GetClassNameW", "GetWindowThreadProcessId",
                                     "OpenProcess", "GetModuleFileNameExW", "CloseHandle"};

struct CallWalk {
    double t[C_N];
    wchar_t* ptcPath;
    DWORD uiPathChars;
};

BOOL CALLBACK timed_walk(HWND hwnd, LPARAM lParam)
{
    CallWalk* c = reinterpret_cast<CallWalk*>(lParam);
    double a = now_ms(), b;
    const BOOL bVisible = IsWindowVisible(hwnd);
    b = now_ms(); c->t[C_VISIBLE] += b - a; a = b;
    if (!bVisible) return TRUE;
    wchar_t tcCaption[512];
    const LRESULT n = SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(tcCaption));
    b = now_ms(); c->t[C_GETTEXT] += b - a; a = b;
    if (n <= 0) return TRUE;
    wchar_t tcClass[250];
    GetClassNameW(hwnd, tcClass, 250);
    b = now_ms(); c->t[C_CLASS] += b - a;
    if (is_excluded_class(zt_Q(tcClass))) return TRUE;
    a = now_ms();
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    b = now_ms(); c->t[C_PID] += b - a; a = b;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwPid);
    b = now_ms(); c->t[C_OPEN] += b - a; a = b;
    if (!hProcess) return TRUE;
    GetModuleFileNameExW(hProcess, nullptr, c->ptcPath, c->uiPathChars);
    b = now_ms(); c->t[C_MODULE] += b - a; a = b;
    CloseHandle(hProcess);
    b = now_ms(); c->t[C_CLOSE] += b - a;
    return TRUE;
}

// The product's queries, timed.
double g_tOpen = 0, g_tModule = 0;
HANDLE timed_open(void* pCtx, DWORD dwPid)
{
    const double a = now_ms();
    HANDLE h = scan_system_proc_queries()->pfnOpen(pCtx, dwPid);
    g_tOpen += now_ms() - a;
    return h;
}
DWORD timed_module(void* pCtx, HANDLE hProcess, wchar_t* ptcBuf, DWORD uiN)
{
    const double a = now_ms();
    const DWORD n = scan_system_proc_queries()->pfnModuleFileName(pCtx, hProcess, ptcBuf, uiN);
    g_tModule += now_ms() - a;
    return n;
}

struct FactsWalk {
    STR_ENUM_WNDS_DATA* pSTR;
    double t;
};

BOOL CALLBACK facts_walk(HWND hwnd, LPARAM lParam)
{
    FactsWalk* f = reinterpret_cast<FactsWalk*>(lParam);
    wchar_t tcCaption[512];
    STR_WndFacts facts = {};
    const double a = now_ms();
    scan_window_facts(hwnd, tcCaption, 512, f->pSTR, &facts);
    f->t += now_ms() - a;
    return TRUE;
}

void profile_calls(int iN, int iRepeats)
{
    static wchar_t tcPath[QD_SCAN_TMPBUF_BYTES / 2];
    std::vector<double> calls[C_N], facts, open, module;
    STR_ENUM_WNDS_DATA s = {};
    scan_store_prepare(&s);
    s.pcTmpBuf_Prg_Folder_Path = static_cast<uint8_t*>(zt_VirtualAlloc(s.uiSize_TmpBuf_Path));
    const STR_ProcQueries timed = {timed_open, timed_module, scan_system_proc_queries()->pfnImageName, nullptr};
    for (int r = 0; r < iRepeats; ++r) {
        CallWalk c = {{}, tcPath, QD_SCAN_TMPBUF_BYTES / 2 - 1};
        EnumWindows(timed_walk, reinterpret_cast<LPARAM>(&c));
        for (int i = 0; i < C_N; ++i) calls[i].push_back(c.t[i]);
        scan_set_proc_queries(&timed);
        g_tOpen = g_tModule = 0;
        FactsWalk f = {&s, 0};
        EnumWindows(facts_walk, reinterpret_cast<LPARAM>(&f));
        scan_set_proc_queries(nullptr);
        facts.push_back(f.t);
        open.push_back(g_tOpen);
        module.push_back(g_tModule);
    }
    scan_store_release_win(&s);
    double total = 0;
    std::printf("  per call, N=%d, median over %d walks, us per fixture window:", iN, iRepeats);
    for (int i = 0; i < C_N; ++i) {
        const double m = bench::median(calls[i]);
        total += m;
        std::printf(" %s %.1f;", kCallNames[i], 1000.0 * m / iN);
    }
    std::printf(" sum %.1f\n", 1000.0 * total / iN);
    std::printf("  the product's window step (scan_window_facts): %.1f us per window, of which OpenProcess %.1f, module path %.1f\n",
                1000.0 * bench::median(facts) / iN, 1000.0 * bench::median(open) / iN, 1000.0 * bench::median(module) / iN);
}

// ---- the fixture ---------------------------------------------------------------

struct Fixture {
    PROCESS_INFORMATION pi{};
    bool start(int iN)
    {
        const std::wstring event = L"QdBenchScanReady_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(iN);
        HANDLE hReady = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        if (!hReady) return false;
        const std::wstring args = L"--ready-event " + event + L" --count " + std::to_wstring(iN);
        bool bOk = bench::start_process(bench::sibling_exe(L"qd_fixture.exe"), args, &pi);
        if (bOk) {
            HANDLE h[2] = {hReady, pi.hProcess};
            bOk = WaitForMultipleObjects(2, h, FALSE, 180000) == WAIT_OBJECT_0;
        }
        CloseHandle(hReady);
        return bOk;
    }
    void stop()
    {
        if (!pi.hProcess) return;
        bench::close_class_windows(L"QdFixBench", 60000);
        if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        pi = PROCESS_INFORMATION{};
    }
};

struct Row {
    int iN;
    uint32_t uiEligible;
    double scan, floor, paired;
};

}  // namespace

int main(int argc, char** argv)
{
    int iRepeats = 15;
    std::vector<int> counts;
    bool bProfile = false;
    int iArg = 1;
    if (argc > iArg && std::string(argv[iArg]) == "--profile") {
        bProfile = true;
        ++iArg;
    }
    if (argc > iArg) iRepeats = std::atoi(argv[iArg++]);
    for (; iArg < argc; ++iArg) counts.push_back(std::atoi(argv[iArg]));
    if (counts.empty()) counts = {100, 500, 1000};
    if (iRepeats < 1) iRepeats = 1;

    bench::BoxCount boxes;
    zt_SetBoxHook(bench::count_box, &boxes);
    explorer_set_folder_source(&kNoFolders);

    std::vector<Row> rows;
    for (int iN : counts) {
        Fixture fx;
        if (!fx.start(iN)) {
            std::printf("scan: the fixture with %d windows did not get ready\n", iN);
            fx.stop();
            return 1;
        }
        Sleep(300);  // let the display settle after the windows were shown
        const size_t uiSeen = bench::windows_of_class(L"QdFixBench", true).size();

        std::vector<double> scan, floor, paired, ph[PH_N], fw1, fw2;
        uint32_t uiScanN = 0, uiFloorN = 0;
        bool bOk = true;
        for (int r = -2; r < iRepeats && bOk; ++r) {  // two warm-up rounds
            double p[PH_N] = {}, w1 = 0, w2 = 0;
            // Alternate the order so neither side always runs second.
            for (int k = 0; k < 2 && bOk; ++k) {
                if ((k == 0) == (r % 2 == 0)) {
                    bOk = run_scan(p, &uiScanN);
                } else {
                    bOk = run_floor(&w1, &w2, &uiFloorN);
                }
            }
            if (r < 0 || !bOk) continue;
            double total = 0;
            for (int i = 0; i < PH_N; ++i) {
                ph[i].push_back(p[i]);
                total += p[i];
            }
            scan.push_back(total);
            floor.push_back(w1 + w2);
            paired.push_back(total / (w1 + w2));
            fw1.push_back(w1);
            fw2.push_back(w2);
        }
        if (bOk && bProfile) profile_calls(iN, iRepeats);
        fx.stop();
        if (!bOk) {
            std::printf("scan: a scan or floor run failed with %d windows\n", iN);
            return 1;
        }
        std::printf("N=%d: fixture windows visible %zu, entries filled %u, floor windows %u, boxes %d\n", iN, uiSeen,
                    uiScanN, uiFloorN, boxes.iCount);
        std::printf("  scan phases (median ms):");
        for (int i = 0; i < PH_N; ++i) std::printf(" %s %.3f;", kPhaseNames[i], bench::median(ph[i]));
        std::printf("\n  floor walks (median ms): walk 1 %.3f; walk 2 %.3f\n", bench::median(fw1), bench::median(fw2));
        std::printf("  scan min/max %.2f/%.2f ms, floor min/max %.2f/%.2f ms\n", bench::min_of(scan), bench::max_of(scan),
                    bench::min_of(floor), bench::max_of(floor));
        std::fflush(stdout);
        rows.push_back({iN, uiScanN, bench::median(scan), bench::median(floor), bench::median(paired)});
    }
    if (boxes.iCount) std::wprintf(L"boxes shown during the runs: %d, first: %ls\n", boxes.iCount, boxes.first.c_str());

    std::printf("\n| windows | listed | scan ms | floor ms | scan / floor | paired ratio | scan ms per window | floor ms per window |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& r : rows)
        std::printf("| %d | %u | %.1f | %.1f | %.3f | %.3f | %.3f | %.3f |\n", r.iN, r.uiEligible, r.scan, r.floor,
                    r.floor > 0 ? r.scan / r.floor : 0.0, r.paired, r.scan / r.uiEligible, r.floor / r.uiEligible);
    std::printf("(median of %d runs each; scan / floor = ratio of the medians, paired ratio = median of the\n"
                " ratios of runs made back to back; per window = divided by the listed entries)\n", iRepeats);
    return 0;
}
