// Records the program's message boxes instead of showing them, answering
// each with OK; the real boxes come back with its end.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "main_prg/main_window.h"
#include "platform/zt_monitors.h"
#include "platform/zt_win.h"

struct RecordedBox {
    HWND hwndOwner;
    std::wstring text;
    std::wstring caption;
    UINT uiFlags;
};

struct BoxRecorder {
    BoxRecorder() { zt_SetBoxHook(record, this); }
    ~BoxRecorder() { zt_SetBoxHook(nullptr, nullptr); }
    BoxRecorder(const BoxRecorder&) = delete;
    bool any_text_contains(const wchar_t* ptcPart) const
    {
        for (const RecordedBox& b : boxes)
            if (b.text.find(ptcPart) != std::wstring::npos) return true;
        return false;
    }
    static int record(void* pCtx, HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags)
    {
        BoxRecorder* r = static_cast<BoxRecorder*>(pCtx);
        r->boxes.push_back({hwndOwner, ptcText ? ptcText : L"", ptcCaption ? ptcCaption : L"", uiFlags});
        return IDOK;
    }
    std::vector<RecordedBox> boxes;
};

// Counts, while it lives, the bounded waits for another program's window
// that went unanswered.
struct UnansweredWaits {
    int n = 0;
    UnansweredWaits() { zt_SetAnswerWaitHook([](void* p, HWND, bool b) { *static_cast<int*>(p) += !b; }, &n); }
    ~UnansweredWaits() { zt_SetAnswerWaitHook(nullptr, nullptr); }
    UnansweredWaits(const UnansweredWaits&) = delete;
    UnansweredWaits& operator=(const UnansweredWaits&) = delete;
};

// The program's start-up steps before its first window (the scale, the
// common controls, the window classes), taken once by the test process.
inline void test_register_classes()
{
    static const bool bDone = (zt_EnsurePerMonitorDpiAware(), init_common_controls(),
                               register_window_classes(GetModuleHandleW(nullptr)), true);
    (void)bDone;
}
