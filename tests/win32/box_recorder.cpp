#include "box_recorder.h"

#include "main_prg/main_window.h"
#include "platform/zt_win.h"

namespace {

int record(void* pCtx, HWND hwndOwner, const wchar_t* ptcText, const wchar_t* ptcCaption, UINT uiFlags)
{
    BoxRecorder* r = static_cast<BoxRecorder*>(pCtx);
    r->boxes.push_back({hwndOwner, ptcText ? ptcText : L"", ptcCaption ? ptcCaption : L"", uiFlags});
    return r->iAnswer;
}

}  // namespace

BoxRecorder::BoxRecorder() { zt_SetBoxHook(record, this); }
BoxRecorder::~BoxRecorder() { zt_SetBoxHook(nullptr, nullptr); }

size_t BoxRecorder::count_caption(const wchar_t* ptcCaption) const
{
    size_t n = 0;
    for (const RecordedBox& b : boxes) n += (b.caption == ptcCaption);
    return n;
}

bool BoxRecorder::any_text_contains(const wchar_t* ptcPart) const
{
    for (const RecordedBox& b : boxes)
        if (b.text.find(ptcPart) != std::wstring::npos) return true;
    return false;
}

void test_register_classes()
{
    static bool bDone = false;
    if (bDone) return;
    bDone = true;
    init_common_controls();
    register_window_classes(GetModuleHandleW(nullptr));
}
