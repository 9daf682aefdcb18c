#pragma once
// Keeps restored window positions reachable.
#include <windows.h>

namespace pendra {

// A window rectangle that lies wholly outside every monitor (a monitor removed
// since it was stored) is moved onto the nearest monitor's work area; a
// rectangle that touches any monitor, even partly off screen, is returned as is.
RECT BringOntoMonitor(const RECT& rect);

// The normal place of WINDOWPLACEMENT (rcNormalPosition) is in workspace
// coordinates: relative to the work area of the window's monitor, so it
// differs from screen coordinates by the room of a taskbar at the top or the
// left. Tool windows use screen coordinates there.
RECT WorkspaceToScreen(const RECT& rect, const MONITORINFO& monitor);
RECT ScreenToWorkspace(const RECT& rect, const MONITORINFO& monitor);
// The place a window has, or returns to when it is maximised or minimised,
// in screen coordinates; and the same set, the window keeping its state.
RECT NormalPlaceOnScreen(HWND window);
void SetNormalPlace(HWND window, const RECT& screenRect);

}  // namespace pendra
