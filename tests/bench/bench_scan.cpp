// Scan timing against a floor.
//
// Fixture programs open N windows in P processes (N / P each); in this
// process the Scan command's passes then run without the list window
// (prepare, scratch buffer, counting walk, first folder pass, entry
// buffers, filling walk, trim, second folder pass, release), as the
// command runs them: each process asked once for the two walks. The same
// passes also run without that, every window asking again, as the Scan
// did before ("per window"). The floor makes the bare system calls the
// per-window Scan makes, in two walks, with nothing around them. All three
// use an empty folder source, so the shell is part of none, and they take
// turns in every round.
//
//   qd_bench_scan.exe [--profile] [repeats] [NxP...]   (defaults: 15, 100x50 1000x100)
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
#include <memory>
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

// The system's process queries, counted: how often a scan opens a
// process and reads a path.
int g_iOpens = 0, g_iPathQueries = 0;
HANDLE counted_open(void* pCtx, DWORD dwPid)
{
    ++g_iOpens;
    return scan_system_proc_queries()->pfnOpen(pCtx, dwPid);
}
DWORD counted_module(void* pCtx, HANDLE hProcess, wchar_t* ptcBuf, DWORD uiN)
{
    ++g_iPathQueries;
    return scan_system_proc_queries()->pfnModuleFileName(pCtx, hProcess, ptcBuf, uiN);
}

// One scan; phase times into ph, the number of entries filled into *puiN.
// bAskOnce: each process asked once for both walks, as the Scan command
// does; otherwise every window asks again.
bool run_scan(bool bAskOnce, double ph[PH_N], uint32_t* puiN)
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
    STR_ProcPaths memo;
    s.pProcPaths = bAskOnce ? &memo : nullptr;
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
    s.pProcPaths = nullptr;
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
// A third walk times each system call the floor makes for a window (those
// of the counting walk, then the three the filling walk adds); then the
// product's per-window step (window_eligibility) is timed as a whole in two
// walks under one scope, as a scan makes them, with its process queries
// timed from inside, so the two can be compared call by call.

enum Call { C_VISIBLE, C_GETTEXT, C_CLASS, C_PID, C_OPEN, C_MODULE, C_CLOSE, C_RECT, C_ICONIC, C_TEXTLEN, C_N };
const char* const kCallNames[C_N] = {"IsWindowVisible", "WM_GETTEXT", "GetClassNameW", "GetWindowThreadProcessId",
                                     "OpenProcess", "GetModuleFileNameExW", "CloseHandle", "GetWindowRect",
                                     "IsIconic", "GetWindowTextLengthW"};

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
    b = now_ms(); c->t[C_CLOSE] += b - a; a = b;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    b = now_ms(); c->t[C_RECT] += b - a; a = b;
    IsIconic(hwnd);
    b = now_ms(); c->t[C_ICONIC] += b - a; a = b;
    GetWindowTextLengthW(hwnd);
    b = now_ms(); c->t[C_TEXTLEN] += b - a;
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
    const STR_WndAsk ask = {tcCaption, 512, reinterpret_cast<wchar_t*>(f->pSTR->pcTmpBuf_Prg_Folder_Path),
                            f->pSTR->uiSize_TmpBuf_Path, false, f->pSTR->pProcPaths};
    const double a = now_ms();
    window_eligibility(hwnd, &ask, &facts);
    f->t += now_ms() - a;
    return TRUE;
}

void profile_calls(int iN, int iRepeats)
{
    static wchar_t tcPath[QD_SCAN_TMPBUF_BYTES / 2];
    std::vector<double> calls[C_N], facts1, facts2, facts0, open, module;
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
        FactsWalk f1 = {&s, 0}, f2 = {&s, 0}, f0 = {&s, 0};
        {
            STR_ProcPaths memo;
            s.pProcPaths = &memo;
            EnumWindows(facts_walk, reinterpret_cast<LPARAM>(&f1));
            EnumWindows(facts_walk, reinterpret_cast<LPARAM>(&f2));
            s.pProcPaths = nullptr;
        }
        scan_set_proc_queries(nullptr);
        open.push_back(g_tOpen);
        module.push_back(g_tModule);
        EnumWindows(facts_walk, reinterpret_cast<LPARAM>(&f0));  // a query per window
        facts1.push_back(f1.t);
        facts2.push_back(f2.t);
        facts0.push_back(f0.t);
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
    std::printf("  the product's window step (window_eligibility), us per window: first walk %.1f, second walk %.1f"
                " (in both together OpenProcess %.1f, module path %.1f); with a query per window %.1f\n",
                1000.0 * bench::median(facts1) / iN, 1000.0 * bench::median(facts2) / iN,
                1000.0 * bench::median(open) / iN, 1000.0 * bench::median(module) / iN, 1000.0 * bench::median(facts0) / iN);
}

// ---- the fixture ---------------------------------------------------------------

// N windows of class QdFixBench in P fixture processes. A process that
// ends before its windows are ready (Wine, on a busy machine, now and then
// loses one while it starts) is started again, once.
struct Fixture {
    std::vector<PROCESS_INFORMATION> procs;
    bool launch(const std::wstring& event, int iCount, PROCESS_INFORMATION* pPi)
    {
        return bench::start_process(bench::sibling_exe(L"qd_fixture.exe"),
                                    L"--ready-event " + event + L" --count " + std::to_wstring(iCount), pPi);
    }
    bool start(int iN, int iP)
    {
        const std::wstring base = L"QdBenchScanReady_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::to_wstring(iN) + L"_";
        std::vector<HANDLE> ready;
        bool bOk = true;
        for (int k = 0; k < iP && bOk; ++k) {
            HANDLE h = CreateEventW(nullptr, TRUE, FALSE, (base + std::to_wstring(k)).c_str());
            PROCESS_INFORMATION pi = {};
            bOk = h && launch(base + std::to_wstring(k), iN / iP + (k < iN % iP ? 1 : 0), &pi);
            if (h) ready.push_back(h);
            if (bOk) procs.push_back(pi);
            else std::printf("scan: fixture process %d did not start (error %lu)\n", k, GetLastError());
        }
        for (size_t k = 0; k < ready.size() && bOk; ++k) {
            for (int iTry = 0; iTry < 2; ++iTry) {
                HANDLE h[2] = {ready[k], procs[k].hProcess};
                const DWORD dw = WaitForMultipleObjects(2, h, FALSE, 180000);
                bOk = dw == WAIT_OBJECT_0;
                if (bOk || dw != WAIT_OBJECT_0 + 1) break;
                DWORD dwCode = 0;
                GetExitCodeProcess(procs[k].hProcess, &dwCode);
                std::printf("scan: fixture process %zu ended before it was ready (exit code 0x%lx)%s\n", k, dwCode,
                            iTry ? "" : "; started again");
                CloseHandle(procs[k].hProcess);
                CloseHandle(procs[k].hThread);
                procs[k] = PROCESS_INFORMATION{};
                if (iTry || !launch(base + std::to_wstring(k), iN / iP + (static_cast<int>(k) < iN % iP ? 1 : 0), &procs[k]))
                    break;
            }
        }
        for (HANDLE h : ready) CloseHandle(h);
        return bOk;
    }
    void stop()
    {
        if (procs.empty()) return;
        bench::close_class_windows(L"QdFixBench", 60000);
        for (PROCESS_INFORMATION& pi : procs) {
            if (!pi.hProcess) continue;
            if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
        procs.clear();
    }
};

enum Kind { K_SCAN, K_PER_WINDOW, K_FLOOR, K_N };

struct Row {
    int iN, iP;
    uint32_t uiListed;
    double med[K_N];
    double paired;  // median of scan / floor of the same round
    double opens, queries;  // per scan, as the Scan command runs
};

}  // namespace

int main(int argc, char** argv)
{
    int iRepeats = 15;
    std::vector<std::pair<int, int>> sizes;
    bool bProfile = false;
    int iArg = 1;
    if (argc > iArg && std::string(argv[iArg]) == "--profile") {
        bProfile = true;
        ++iArg;
    }
    if (argc > iArg) iRepeats = std::atoi(argv[iArg++]);
    for (; iArg < argc; ++iArg) {
        int iN = 0, iP = 1;
        if (std::sscanf(argv[iArg], "%dx%d", &iN, &iP) < 1 || iN < 1 || iP < 1 || iP > iN) {
            std::printf("scan: bad size %s (expected N or NxP)\n", argv[iArg]);
            return 1;
        }
        sizes.push_back({iN, iP});
    }
    if (sizes.empty()) sizes = {{100, 50}, {1000, 100}};
    if (iRepeats < 1) iRepeats = 1;

    bench::BoxCount boxes;
    zt_SetBoxHook(bench::count_box, &boxes);
    explorer_set_folder_source(&kNoFolders);
    const STR_ProcQueries counted = {counted_open, counted_module, scan_system_proc_queries()->pfnImageName, nullptr};

    std::vector<Row> rows;
    for (const auto& size : sizes) {
        const int iN = size.first, iP = size.second;
        Fixture fx;
        if (!fx.start(iN, iP)) {
            std::printf("scan: the fixture with %d windows in %d processes did not get ready\n", iN, iP);
            fx.stop();
            return 1;
        }
        Sleep(300);  // let the display settle after the windows were shown
        const size_t uiSeen = bench::windows_of_class(L"QdFixBench", true).size();

        std::vector<double> t[K_N], paired, ph[PH_N], fw1, fw2, opens, queries;
        uint32_t uiScanN = 0, uiOldN = 0, uiFloorN = 0;
        bool bOk = true;
        for (int r = -2; r < iRepeats && bOk; ++r) {  // two warm-up rounds
            double p[PH_N] = {}, q[PH_N] = {}, w1 = 0, w2 = 0;
            int iOpens = 0, iQueries = 0;
            // Rotate the order so no kind always runs first or last.
            for (int k = 0; k < K_N && bOk; ++k) {
                const int kind = (k + r + 2) % K_N;
                if (kind == K_SCAN) {
                    scan_set_proc_queries(&counted);
                    g_iOpens = g_iPathQueries = 0;
                    bOk = run_scan(true, p, &uiScanN);
                    iOpens = g_iOpens;
                    iQueries = g_iPathQueries;
                    scan_set_proc_queries(nullptr);
                } else if (kind == K_PER_WINDOW) {
                    bOk = run_scan(false, q, &uiOldN);
                } else {
                    bOk = run_floor(&w1, &w2, &uiFloorN);
                }
            }
            if (r < 0 || !bOk) continue;
            double total = 0, old = 0;
            for (int i = 0; i < PH_N; ++i) {
                ph[i].push_back(p[i]);
                total += p[i];
                old += q[i];
            }
            t[K_SCAN].push_back(total);
            t[K_PER_WINDOW].push_back(old);
            t[K_FLOOR].push_back(w1 + w2);
            paired.push_back(total / (w1 + w2));
            fw1.push_back(w1);
            fw2.push_back(w2);
            opens.push_back(iOpens);
            queries.push_back(iQueries);
        }
        if (bOk && bProfile) profile_calls(iN, iRepeats);
        fx.stop();
        if (!bOk) {
            std::printf("scan: a scan or floor run failed with %d windows\n", iN);
            return 1;
        }
        std::printf("N=%d in %d processes: fixture windows visible %zu, entries filled %u (per window %u), floor windows %u, "
                    "boxes %d\n", iN, iP, uiSeen, uiScanN, uiOldN, uiFloorN, boxes.iCount);
        std::printf("  scan phases (median ms):");
        for (int i = 0; i < PH_N; ++i) std::printf(" %s %.3f;", kPhaseNames[i], bench::median(ph[i]));
        std::printf("\n  floor walks (median ms): walk 1 %.3f; walk 2 %.3f\n", bench::median(fw1), bench::median(fw2));
        std::printf("  process opens per scan %.0f, path queries per scan %.0f (a query per window and walk: %u)\n",
                    bench::median(opens), bench::median(queries), 2 * uiOldN);
        std::printf("  min/max ms: scan %.2f/%.2f, per window %.2f/%.2f, floor %.2f/%.2f\n", bench::min_of(t[K_SCAN]),
                    bench::max_of(t[K_SCAN]), bench::min_of(t[K_PER_WINDOW]), bench::max_of(t[K_PER_WINDOW]),
                    bench::min_of(t[K_FLOOR]), bench::max_of(t[K_FLOOR]));
        std::fflush(stdout);
        Row row = {iN, iP, uiScanN, {}, bench::median(paired), bench::median(opens), bench::median(queries)};
        for (int k = 0; k < K_N; ++k) row.med[k] = bench::median(t[k]);
        rows.push_back(row);
    }
    if (boxes.iCount) std::wprintf(L"boxes shown during the runs: %d, first: %ls\n", boxes.iCount, boxes.first.c_str());

    std::printf("\n| windows | processes | listed | scan ms | per-window scan ms | floor ms | scan / floor | paired ratio"
                " | per-window / floor | scan ms per window | floor ms per window |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& r : rows) {
        const double f = r.med[K_FLOOR] > 0 ? r.med[K_FLOOR] : 1;
        std::printf("| %d | %d | %u | %.1f | %.1f | %.1f | %.3f | %.3f | %.3f | %.3f | %.3f |\n", r.iN, r.iP, r.uiListed,
                    r.med[K_SCAN], r.med[K_PER_WINDOW], r.med[K_FLOOR], r.med[K_SCAN] / f, r.paired,
                    r.med[K_PER_WINDOW] / f, r.med[K_SCAN] / r.uiListed, r.med[K_FLOOR] / r.uiListed);
    }
    std::printf("(median of %d rounds; scan / floor = ratio of the medians, paired ratio = median of the ratios within a"
                " round; per window = divided by the listed entries)\n", iRepeats);
    return 0;
}
