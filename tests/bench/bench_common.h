// Small helpers shared by the Windows benchmarks: a millisecond clock,
// medians, starting the fixture program and finding its windows.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double now_ms()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

inline double median(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

inline double min_of(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end()); }
inline double max_of(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); }

// A program next to this one (same bin directory).
inline std::wstring sibling_exe(const wchar_t* ptcName)
{
    wchar_t buf[MAX_PATH];
    GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring s(buf);
    return s.substr(0, s.find_last_of(L"\\/") + 1) + ptcName;
}

// Starts a program with a command line; false when it did not start. On
// a busy machine Wine now and then refuses a start (ERROR_INTERNAL_ERROR)
// that succeeds a moment later, so a refused start is tried twice more.
inline bool start_process(const std::wstring& exe, const std::wstring& args, PROCESS_INFORMATION* pPi)
{
    std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    for (int iTry = 0; iTry < 3; ++iTry) {
        std::vector<wchar_t> buf(cmd.begin(), cmd.end());
        buf.push_back(0);
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        *pPi = PROCESS_INFORMATION{};
        if (CreateProcessW(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, pPi)) return true;
        if (GetLastError() != ERROR_INTERNAL_ERROR) return false;
        Sleep(500);
    }
    return false;
}

struct ClassWalk {
    const wchar_t* ptcClass;
    bool bVisibleOnly;
    std::vector<HWND> found;
};

inline BOOL CALLBACK collect_class(HWND hwnd, LPARAM lParam)
{
    ClassWalk* w = reinterpret_cast<ClassWalk*>(lParam);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpW(cls, w->ptcClass) == 0 && (!w->bVisibleOnly || IsWindowVisible(hwnd))) w->found.push_back(hwnd);
    return TRUE;
}

// Top-level windows of a class (optionally only the visible ones).
inline std::vector<HWND> windows_of_class(const wchar_t* ptcClass, bool bVisibleOnly = false)
{
    ClassWalk w = {ptcClass, bVisibleOnly, {}};
    EnumWindows(collect_class, reinterpret_cast<LPARAM>(&w));
    return w.found;
}

// Closes every top-level window of a class and waits (up to dwMs) until none is left.
inline bool close_class_windows(const wchar_t* ptcClass, DWORD dwMs = 20000)
{
    for (HWND h : windows_of_class(ptcClass)) PostMessageW(h, WM_CLOSE, 0, 0);
    const double tEnd = now_ms() + dwMs;
    while (!windows_of_class(ptcClass).empty()) {
        if (now_ms() > tEnd) return false;
        Sleep(10);
    }
    return true;
}

// Message boxes of the program are counted instead of shown.
struct BoxCount {
    int iCount = 0;
    std::wstring first;
};

inline int count_box(void* pCtx, HWND, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT)
{
    BoxCount* b = static_cast<BoxCount*>(pCtx);
    if (!b->iCount++) b->first = std::wstring(ptcCaption ? ptcCaption : L"") + L": " + (ptcText ? ptcText : L"");
    return IDOK;
}

}  // namespace bench
