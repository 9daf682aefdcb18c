#include "platform/monitor_win.h"

namespace pendra {

RECT BringOntoMonitor(const RECT& rect) {
  if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) return rect;

  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR nearest = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
  if (!nearest || !GetMonitorInfoA(nearest, &info)) return rect;
  const RECT& work = info.rcWork;

  const LONG width = rect.right - rect.left;
  const LONG height = rect.bottom - rect.top;
  // Keep the size; move the rectangle just far enough to lie inside the work
  // area, and anchor it at the top-left corner when it is larger than that.
  LONG left = rect.left;
  LONG top = rect.top;
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = work.bottom - height;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  return RECT{left, top, left + width, top + height};
}

namespace {

RECT Offset(const RECT& r, LONG dx, LONG dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// The monitor of a window, or a monitor without a work-area offset when the
// window keeps its normal place in screen coordinates.
MONITORINFO MonitorOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ||
      !GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
    info.rcWork = info.rcMonitor = RECT{};
  return info;
}

}  // namespace

RECT WorkspaceToScreen(const RECT& rect, const MONITORINFO& monitor) {
  return Offset(rect, monitor.rcWork.left - monitor.rcMonitor.left,
                monitor.rcWork.top - monitor.rcMonitor.top);
}

RECT ScreenToWorkspace(const RECT& rect, const MONITORINFO& monitor) {
  return Offset(rect, monitor.rcMonitor.left - monitor.rcWork.left,
                monitor.rcMonitor.top - monitor.rcWork.top);
}

RECT NormalPlaceOnScreen(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if ((IsZoomed(window) || IsIconic(window)) && GetWindowPlacement(window, &placement))
    return WorkspaceToScreen(placement.rcNormalPosition, MonitorOf(window));
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

void SetNormalPlace(HWND window, const RECT& screenRect) {
  if (!IsZoomed(window) && !IsIconic(window)) {
    SetWindowPos(window, nullptr, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                 screenRect.bottom - screenRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // A maximised or minimised window keeps its state; the place becomes the
  // one it is restored to. Its visibility is left as it is.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return;
  placement.flags = 0;
  if (!IsWindowVisible(window))
    placement.showCmd = SW_HIDE;
  else
    placement.showCmd = IsZoomed(window) ? SW_SHOWMAXIMIZED : SW_SHOWMINNOACTIVE;
  placement.rcNormalPosition = ScreenToWorkspace(screenRect, MonitorOf(window));
  SetWindowPlacement(window, &placement);
}

}  // namespace pendra
