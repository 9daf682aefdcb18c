#pragma once
// Keeps restored window positions reachable.
#include <windows.h>

namespace pendra {

// A window rectangle that lies wholly outside every monitor (a monitor removed
// since it was stored) is moved onto the nearest monitor's work area; a
// rectangle that touches any monitor, even partly off screen, is returned as is.
RECT BringOntoMonitor(const RECT& rect);

}  // namespace pendra
