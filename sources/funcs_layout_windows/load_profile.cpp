#include "funcs_layout_windows/load_profile.h"

#include <vector>

#include "funcs_layout_windows/find_windows.h"
#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/settle_watch.h"
#include "funcs_layout_windows/unit_reports.h"
#include "platform/zt_dialogs.h"
#include "platform/zt_files.h"
#include "platform/zt_monitors.h"
#include "platform/zt_win.h"
#include "profile_format.h"
#include "window_match.h"

namespace {

const int kAttempts = 10;
const DWORD kAttemptPauseMs = 1000;
const DWORD kIdleWaitMs = 5000;

// Everything one run of the command holds; released on every path.
struct LoadRun {
    uint8_t* pcFile = nullptr;
    uint32_t uiSize_file = 0;
    STR_ProfileView view{};
    STR_EntryPaths paths;
    uint32_t N = 0, F = 0, P = 0;
    uint32_t* arr_hwnd_folders = nullptr;       // as found by the folder search
    wchar_t* ptcScratch = nullptr;              // module paths of the program search
    STR_InfoLoadedPrg* arr_launch = nullptr;    // one per program entry
    uint32_t uiN_launch = 0;
    uint32_t* p_hwnd_arr = nullptr;             // as found by the program search
    uint32_t* arr_hwnd_programs_only = nullptr; // handed to the store
    uint32_t* arr_hwnd_folders_only = nullptr;  // handed to the store
    std::vector<uint32_t> pid_slots;            // the process owning each p_hwnd_arr window
    std::vector<STR_LaunchIds> launch_ids;      // refreshed by each program search
    std::vector<int32_t> ended_at;              // per start: the attempt that first found it ended
    std::vector<uint32_t> preexisting;          // the top-level windows before anything started
    std::vector<uint32_t> hung_threads;         // threads that did not answer, over all attempts
    STR_LoadFailures failures;

    ~LoadRun()
    {
        // The started processes' handles are of no use once the windows are found.
        for (uint32_t k = 0; arr_launch && k < uiN_launch; ++k) {
            if (arr_launch[k].hProcess) CloseHandle(arr_launch[k].hProcess);
            if (arr_launch[k].hThread) CloseHandle(arr_launch[k].hThread);
        }
        zt_VirtualFree(pcFile);
        zt_VirtualFree(arr_hwnd_folders);
        zt_VirtualFree(ptcScratch);
        zt_VirtualFree(arr_launch);
        zt_VirtualFree(p_hwnd_arr);
        zt_VirtualFree(arr_hwnd_programs_only);
        zt_VirtualFree(arr_hwnd_folders_only);
    }
};

// The command's report of a failure found at iLine: header, detail,
// handler line. Returns iCode.
int32_t report(int32_t iCode, int iLine, const char* pcDetail)
{
    zt_ReportAt(rep_layout(), iLine, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\n%s\n\nline of error handler:\n%d",
                __FILE__, "onButton_LoadProfile_clicked", iLine, pcDetail, iLine);
    return iCode;
}

// Mode 0: the Open dialog. 1 with a path, 0 cancelled, -2 failed.
int32_t choose_file(HWND hwnd_MW, wchar_t* ptcPath, DWORD uiCap)
{
    wchar_t tcDir[260] = {};
    wchar_t tcTitle[260] = {};
    GetCurrentDirectoryW(260, tcDir);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hwnd_MW;
    ofn.lpstrFilter = L"All Files\0*.*\0";
    ofn.lpstrFile = ptcPath;
    ofn.nMaxFile = uiCap;
    ofn.lpstrFileTitle = tcTitle;
    ofn.nMaxFileTitle = 260;
    ofn.lpstrInitialDir = tcDir;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (zt_GetOpenFileName(&ofn)) return 1;
    return zt_CommDlgExtendedError() == 0 ? 0 : -2;
}

// Whether the store's answer lets the load go on; a failure the store
// reported gets the command's box too.
bool store_takes(int32_t iRet)
{
    if (iRet < 0) zt_Box(nullptr, L"error <- add_profile_data_to_DynMem()", L"error", MB_OK);
    return iRet == 1;
}

// Reads and validates the file into r. 1; 2 when the store has no room for
// it (told by the store's report); or the command's negative code after
// its report.
int32_t read_profile(const wchar_t* ptcPath, const LoadedProfiles_STR* pStore, LoadRun* r)
{
    // Only an existing file is opened: a path that has gone creates nothing.
    zt_Handle file(zt_OpenExistingForRead(ptcPath));
    if (!file)
        return report(-2, __LINE__, "one of callable functions returned error INVALID_HANDLE_VALUE <- CreateFile()");
    uint64_t uiSize = 0;
    if (!zt_GetFileSize(file.get(), &uiSize) || uiSize == 0)
        return report(-3, __LINE__, profile_refusal_detail(QD_PRF_EMPTY));
    if (profile_check_size(uiSize) == QD_PRF_TOO_LARGE)
        return report(-11, __LINE__, profile_refusal_detail(QD_PRF_TOO_LARGE));
    // A file the store has no room for is refused before it takes memory.
    if (!store_takes(check_file_room_for_profile(pStore, uiSize))) return 2;
    if (uiSize < 3 || !zt_SeekFile(file.get(), -3, FILE_END))
        return report(-4, __LINE__, "one of callable functions returned error: error <- SetFilePointer( )");
    uint8_t tail[3] = {};
    if (!zt_ReadAll(file.get(), tail, 3))
        return report(-5, __LINE__, "one of callable functions returned error: error <- ReadFileEx( )");
    if (profile_check_signature(tail) != QD_PRF_OK)
        return report(-6, __LINE__, profile_refusal_detail(QD_PRF_BAD_SIGNATURE));
    r->uiSize_file = static_cast<uint32_t>(uiSize);
    r->pcFile = static_cast<uint8_t*>(zt_VirtualAlloc(r->uiSize_file));
    if (!r->pcFile) return report(-7, __LINE__, "error <- DynMemAlloc for file's data");
    if (!zt_SeekFile(file.get(), 0, FILE_BEGIN) || !zt_ReadAll(file.get(), r->pcFile, r->uiSize_file))
        return report(-5, __LINE__, "one of callable functions returned error: error <- ReadFileEx( )");
    file.reset();

    // Every count, length and the name must lie inside the file before
    // anything is launched.
    const int32_t iOpen = profile_open(r->pcFile, r->uiSize_file, &r->view);
    if (iOpen == QD_PRF_NO_ENTRIES) return report(-10, __LINE__, profile_refusal_detail(iOpen));
    if (iOpen != QD_PRF_OK) return report(-8, __LINE__, profile_refusal_detail(iOpen));
    entry_paths_build(&r->view, &r->paths);
    r->N = r->view.N_wnds;
    r->F = r->view.uiN_Folders;
    r->P = r->N - r->F;
    return 1;
}

int32_t take_working_buffers(LoadRun* r)
{
    const size_t uiSlots = static_cast<size_t>(r->N) * sizeof(uint32_t);
    r->arr_hwnd_folders = static_cast<uint32_t*>(zt_VirtualAlloc(uiSlots));
    r->ptcScratch = r->arr_hwnd_folders ? static_cast<wchar_t*>(zt_VirtualAlloc(QD_MODULE_PATH_UNITS * sizeof(wchar_t))) : nullptr;
    r->arr_launch = r->ptcScratch ? static_cast<STR_InfoLoadedPrg*>(zt_VirtualAlloc((r->P ? r->P : 1) * sizeof(STR_InfoLoadedPrg))) : nullptr;
    r->p_hwnd_arr = r->arr_launch ? static_cast<uint32_t*>(zt_VirtualAlloc(uiSlots)) : nullptr;
    r->arr_hwnd_programs_only = r->p_hwnd_arr ? static_cast<uint32_t*>(zt_VirtualAlloc(uiSlots)) : nullptr;
    r->arr_hwnd_folders_only = r->arr_hwnd_programs_only ? static_cast<uint32_t*>(zt_VirtualAlloc(uiSlots)) : nullptr;
    if (!r->arr_hwnd_folders_only) return report(-9, __LINE__, "error while DynMemAlloc");
    return 1;
}

const wchar_t* entry_path(const LoadRun* r, uint32_t i) { return zt_W(r->paths.units.data() + r->paths.off[i]); }

void open_folder(LoadRun* r, uint32_t i)
{
    // A folder saved without a path (a virtual folder) cannot be reopened.
    bool bOpened = false;
    if (r->paths.len[i]) bOpened = zt_OpenFolder(entry_path(r, i)) != FALSE;
    if (!bOpened) {
        r->failures.indices.push_back(i);
        ++r->failures.uiN_Folders;
    }
}

void start_program(LoadRun* r, uint32_t i, const STR_ProfileEntry& e)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    if (profile_has_saved_geometry(&e)) {
        const STR_Place p = zt_PlaceInReach(e.i_x, e.i_y, e.i_w, e.i_h);
        si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESIZE | STARTF_USEPOSITION;
        si.wShowWindow = SW_SHOW;
        si.dwX = static_cast<DWORD>(p.i_x);
        si.dwY = static_cast<DWORD>(p.i_y);
        si.dwXSize = static_cast<DWORD>(p.i_w);
        si.dwYSize = static_cast<DWORD>(p.i_h);
    } else {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_MINIMIZE;
    }
    PROCESS_INFORMATION pi = {};
    const bool bStarted = r->paths.len[i] && zt_CreateProcess(entry_path(r, i), &si, &pi);
    if (!bStarted) {
        pi = PROCESS_INFORMATION{};
        r->failures.indices.push_back(i);
        ++r->failures.uiN_Programs;
    }
    r->arr_launch[r->uiN_launch++] = {i, pi.hProcess, pi.hThread, pi.dwProcessId, pi.dwThreadId};
    if (pi.hProcess) zt_WaitForInputIdle(pi.hProcess, kIdleWaitMs);
}

void launch_all(LoadRun* r)
{
    r->preexisting = top_level_windows();
    STR_ProfileEntry e{};
    if (profile_entry_at(&r->view, 0, &e) != QD_PRF_OK) return;
    do {
        if (e.uc_kind == QD_PRF_KIND_FOLDER) open_folder(r, e.ui_index);
        else if (e.uc_kind == QD_PRF_KIND_PROGRAM) start_program(r, e.ui_index, e);
    } while (profile_next_entry(&r->view, &e) == 1);
}

// Up to ten attempts; returns 1 all found, 2 not all, -15 after a report.
int32_t wait_for_folders(LoadRun* r)
{
    for (int a = 0; a < kAttempts; ++a) {
        GetHWNDS_of_LoadedFolders(r->pcFile, &r->paths, r->arr_hwnd_folders);
        const int32_t iRet = check_folders_loaded(r->pcFile, &r->paths, r->arr_hwnd_folders, r->N, &r->failures);
        if (iRet == 1) return 1;
        if (iRet < 0)
            return report(-15, __LINE__, "error, one of callable functions returned error, check_folders_loaded()");
        if (a + 1 < kAttempts) zt_Wait(kAttemptPauseMs);
    }
    return 2;
}

bool programs_found(const LoadRun* r) { return programs_all_found(&r->paths, r->p_hwnd_arr, &r->failures); }

bool wait_for_programs(LoadRun* r)
{
    r->pid_slots.assign(r->N, 0);
    r->launch_ids.assign(r->uiN_launch, STR_LaunchIds{});
    r->ended_at.assign(r->uiN_launch, -1);
    HWNDs_loadedPrgsProfile_STR s = {r->p_hwnd_arr, r->ptcScratch, QD_MODULE_PATH_UNITS, QD_MODULE_PATH_UNITS * 2,
                                     r->pcFile, r->arr_launch, r->uiN_launch, &r->paths,
                                     r->pid_slots.data(), r->launch_ids.data(), &r->preexisting, nullptr,
                                     &r->hung_threads, false, nullptr, nullptr};
    for (int a = 0; a < kAttempts; ++a) {
        // A window that closed while the load waits (a splash screen) leaves
        // its slot to the next window of its program.
        release_closed_windows(&r->paths, r->p_hwnd_arr, r->pid_slots.data(), nullptr);
        launch_ids_refresh(r->arr_launch, r->uiN_launch, r->ended_at.data(), a, r->launch_ids.data());
        if (find_hwnds_Programs_fill_array(&s, r->N, r->arr_hwnd_programs_only) < 0)
            zt_Box(nullptr, L"error <- find_hwnds_Programs_fill_array()", L"error", MB_OK);
        if (programs_found(r)) return true;
        if (a + 1 < kAttempts) zt_Wait(kAttemptPauseMs);
    }
    return false;
}

void info_box(HWND hwnd_MW, const wchar_t* ptcText)
{
    zt_Box(hwnd_MW, ptcText, L"info", MB_SETFOREGROUND | MB_OK);
}

void tell_what_failed(HWND hwnd_MW, const LoadRun* r, bool bProgramsFound, bool bFoldersFound)
{
    wchar_t tc[512];
    if (r->failures.uiN_Programs && r->P) {
        wsprintfW(tc, L"Not all Programs were loaded\n\nNumber of Programs failed to load = %u\nNumber of Programs in Profile = %u\nPossible reasons:\nSome Programs were deleted, renamed or check your access permissions",
                  r->failures.uiN_Programs, r->P);
        info_box(hwnd_MW, tc);
    }
    if (r->failures.uiN_Folders && r->F) {
        wsprintfW(tc, L"Not all Directories were loaded\n\nNumber of Directories failed to load = %u\nNumber of Directories in Profile = %u\nPossible reasons:\nSome Directories were deleted, renamed or check your access permissions",
                  r->failures.uiN_Folders, r->F);
        info_box(hwnd_MW, tc);
    }
    if (r->P && !bProgramsFound) info_box(hwnd_MW, L"Not all Programs of Profile were detected after launching\n");
    if (r->F && !bFoldersFound) info_box(hwnd_MW, L"Not all Folders of Profile were detected after launching\n");
}

}  // namespace

void place_loaded_window(uint32_t ui_hwnd, const STR_ProfileEntry& e)
{
    if (!ui_hwnd) return;
    HWND hwnd = zt_hwnd(ui_hwnd);
    if (!profile_has_saved_geometry(&e)) {
        ShowWindowAsync(hwnd, SW_MINIMIZE);
        return;
    }
    if (IsIconic(hwnd)) {
        ShowWindowAsync(hwnd, SW_RESTORE);
        SetForegroundWindow(hwnd);
    }
    const STR_Place p = zt_PlaceInReach(e.i_x, e.i_y, e.i_w, e.i_h);
    zt_PlaceWindowAsync(hwnd, false, p.i_x, p.i_y, p.i_w, p.i_h);
}

namespace {

void place_all(LoadRun* r)
{
    STR_ProfileEntry e{};
    if (profile_entry_at(&r->view, 0, &e) != QD_PRF_OK) return;
    do {  // programs first, then folders, each in entry order
        if (e.uc_kind == QD_PRF_KIND_PROGRAM) place_loaded_window(r->p_hwnd_arr[e.ui_index], e);
    } while (profile_next_entry(&r->view, &e) == 1);
    profile_entry_at(&r->view, 0, &e);
    do {
        if (e.uc_kind != QD_PRF_KIND_FOLDER) continue;
        r->arr_hwnd_folders_only[e.ui_index] = r->arr_hwnd_folders[e.ui_index];
        place_loaded_window(r->arr_hwnd_folders_only[e.ui_index], e);
    } while (profile_next_entry(&r->view, &e) == 1);
}

// What the watch of the next seconds needs of this load; the starts'
// handles go with it.
STR_SettleLoad settle_load_of(LoadRun* r, uint32_t k)
{
    STR_SettleLoad s;
    s.k = k;
    s.file.assign(r->pcFile, r->pcFile + r->uiSize_file);
    s.paths = r->paths;
    s.preexisting = std::move(r->preexisting);
    s.hwnd.assign(r->p_hwnd_arr, r->p_hwnd_arr + r->N);
    s.pid = r->pid_slots;
    s.pid.resize(r->N, 0);
    s.watched.resize(r->N, 0);
    for (uint32_t i = 0; i < r->N; ++i) s.watched[i] = r->paths.kind[i] == QD_PRF_KIND_PROGRAM && s.hwnd[i] != 0;
    s.launches.assign(r->arr_launch, r->arr_launch + r->uiN_launch);
    for (uint32_t j = 0; j < r->uiN_launch; ++j) r->arr_launch[j].hProcess = r->arr_launch[j].hThread = nullptr;
    return s;
}

}  // namespace

int32_t onButton_LoadProfile_clicked(HWND hwnd_MW, int32_t iMode, const wchar_t* ptcFilePath_Profile,
                                     LoadedProfiles_STR* p_LoadedProfiles_STR,
                                     CB_Profile_manage_STR* p_CB_Profile_mng_STR, STR_ProfileListNames* pNames,
                                     STR_SettleWatch* pSettle)
{
    if (!hwnd_MW || !p_LoadedProfiles_STR || !p_CB_Profile_mng_STR || !pNames || !pSettle ||
        (iMode == 1 && !ptcFilePath_Profile)) {
        STR_ReportUnit* rep = rep_layout();
        QD_REPORT(rep, __func__, "error\n\nfile:\n%s\n\nfunction:\n%s\n\nline:\n%d\n\nincorrect input:\nhwnd_MW = %p, ptcFilePath_Profile = %p\np_LoadedProfiles_STR = %p\np_CB_Profile_mng_STR = %p\nline of error handler:\n%d",
                  hwnd_MW, ptcFilePath_Profile, p_LoadedProfiles_STR, p_CB_Profile_mng_STR);
        return -1;
    }
    wchar_t tcChosen[260] = {};
    if (iMode == 0) {
        const int32_t iChoice = choose_file(hwnd_MW, tcChosen, 260);
        if (iChoice == 0) return 1;  // cancelled: nothing to say
        if (iChoice < 0)
            return report(-2, __LINE__, "one of callable functions returned error INVALID_HANDLE_VALUE <- CreateFile()");
        ptcFilePath_Profile = tcChosen;
    }

    LoadRun run;
    int32_t iRet = read_profile(ptcFilePath_Profile, p_LoadedProfiles_STR, &run);
    if (iRet != 1) return iRet < 0 ? iRet : 1;
    iRet = take_working_buffers(&run);
    if (iRet < 0) return iRet;
    // A profile the store would refuse is refused before anything starts:
    // windows launched for it would be out of Apply's reach.
    if (!store_takes(check_room_for_profile(p_LoadedProfiles_STR, run.uiSize_file, run.pcFile, run.F, run.P)))
        return 1;

    launch_all(&run);
    bool bFoldersFound = true, bProgramsFound = true;
    if (run.F) {
        iRet = wait_for_folders(&run);
        if (iRet < 0) return iRet;
        bFoldersFound = iRet == 1;
    }
    if (run.P) {
        // Entries of unknown kinds count as programs but start nothing.
        bProgramsFound = run.uiN_launch ? wait_for_programs(&run) : programs_found(&run);
    }
    tell_what_failed(hwnd_MW, &run, bProgramsFound, bFoldersFound);
    place_all(&run);

    if (!store_takes(add_profile_data_to_DynMem(p_LoadedProfiles_STR, run.arr_hwnd_programs_only,
                                                run.arr_hwnd_folders_only, run.uiSize_file, run.pcFile, run.F, run.P)))
        return 1;  // not stored: no list entry
    InvalidateRect(hwnd_MW, nullptr, FALSE);  // the count of loaded profiles changed
    const uint32_t k = p_LoadedProfiles_STR->uiN_loaded_prfls - 1;
    if (CB_Profile_add_string(p_CB_Profile_mng_STR, pNames, p_LoadedProfiles_STR, k) < 0)
        zt_Box(nullptr, L"error <- CB_Profile_add_string()", L"error", MB_OK);
    settle_watch_add(pSettle, hwnd_MW, p_LoadedProfiles_STR, p_CB_Profile_mng_STR, settle_load_of(&run, k));
    return 1;
}
