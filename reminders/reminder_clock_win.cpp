#include "reminders/reminder_clock_win.h"

namespace pendra {

namespace {

LRESULT CALLBACK HiddenValueProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_SETTEXT && result) {
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
  }
  return result;
}

}  // namespace

ReminderClockWnd::ReminderClockWnd(ClockListener& listener) : listener_(listener) {
  CreateWnd("TfrmMainClock", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

ReminderClockWnd::~ReminderClockWnd() {
  for (UINT_PTR id : {tmrTime, tmrEvent, tmrDayEvent, tmrDailyEvent, tmrMonth, tmrLook}) KillTimer(Handle(), id);
}

void ReminderClockWnd::StartSecondTimers() {
  for (UINT_PTR id : {tmrTime, tmrDayEvent, tmrDailyEvent, tmrMonth}) SetTimer(Handle(), id, 1000, nullptr);
}

void ReminderClockWnd::SetEventPeriod(int minutes) {
  const UINT period = minutes > 0 ? static_cast<UINT>(minutes) * 60000u : 0u;
  if (period == eventPeriodMs_) return;
  eventPeriodMs_ = period;
  if (period == 0)
    KillTimer(Handle(), tmrEvent);
  else
    SetTimer(Handle(), tmrEvent, period, nullptr);
}

HWND ReminderClockWnd::NewHiddenValue(int id) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HiddenValueProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PendraHiddenValue";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "PendraHiddenValue", "", WS_CHILD, 0, 0, 0, 0, Handle(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

LRESULT ReminderClockWnd::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (wp == tmrLook) KillTimer(Handle(), tmrLook);
    listener_.ClockTick(wp);
    return 0;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    listener_.HiddenValueChanged(LOWORD(wp));
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
