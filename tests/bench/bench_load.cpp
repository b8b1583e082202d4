// Load Profile latency.
//
// Profiles of 1, 5 and 20 entries, each entry the fixture program with a
// saved place, are loaded with the Load Profile command (a dropped file:
// no dialog). A second thread watches the desktop for the fixture windows
// and notes when the last of them became visible. Reported: the command's
// time from its start to its return (every window placed), the time until
// the last window appeared, the difference, and the pauses between search
// attempts the command made (each one second).
//
//   qd_bench_load.exe [repeats] [entries...]   (defaults: 5, 1 5 20)
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_common.h"
#include "funcs_layout_windows/explorer_folders.h"
#include "funcs_layout_windows/load_profile.h"
#include "platform/zt_win.h"
#include "profile_format.h"

using bench::now_ms;

namespace {

const wchar_t* const kFixClass = L"QdFixBenchLoad";

STR_ShellWalk walk_nothing(void*, QD_ShellFolderFound, void*) { return {true, S_OK}; }
const STR_ShellFolderSource kNoFolders = {walk_nothing, nullptr};

// The command's pauses really last; they are counted.
struct Pauses {
    int iCount = 0;
    DWORD dwTotal = 0;
};
void real_wait(void* pCtx, DWORD dwMs)
{
    Pauses* p = static_cast<Pauses*>(pCtx);
    ++p->iCount;
    p->dwTotal += dwMs;
    Sleep(dwMs);
}

std::wstring write_profile(int iEntries)
{
    const std::wstring exe = bench::sibling_exe(L"qd_fixture.exe");
    std::vector<uint8_t> kinds;
    std::vector<uint32_t> x, y, w, h, len;
    std::u16string packed;
    for (int i = 0; i < iEntries; ++i) {
        kinds.push_back(QD_PRF_KIND_PROGRAM);
        x.push_back(static_cast<uint32_t>(40 + (i % 10) * 150));
        y.push_back(static_cast<uint32_t>(40 + (i / 10) * 350 + (i % 10) * 20));
        w.push_back(320);
        h.push_back(200);
        len.push_back(static_cast<uint32_t>(exe.size() * 2));
        packed.append(exe.begin(), exe.end());
        packed.push_back(0);
    }
    const std::u16string name = u"Bench " + std::u16string(1, static_cast<char16_t>(u'0' + iEntries % 10));
    STR_ProfileData d = {static_cast<uint32_t>(iEntries), kinds.data(), x.data(), y.data(), w.data(), h.data(),
                         len.data(), packed.data(), name.data(), static_cast<uint32_t>(name.size() * 2)};
    std::vector<uint8_t> file;
    if (profile_write(&d, &file) != QD_PRF_OK) return L"";
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"qd_bench_load_" + std::to_wstring(iEntries) + L".prf";
    HANDLE hf = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hf == INVALID_HANDLE_VALUE) return L"";
    DWORD dw = 0;
    WriteFile(hf, file.data(), static_cast<DWORD>(file.size()), &dw, nullptr);
    CloseHandle(hf);
    return dw == file.size() ? path : L"";
}

// Watches the desktop until iTarget fixture windows are visible.
struct Watch {
    std::atomic<int> iTarget{0};
    std::atomic<bool> bStop{false};
    std::atomic<double> tLast{0.0};   // when the target count was first seen
    std::atomic<double> tFirst{0.0};  // when the first window was seen
};

DWORD WINAPI watch_thread(void* pv)
{
    Watch* w = static_cast<Watch*>(pv);
    while (!w->bStop.load()) {
        const int n = static_cast<int>(bench::windows_of_class(kFixClass, true).size());
        const double t = now_ms();
        if (n > 0 && w->tFirst.load() == 0.0) w->tFirst = t;
        if (n >= w->iTarget.load()) {
            w->tLast = t;
            break;
        }
        Sleep(1);
    }
    return 0;
}

struct RunResult {
    double cmd = 0, last = 0, first = 0;
    int iPauses = 0, iBoxes = 0, iPlaced = 0;
    int32_t iRet = 0;
};

// One load of the profile at path with iEntries entries.
bool run_once(const std::wstring& path, int iEntries, RunResult* pR)
{
    HWND hwndMain = CreateWindowExW(0, L"STATIC", L"bench main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                    nullptr, nullptr);
    HWND hwndProfiles = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 200, 200,
                                        hwndMain, reinterpret_cast<HMENU>(4), nullptr, nullptr);
    auto store = std::make_unique<LoadedProfiles_STR>();
    auto names = std::make_unique<STR_ProfileListNames>();
    CB_Profile_manage_STR cb{};
    STR_SettleWatch settle;
    cb.hwnd_CB = zt_hwnd32(hwndProfiles);
    cb.uiID_CB = 4;
    cb.uiMax_strs = QD_PROFILE_LIST_CAPACITY;
    if (!hwndMain || !hwndProfiles || preInitOnce_onLoadProfile(store.get()) != 1) return false;

    bench::BoxCount boxes;
    zt_SetBoxHook(bench::count_box, &boxes);
    Pauses pauses;
    zt_SetWaitHooks(real_wait, nullptr, &pauses);

    Watch w;
    w.iTarget = iEntries;
    HANDLE hThread = CreateThread(nullptr, 0, watch_thread, &w, 0, nullptr);
    const double t0 = now_ms();
    pR->iRet = onButton_LoadProfile_clicked(hwndMain, 1, path.c_str(), store.get(), &cb, names.get(), &settle);
    const double t1 = now_ms();
    // The last window may come after the command's return: wait for it a while.
    if (WaitForSingleObject(hThread, 15000) != WAIT_OBJECT_0) {
        w.bStop = true;
        WaitForSingleObject(hThread, INFINITE);
    }
    CloseHandle(hThread);

    pR->cmd = t1 - t0;
    pR->last = w.tLast.load() > 0 ? w.tLast.load() - t0 : -1;
    pR->first = w.tFirst.load() > 0 ? w.tFirst.load() - t0 : -1;
    pR->iPauses = pauses.iCount;
    pR->iBoxes = boxes.iCount;
    pR->iPlaced = 0;
    for (uint32_t i = 0; i < loaded_profile_entry_count(store.get(), 0); ++i)
        pR->iPlaced += loaded_profile_handle(store.get(), 0, i) != 0;
    if (boxes.iCount) std::wprintf(L"  box: %ls\n", boxes.first.c_str());

    zt_SetWaitHooks(nullptr, nullptr, nullptr);
    zt_SetBoxHook(nullptr, nullptr);
    finishWork_onLoadProfile(store.get());
    DestroyWindow(hwndMain);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

    const bool bClosed = bench::close_class_windows(kFixClass);
    Sleep(200);  // the fixture processes end after their last window
    return bClosed;
}

}  // namespace

int main(int argc, char** argv)
{
    int iRepeats = 5;
    std::vector<int> sizes;
    if (argc > 1) iRepeats = std::atoi(argv[1]);
    for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1, 5, 20};
    if (iRepeats < 1) iRepeats = 1;

    explorer_set_folder_source(&kNoFolders);
    SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Bench load;class=QdFixBenchLoad");
    bench::close_class_windows(kFixClass);

    struct Row {
        int iEntries;
        double cmd, last, diff, diffMax;
        int iPausesMax, iBoxes;
    };
    std::vector<Row> rows;
    for (int iEntries : sizes) {
        const std::wstring path = write_profile(iEntries);
        if (path.empty()) {
            std::printf("load: the profile of %d entries could not be written\n", iEntries);
            return 1;
        }
        std::vector<double> cmd, last, diff;
        int iPausesMax = 0, iBoxes = 0;
        for (int r = -1; r < iRepeats; ++r) {  // one warm-up run
            RunResult res;
            if (!run_once(path, iEntries, &res)) {
                std::printf("load: fixture windows of the %d-entry run did not close\n", iEntries);
                return 1;
            }
            std::printf("  %d entries, run %d: command %.1f ms, first window %.1f ms, last window %.1f ms, pauses %d, placed %d, result %d\n",
                        iEntries, r, res.cmd, res.first, res.last, res.iPauses, res.iPlaced, res.iRet);
            std::fflush(stdout);
            if (r < 0) continue;
            cmd.push_back(res.cmd);
            last.push_back(res.last);
            diff.push_back(res.cmd - res.last);
            if (res.iPauses > iPausesMax) iPausesMax = res.iPauses;
            iBoxes += res.iBoxes;
        }
        DeleteFileW(path.c_str());
        rows.push_back({iEntries, bench::median(cmd), bench::median(last), bench::median(diff), bench::max_of(diff),
                        iPausesMax, iBoxes});
    }

    std::printf("\n| entries | command ms | last window ms | command end - last window ms (median / max) | most pauses | boxes |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& r : rows)
        std::printf("| %d | %.1f | %.1f | %.1f / %.1f | %d | %d |\n", r.iEntries, r.cmd, r.last, r.diff, r.diffMax,
                    r.iPausesMax, r.iBoxes);
    std::printf("(median of %d runs each; times from the command's start; a pause is one 1 s wait between attempts)\n",
                iRepeats);
    return 0;
}
