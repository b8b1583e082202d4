// The Load command's tests: a window standing in for the main window, the
// fixture program as the profiles' program, the command's pauses counted
// and shortened, its launches counted.
#pragma once
#include "funcs_layout_windows/lists.h"
#include "funcs_layout_windows/load_profile.h"
#include "main_window_fixture.h"
#include "profile_bytes.h"
#include "scan_test_support.h"

inline const wchar_t* const kFixClass = L"QdFixLoad";
inline const std::u16string kGone = u"C:\\nowhere\\gone.exe";

// The command's pauses are counted; each lets real time pass briefly, so
// the windows of started programs can appear without whole seconds.
inline void short_wait(void* pCtx, DWORD)
{
    ++*static_cast<int*>(pCtx);
    Sleep(60);
}

inline void count_launch(void* pCtx, const wchar_t*, bool) { ++*static_cast<int*>(pCtx); }

// A window standing in for the main window: owner of the boxes, parent of
// the Profile and Action lists.
class LoadProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test_register_classes();
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", L"caption=Loaded fixture;class=QdFixLoad");
        hwndMain = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        hwndProfiles = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 200, 200,
                                       hwndMain, nullptr, nullptr, nullptr);
        hwndActions = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 40, 200, 200,
                                      hwndMain, nullptr, nullptr, nullptr);
        cb.hwnd_CB = zt_hwnd32(hwndProfiles);
        cb.uiID_CB = 4;
        cb.uiMax_strs = QD_PROFILE_LIST_CAPACITY;
        CB_Action_init(hwndActions, 5, &cbAction);
        ASSERT_EQ(1, preInitOnce_onLoadProfile(&store));
        zt_SetWaitHooks(short_wait, nullptr, &iWaits);
        zt_SetLaunchHook(count_launch, &iLaunches);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the main window does
    }
    void TearDown() override
    {
        settle_watch_end(&settle);
        close_windows_of_class(kFixClass);
        close_folder_windows();
        CoUninitialize();
        zt_SetWaitHooks(nullptr, nullptr, nullptr);
        zt_SetLaunchHook(nullptr, nullptr);
        finishWork_onLoadProfile(&store);
        DestroyWindow(hwndMain);
        DeleteFileW(file.c_str());
        SetEnvironmentVariableW(L"QD_FIXTURE_WINDOWS", nullptr);
        SetEnvironmentVariableW(L"QD_FIXTURE_SINGLE", nullptr);
    }
    int32_t load_bytes(const std::vector<uint8_t>& bytes)
    {
        write_file(file, bytes);
        return onButton_LoadProfile_clicked(hwndMain, 1, file.c_str(), &store, &cb, &names, &settle);
    }
    int32_t load(const std::vector<QdTestEntry>& entries, const std::u16string& name)
    {
        return load_bytes(qd_profile_bytes(entries, name));
    }
    // Loads, and returns the start-up information the last started fixture
    // was given: "flags show x y w h".
    std::string load_started_with(const std::vector<QdTestEntry>& entries)
    {
        const std::wstring startup = temp_path(L"qd_fixture_startup.txt");
        SetEnvironmentVariableW(L"QD_FIXTURE_STARTUP", startup.c_str());
        EXPECT_EQ(1, load(entries, u"Started"));
        SetEnvironmentVariableW(L"QD_FIXTURE_STARTUP", nullptr);
        const std::vector<uint8_t> b = read_file(startup);
        return std::string(b.begin(), b.end());
    }
    LRESULT listed(UINT uiMsg) { return SendMessageW(hwndProfiles, uiMsg, 0, 0); }
    void apply(int32_t iAction, int32_t iProfilePos)
    {
        SendMessageW(hwndActions, CB_SETCURSEL, iAction, 0);
        SendMessageW(hwndProfiles, CB_SETCURSEL, iProfilePos, 0);
        ASSERT_EQ(1, onButton_Apply_press(&cb, &names, &cbAction, &store));
    }
    uint32_t handle(uint32_t k, uint32_t i) { return loaded_profile_handle(&store, k, i); }

    BoxRecorder rec;
    int iWaits = 0, iLaunches = 0;
    HWND hwndMain = nullptr, hwndProfiles = nullptr, hwndActions = nullptr;
    LoadedProfiles_STR store{};
    CB_Profile_manage_STR cb{};
    STR_ProfileListNames names{};
    CB_Action_manage_STR cbAction{};
    STR_SettleWatch settle;
    const std::wstring file = temp_path(L"qd_load_profile.txt");
};
