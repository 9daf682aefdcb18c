#pragma once
// The reminder window's clock: a message-only window, which costs next to
// nothing at program start, that runs the five scheduler timers from the
// window's creation to the end of the process and holds the values a page
// keeps out of sight (its sound path, its day or month reference) before the
// reminder window and its pages exist.
#include <windows.h>

#include "platform/window_win.h"

namespace pendra {

// Who hears the clock: its timer ticks and the hidden values' changes.
class ClockListener {
 public:
  virtual void ClockTick(UINT_PTR timer) = 0;
  virtual void HiddenValueChanged(int id) = 0;

 protected:
  ~ClockListener() = default;
};

class ReminderClockWnd final : public Window {
 public:
  // Window timers (SetTimer ids).
  static constexpr UINT_PTR tmrTime = 1;
  static constexpr UINT_PTR tmrEvent = 2;
  static constexpr UINT_PTR tmrDayEvent = 3;
  static constexpr UINT_PTR tmrDailyEvent = 4;
  static constexpr UINT_PTR tmrMonth = 5;
  // Once, a moment after LookLater: a look at list files another program changed.
  static constexpr UINT_PTR tmrLook = 6;

  explicit ReminderClockWnd(ClockListener& listener);
  ~ReminderClockWnd() override;

  // The four one-second timers, which run whatever the creation steps met.
  void StartSecondTimers();
  // tmrEvent runs every `minutes` minutes, stopped at 0; its count restarts
  // only when the period changes.
  void SetEventPeriod(int minutes);
  UINT EventPeriodMs() const { return eventPeriodMs_; }  // 0 while stopped
  int EventMinutes() const { return static_cast<int>(eventPeriodMs_ / 60000u); }
  // tmrLook ticks once, `ms` from now (from the last call, when called again
  // before it ticked).
  void LookLater(UINT ms) { SetTimer(Handle(), tmrLook, ms, nullptr); }

  // A hidden value: it holds text as an edit does and tells the listener of
  // every change, without the cost of a first edit control at program start.
  HWND NewHiddenValue(int id);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ClockListener& listener_;
  UINT eventPeriodMs_ = 0;
};

}  // namespace pendra
