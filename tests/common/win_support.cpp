#include "win_support.h"

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
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD dw = 0;
    const bool bOk = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &dw, nullptr) && dw == bytes.size());
    CloseHandle(h);
    return bOk;
}

std::vector<uint8_t> read_file(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(h, nullptr));
    DWORD dw = 0;
    if (!bytes.empty() && !ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &dw, nullptr)) bytes.clear();
    CloseHandle(h);
    return bytes;
}

namespace {
struct ClassQuery {
    const wchar_t* ptcClass;
    DWORD dwPid;
    std::vector<HWND> found;
};
BOOL CALLBACK collect(HWND hwnd, LPARAM lParam)
{
    ClassQuery* q = reinterpret_cast<ClassQuery*>(lParam);
    wchar_t cls[128] = {};
    GetClassNameW(hwnd, cls, 128);
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    if (lstrcmpW(cls, q->ptcClass) == 0 && (!q->dwPid || q->dwPid == dwPid)) q->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> windows_of_class(const wchar_t* ptcClass, DWORD dwPid)
{
    ClassQuery q = {ptcClass, dwPid, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&q));
    return q.found;
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
