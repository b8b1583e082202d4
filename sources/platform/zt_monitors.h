// The monitors and the scale, as the program asks the system about them.
#pragma once
#include <windows.h>

#include "reach.h"

// The saved place of a window as it is to be applied on today's monitors:
// moved onto the nearest one when its title bar would be on none (the
// rule of reach.h); unchanged when the monitors cannot be asked.
STR_Place zt_PlaceInReach(int32_t x, int32_t y, int32_t w, int32_t h);

// Makes the process per-monitor DPI aware when its manifest did not: a
// system that knows the manifest's per-monitor v2 but cannot apply it
// (Wine 8) leaves the process unaware. Earlier systems that know neither
// are left to the manifest's older setting.
void zt_EnsurePerMonitorDpiAware();
