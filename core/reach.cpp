#include "reach.h"

#include <algorithm>

namespace {

// Edges are summed in 64 bits: a profile's numbers are any 32-bit values.
int64_t overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::min(a1, b1) - std::max(a0, b0); }

int32_t clamp_into(int64_t v, int64_t lo, int64_t hi) { return static_cast<int32_t>(std::max(lo, std::min(v, hi))); }

}  // namespace

bool title_bar_in_reach(const STR_Place& place, const STR_Monitors& m)
{
    const int64_t x0 = place.i_x, x1 = x0 + place.i_w, y0 = place.i_y;
    const int64_t iTitleH = std::min(m.i_title_h, place.i_h);
    const int64_t y1 = y0 + iTitleH;
    const int64_t iNeedW = std::min<int64_t>(QD_GRAB_W, place.i_w), iNeedH = std::min<int64_t>(QD_GRAB_H, iTitleH);
    for (uint32_t i = 0; m.arr1D_work && i < m.uiN_monitors; ++i) {
        const STR_Area& a = m.arr1D_work[i];
        if (overlap(x0, x1, a.i_left, a.i_right) >= iNeedW && overlap(y0, y1, a.i_top, a.i_bottom) >= iNeedH)
            return true;
    }
    return false;
}

STR_Place place_in_reach(const STR_Place& place, const STR_Monitors& m)
{
    if (place.i_w <= 0 || place.i_h <= 0 || !m.arr1D_work || !m.uiN_monitors) return place;
    if (title_bar_in_reach(place, m)) return place;
    const STR_Area& a = m.arr1D_work[m.ui_nearest < m.uiN_monitors ? m.ui_nearest : 0];
    const int64_t iAreaW = int64_t{a.i_right} - a.i_left, iAreaH = int64_t{a.i_bottom} - a.i_top;
    if (iAreaW <= 0 || iAreaH <= 0) return place;
    STR_Place p;
    p.i_w = static_cast<int32_t>(std::min<int64_t>(place.i_w, iAreaW));
    p.i_h = static_cast<int32_t>(std::min<int64_t>(place.i_h, iAreaH));
    p.i_x = clamp_into(place.i_x, a.i_left, int64_t{a.i_right} - p.i_w);
    p.i_y = clamp_into(place.i_y, a.i_top, int64_t{a.i_bottom} - p.i_h);
    return p;
}
