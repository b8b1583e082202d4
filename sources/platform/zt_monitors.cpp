#include "platform/zt_monitors.h"

#include <vector>

namespace {

struct STR_MonitorList {
    std::vector<HMONITOR> arr1D_hmon;
    std::vector<STR_Area> arr1D_work;
};

BOOL CALLBACK add_monitor(HMONITOR hmon, HDC, LPRECT, LPARAM lParam)
{
    STR_MonitorList* p = reinterpret_cast<STR_MonitorList*>(lParam);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(hmon, &mi)) return TRUE;  // gone meanwhile
    p->arr1D_hmon.push_back(hmon);
    p->arr1D_work.push_back({mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
    return TRUE;
}

// A function of user32 that older systems lack.
template <typename F>
F user32_function(const char* pcName)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), pcName)));
}

}  // namespace

STR_Place zt_PlaceInReach(int32_t x, int32_t y, int32_t w, int32_t h)
{
    const STR_Place saved = {x, y, w, h};
    STR_MonitorList list;
    if (!EnumDisplayMonitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list)) || list.arr1D_hmon.empty())
        return saved;
    // Which monitor is nearest is the system's answer, as it gives it everywhere.
    const RECT rc = {x, y, static_cast<LONG>(int64_t{x} + w), static_cast<LONG>(int64_t{y} + h)};
    const HMONITOR hNearest = MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST);
    uint32_t uiNearest = 0;
    while (uiNearest < list.arr1D_hmon.size() && list.arr1D_hmon[uiNearest] != hNearest) ++uiNearest;
    const STR_Monitors m = {list.arr1D_work.data(), static_cast<uint32_t>(list.arr1D_work.size()), uiNearest,
                            GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME)};
    return place_in_reach(saved, m);
}

void zt_EnsurePerMonitorDpiAware()
{
    typedef DPI_AWARENESS_CONTEXT(WINAPI * GetContext)();
    typedef DPI_AWARENESS(WINAPI * AwarenessOf)(DPI_AWARENESS_CONTEXT);
    typedef BOOL(WINAPI * SetContext)(DPI_AWARENESS_CONTEXT);
    const GetContext pfnGet = user32_function<GetContext>("GetThreadDpiAwarenessContext");
    const AwarenessOf pfnAwareness = user32_function<AwarenessOf>("GetAwarenessFromDpiAwarenessContext");
    const SetContext pfnSet = user32_function<SetContext>("SetProcessDpiAwarenessContext");
    if (pfnGet && pfnAwareness && pfnSet && pfnAwareness(pfnGet()) == DPI_AWARENESS_UNAWARE)
        pfnSet(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
}
