// Keeps restored windows within the user's reach. A profile saved on one
// set of monitors may be loaded on another (a laptop undocked, a monitor
// gone): a window whose title bar would be on no monitor is moved onto the
// nearest one. Plain rectangles in, a place out, so the rule is tested here.
#pragma once
#include <cstdint>

// A rectangle by its edges, as the system gives a monitor's work area.
struct STR_Area {
    int32_t i_left;
    int32_t i_top;
    int32_t i_right;
    int32_t i_bottom;
};

// A window's place: its top-left corner and size, as a profile keeps it.
struct STR_Place {
    int32_t i_x;
    int32_t i_y;
    int32_t i_w;
    int32_t i_h;
};

// The desktop a place is judged on.
struct STR_Monitors {
    const STR_Area* arr1D_work;  // work area of each attached monitor
    uint32_t uiN_monitors;
    uint32_t ui_nearest;         // the monitor the system names nearest to the place
    int32_t i_title_h;           // height of a title bar with the frame above it
};

// A user drags a window by its title bar; this much of it must show.
enum : int32_t { QD_GRAB_W = 32, QD_GRAB_H = 8 };

// True when some work area shows a piece of the place's title bar (its top
// i_title_h rows) at least QD_GRAB_W wide and QD_GRAB_H high, or the whole
// title bar when it is smaller than that.
bool title_bar_in_reach(const STR_Place& place, const STR_Monitors& m);

// The place itself when its title bar is in reach (partly off the screen
// included). Otherwise it is moved the least distance onto the nearest
// monitor's work area, its size kept where it fits and cut to the work
// area where it does not. A place without a positive size, or no monitor
// to judge by, is returned as it is.
STR_Place place_in_reach(const STR_Place& place, const STR_Monitors& m);
