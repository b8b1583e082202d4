// The reach rule on desktops of one and two monitors around a 1920 x 1080
// primary, title bars 31 high.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "reach.h"

TEST(Reach, OnlyATitleBarOnNoMonitorIsMovedOntoTheNearestAndCutToIt)
{
    const std::vector<STR_Area> one = {{0, 0, 1920, 1080}}, taskbar = {{0, 0, 1920, 1040}};
    const std::vector<STR_Area> left = {{-1280, 0, 0, 1024}, {0, 0, 1920, 1080}}, right = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    const struct { const std::vector<STR_Area>* pWork; uint32_t uiNearest; STR_Place in, out; } rows[] = {
        {&one, 0, {2100, 100, 400, 300}, {1520, 100, 400, 300}},       // its monitor gone, right
        {&one, 0, {300, 1200, 500, 350}, {300, 730, 500, 350}},        // below the screen
        {&one, 0, {-1200, 50, 400, 300}, {0, 50, 400, 300}},           // the monitor left of it gone
        {&left, 0, {-1200, 50, 400, 300}, {-1200, 50, 400, 300}},      // still there
        {&one, 0, {2100, -50, 2500, 1200}, {0, 0, 1920, 1080}},        // larger than the monitor
        {&one, 0, {-50, 30, 640, 480}, {-50, 30, 640, 480}},           // partly off, title bar in reach
        {&one, 0, {100, -23, 400, 300}, {100, -23, 400, 300}},         // 8 rows of title bar show
        {&one, 0, {100, -24, 400, 300}, {100, 0, 400, 300}},           // 7 do not do
        {&one, 0, {1888, 100, 400, 300}, {1888, 100, 400, 300}},       // 32 columns show
        {&one, 0, {1889, 100, 400, 300}, {1520, 100, 400, 300}},       // 31 do not do
        {&taskbar, 0, {100, 1035, 400, 300}, {100, 740, 400, 300}},    // the work area counts, not the monitor
        {&right, 1, {3300, 100, 400, 300}, {2800, 100, 400, 300}},     // onto the nearest, the second
        {&one, 0, {INT_MAX - 10, 0, INT_MAX, 100}, {0, 0, 1920, 100}}, // no overflow
        {&one, 0, {5000, 5000, 0, 300}, {5000, 5000, 0, 300}},         // no size: nothing to judge
    };
    for (const auto& r : rows) {
        const STR_Place p = place_in_reach(r.in, {r.pWork->data(), static_cast<uint32_t>(r.pWork->size()), r.uiNearest, 31});
        EXPECT_TRUE(p.i_x == r.out.i_x && p.i_y == r.out.i_y && p.i_w == r.out.i_w && p.i_h == r.out.i_h)
            << r.in.i_x << ", " << r.in.i_y << " -> " << p.i_x << ", " << p.i_y << ", " << p.i_w << ", " << p.i_h;
    }
}
