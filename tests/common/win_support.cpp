#include "win_support.h"

#include <fstream>
#include <iterator>

void pump_pending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring beside_exe(const wchar_t* ptcName)
{
    wchar_t buf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    const std::wstring s(buf);
    return s.substr(0, s.find_last_of(L"\\/") + 1) + ptcName;
}

std::wstring temp_path(const std::wstring& name)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return dir + name;
}

bool write_file(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path.c_str(), std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    f.close();
    return !f.fail();
}

std::vector<uint8_t> read_file(const std::wstring& path)
{
    std::ifstream f(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<HWND> windows_of_class(const wchar_t* ptcClass, DWORD dwPid)
{
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(nullptr, nullptr, ptcClass, nullptr); h; h = FindWindowExW(nullptr, h, ptcClass, nullptr)) {
        DWORD dw = 0;
        GetWindowThreadProcessId(h, &dw);
        if (!dwPid || dw == dwPid) found.push_back(h);
    }
    return found;
}

void close_windows_of_class(const wchar_t* ptcClass)
{
    for (HWND h : windows_of_class(ptcClass)) PostMessageW(h, WM_CLOSE, 0, 0);
    pump_until([ptcClass] { return windows_of_class(ptcClass).empty(); }, 3000);
}

PROCESS_INFORMATION start_exe(const std::wstring& exe, const std::wstring& args)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::wstring cmd = L"\"" + exe + L"\" " + args;
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        pi = PROCESS_INFORMATION{};
    return pi;
}

PROCESS_INFORMATION start_fixture(const std::wstring& args) { return start_exe(fixture_exe(), args); }

bool fixture_handled_posted(HWND hwnd)
{
    static unsigned uiEcho = 0;  // each echo its own caption, so none is taken for an earlier one
    const std::wstring want = L"Echo " + std::to_wstring(++uiEcho);
    PostMessageW(hwnd, WM_APP + 2, uiEcho, 0);
    wchar_t tc[32] = {};
    return pump_until([&] { return IsWindow(hwnd) && GetWindowTextW(hwnd, tc, 32) && want == tc; });
}

bool fixture_hang(HWND hwnd, DWORD dwMs)
{
    PostMessageW(hwnd, WM_APP + 1, dwMs, 0);
    return pump_until([hwnd] { return !SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, nullptr); });
}
