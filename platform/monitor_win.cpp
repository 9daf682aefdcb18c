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

}  // namespace pendra
