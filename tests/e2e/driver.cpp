#include "driver.h"

#include <cstdlib>

#include "png_writer.h"

namespace drv {

std::wstring beside_driver(const wchar_t* ptcName)
{
    wchar_t buf[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    std::wstring s(buf);
    return s.substr(0, s.find_last_of(L"\\/") + 1) + ptcName;
}

Process start(const std::wstring& exe, const std::wstring& args)
{
    std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    Process p;
    if (CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        p.hProcess = pi.hProcess;
        p.dwPid = pi.dwProcessId;
    }
    return p;
}

DWORD wait_exit(Process& p, DWORD dwMs)
{
    if (!p.hProcess) return STILL_ACTIVE;
    if (WaitForSingleObject(p.hProcess, dwMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD dwCode = STILL_ACTIVE;
    GetExitCodeProcess(p.hProcess, &dwCode);
    return dwCode;
}

void close_handles(Process& p)
{
    if (p.hProcess) CloseHandle(p.hProcess);
    p = Process();
}

namespace {

struct FindCtx {
    const wchar_t* ptcClass;
    DWORD dwPid;
    HWND hwnd;
};

BOOL CALLBACK find_proc(HWND hwnd, LPARAM lParam)
{
    FindCtx* c = reinterpret_cast<FindCtx*>(lParam);
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwnd, &dwPid);
    if (c->dwPid && dwPid != c->dwPid) return TRUE;
    if (class_name(hwnd) != c->ptcClass) return TRUE;
    if (!IsWindowVisible(hwnd)) return TRUE;
    c->hwnd = hwnd;
    return FALSE;
}

HWND find_window(const wchar_t* ptcClass, DWORD dwPid)
{
    FindCtx c = {ptcClass, dwPid, nullptr};
    EnumWindows(find_proc, reinterpret_cast<LPARAM>(&c));
    return c.hwnd;
}

std::wstring artefact_dir()
{
    const char* pc = getenv("QD_ARTIFACTS");
    std::string s = pc && *pc ? pc : "artifacts";
    std::wstring w(s.begin(), s.end());
    if (!w.empty() && w[0] == L'/') w = L"Z:" + w;  // the Unix root is drive Z: under Wine
    for (wchar_t& c : w)
        if (c == L'/') c = L'\\';
    CreateDirectoryW(w.c_str(), nullptr);
    return w;
}

}  // namespace

HWND wait_window(const wchar_t* ptcClass, DWORD dwPid, DWORD dwMs)
{
    HWND hwnd = nullptr;
    wait_until([&] { return (hwnd = find_window(ptcClass, dwPid)) != nullptr; }, dwMs);
    return hwnd;
}

std::wstring text(HWND hwnd)
{
    wchar_t buf[4096] = {};
    DWORD_PTR dwRes = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 3000, &dwRes);
    return buf;
}

std::wstring class_name(HWND hwnd)
{
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

HWND wait_dialog(DWORD dwPid, DWORD dwMs) { return wait_window(L"#32770", dwPid, dwMs); }

std::wstring dialog_text(HWND hwndDlg) { return text(GetDlgItem(hwndDlg, 0xFFFF)); }

void press(HWND hwndDlg, int id)
{
    PostMessageW(hwndDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwndDlg, id)));
}

RECT child_rect(HWND hwndParent, HWND hwndChild)
{
    RECT rc = {};
    GetWindowRect(hwndChild, &rc);
    MapWindowPoints(nullptr, hwndParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring screenshot(HWND hwnd, const wchar_t* ptcName)
{
    RECT rc;
    if (!GetWindowRect(hwnd, &rc)) return L"";
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC hdcScreen = GetDC(nullptr);
    HDC hdcMem = CreateCompatibleDC(hdcScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pvBits = nullptr;
    HBITMAP bmp = CreateDIBSection(hdcScreen, &bi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    HGDIOBJ old = SelectObject(hdcMem, bmp);
    BitBlt(hdcMem, 0, 0, w, h, hdcScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    const uint8_t* px = static_cast<const uint8_t*>(pvBits);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        rgb[3 * i] = px[4 * i + 2];
        rgb[3 * i + 1] = px[4 * i + 1];
        rgb[3 * i + 2] = px[4 * i];
    }
    SelectObject(hdcMem, old);
    DeleteObject(bmp);
    DeleteDC(hdcMem);
    ReleaseDC(nullptr, hdcScreen);
    std::wstring path = artefact_dir() + L"\\" + ptcName;
    return write_png(path, w, h, rgb) ? path : L"";
}

}  // namespace drv
