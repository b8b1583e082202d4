// Thin, null-safe wrappers of the Win32 calls used across the program,
// the one path for message boxes and the one path for waits, and small
// RAII holders so handles and GDI objects are released on every path.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "qd_text.h"

static_assert(sizeof(wchar_t) == sizeof(qd_char), "UTF-16 wchar_t expected");

inline wchar_t* zt_W(qd_char* ptc) { return reinterpret_cast<wchar_t*>(ptc); }
inline const wchar_t* zt_W(const qd_char* ptc) { return reinterpret_cast<const wchar_t*>(ptc); }
inline qd_char* zt_Q(wchar_t* ptc) { return reinterpret_cast<qd_char*>(ptc); }
inline const qd_char* zt_Q(const wchar_t* ptc) { return reinterpret_cast<const qd_char*>(ptc); }

// Window handles are kept as 32-bit values in stores and records; the upper
// half of a window handle is not significant. Back to a handle they are
// sign-extended, as the system does for handles shared with 32-bit code.
inline uint32_t zt_hwnd32(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)); }
inline HWND zt_hwnd(uint32_t ui)
{
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(ui)));
}

// ---- message boxes ---------------------------------------------------------
// Every box of the program goes through zt_MessageBox. A test installs a
// hook that records the box and answers for the user instead.
typedef int (*ZT_BoxHook)(void* pCtx, HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags);
void zt_SetBoxHook(ZT_BoxHook pfnHook, void* pCtx);
int zt_MessageBox(HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags);

// ---- waits -------------------------------------------------------------------
// Every pause of the program goes through zt_Wait (and idle waits through
// zt_WaitForInputIdle), so tests can run without sleeping for real.
typedef void (*ZT_WaitHook)(void* pCtx, DWORD dwMilliseconds);
typedef DWORD (*ZT_IdleHook)(void* pCtx, HANDLE hProcess, DWORD dwMilliseconds);
void zt_SetWaitHooks(ZT_WaitHook pfnWait, ZT_IdleHook pfnIdle, void* pCtx);
void zt_Wait(DWORD dwMilliseconds);
DWORD zt_WaitForInputIdle(HANDLE hProcess, DWORD dwMilliseconds);

// ---- bounded waits for other programs' windows ------------------------------
// A message sent to another program's window with a time limit goes through
// zt_SendMessageTimeout (SendMessageTimeoutW; the last error is kept for the
// caller). After each such wait the hook, when set, is told whether the
// window answered, so a test counts the waits for a hung program instead of
// timing them.
typedef void (*ZT_AnswerWaitHook)(void* pCtx, HWND hwnd, bool bAnswered);
void zt_SetAnswerWaitHook(ZT_AnswerWaitHook pfn, void* pCtx);
LRESULT zt_SendMessageTimeout(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
                              DWORD_PTR* pdwResult);

// ---- launching -------------------------------------------------------------
// Every program the tool starts and every folder it opens goes through
// these; a test installs an observer that counts the launches.
typedef void (*ZT_LaunchHook)(void* pCtx, const wchar_t* ptcPath, bool bFolder);
void zt_SetLaunchHook(ZT_LaunchHook pfnHook, void* pCtx);
// CreateProcessW with ptcPath as the application name and no command line.
BOOL zt_CreateProcess(const wchar_t* ptcPath, STARTUPINFOW* pSI, PROCESS_INFORMATION* pPI);
// ShellExecuteExW "open" on a folder, shown normally, no owner.
BOOL zt_OpenFolder(const wchar_t* ptcFolder);

// ---- other programs' windows ----------------------------------------------
// Restores (when bRestore) and places another program's window without
// waiting for its program: both requests are queued to the window's thread
// in this order, so a program that does not answer cannot hold the tool up.
void zt_PlaceWindowAsync(HWND hwnd, bool bRestore, int32_t x, int32_t y, int32_t w, int32_t h);

// ---- memory ------------------------------------------------------------------
// Committed, zero-filled read-write memory; zt_VirtualFree releases once and
// clears the address. A test can make allocations fail.
typedef bool (*ZT_AllocFailHook)(void* pCtx, size_t uiSize);
void zt_SetAllocFailHook(ZT_AllocFailHook pfnHook, void* pCtx);
void* zt_VirtualAlloc(size_t uiSize);
void zt_VirtualFreeAddr(void* pv);
template <typename T>
inline void zt_VirtualFree(T*& p)
{
    zt_VirtualFreeAddr(const_cast<void*>(static_cast<const void*>(p)));
    p = nullptr;
}
// Blocks obtained with zt_VirtualAlloc and not yet released: a test
// compares it before and after a command to prove nothing leaked.
long zt_LiveAllocations();

// ---- screen ------------------------------------------------------------------
inline int32_t zt_ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
inline int32_t zt_ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }

// ---- RAII holders ----------------------------------------------------------------
// A GDI object created here and deleted when the holder goes.
template <typename H>
class zt_GdiObj {
public:
    explicit zt_GdiObj(H h = nullptr) : m_h(h) {}
    ~zt_GdiObj() { if (m_h) DeleteObject(m_h); }
    zt_GdiObj(const zt_GdiObj&) = delete;
    zt_GdiObj& operator=(const zt_GdiObj&) = delete;
    H get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
private:
    H m_h;
};

// Saves a DC's state and restores it when the holder goes.
class zt_SavedDC {
public:
    explicit zt_SavedDC(HDC hdc) : m_hdc(hdc), m_i(hdc ? SaveDC(hdc) : 0) {}
    ~zt_SavedDC() { if (m_hdc && m_i) RestoreDC(m_hdc, m_i); }
    zt_SavedDC(const zt_SavedDC&) = delete;
    zt_SavedDC& operator=(const zt_SavedDC&) = delete;
private:
    HDC m_hdc;
    int m_i;
};

// A window's DC from GetDC, released with ReleaseDC.
class zt_WindowDC {
public:
    explicit zt_WindowDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~zt_WindowDC() { if (m_hdc) ReleaseDC(m_hwnd, m_hdc); }
    zt_WindowDC(const zt_WindowDC&) = delete;
    zt_WindowDC& operator=(const zt_WindowDC&) = delete;
    HDC get() const { return m_hdc; }
private:
    HWND m_hwnd;
    HDC m_hdc;
};

// A kernel handle closed when the holder goes.
class zt_Handle {
public:
    explicit zt_Handle(HANDLE h = nullptr) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~zt_Handle() { reset(); }
    zt_Handle(const zt_Handle&) = delete;
    zt_Handle& operator=(const zt_Handle&) = delete;
    HANDLE get() const { return m_h; }
    void reset(HANDLE h = nullptr)
    {
        if (m_h) CloseHandle(m_h);
        m_h = (h == INVALID_HANDLE_VALUE) ? nullptr : h;
    }
    explicit operator bool() const { return m_h != nullptr; }
private:
    HANDLE m_h;
};

// ---- popup menus -------------------------------------------------------------
// Every popup menu goes through zt_TrackPopupMenu (it runs a modal loop of
// its own). A test installs a hook that records the menu instead.
typedef BOOL (*ZT_PopupHook)(void* pCtx, HMENU hMenu, UINT uiFlags, int x, int y, HWND hwndOwner);
void zt_SetPopupHook(ZT_PopupHook pfnHook, void* pCtx);
BOOL zt_TrackPopupMenu(HMENU hMenu, UINT uiFlags, int x, int y, HWND hwndOwner);

// ---- window classes ----------------------------------------------------------
// A class of the program's secondary windows: redrawn on resizing, the
// system's application icon, the arrow cursor, a white background, no menu.
// True when the class is registered (also when it already was).
bool zt_RegisterPlainWindowClass(const wchar_t* ptcClass, WNDPROC pfnProc, HINSTANCE hInst);
