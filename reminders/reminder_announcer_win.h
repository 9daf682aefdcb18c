#pragma once
// The reminder timers and the announcements: each tick of the clock asks the
// scheduler what fell due and shows it, one box at a time; the clock labels
// and the midnight refresh of the references to today; the Test buttons' run
// of a list; and the catch-up of the reminders missed before the start.
#include <windows.h>

#include <optional>
#include <vector>

#include "reminders/announcement.h"
#include "reminders/scheduler.h"

namespace pendra {

class ReminderClockWnd;
class ReminderLists;
class ReminderPages;

class ReminderAnnouncer {
 public:
  ReminderAnnouncer(ReminderPages& pages, ReminderLists& lists, ReminderClockWnd& clock);

  // A tick of one of the clock's timers.
  void ClockTick(UINT_PTR timer);
  void tmrTimeTimer();
  void tmrEventTimer();
  void CheckSecond(Kind kind);

  // editDayStr and editMonthStr as they stand.
  TodayRefs Refs() const;
  const AnnouncementGate& Gate() const { return gate_; }

  // A Test button: every entry of the list, in the page's words.
  void TestRun(Kind kind);
  // The start-up catch-up of the reminders of today missed since the window
  // was last closed.
  void RunStartCatchUp();
  // A list read without another version before it. One read after the
  // start, on the day of a start that ran the catch-up, gets the catch-up it
  // missed: queued, shown at the next tick.
  void CatchUpLateList(Kind kind);
  // A list read again after another program changed it gets the catch-up of
  // what fell due since its file was last known unchanged (`since`), less
  // what it held today (`before` too): queued.
  void CatchUpList(Kind kind, const Lines& before, const std::optional<DateTime>& since);
  void SetStoredFormats(const StoredFormats& stored) { scheduler_.SetStoredFormats(stored); }

 private:
  void MidnightRefresh(const Date& today);
  void CatchUp(Kind kind, const std::optional<DateTime>& since);
  void Offer(std::vector<DueReminder> due);
  void DrainAnnouncements();
  void ShowAnnouncement(const DueReminder& due, Words words);

  ReminderPages& pages_;
  ReminderLists& lists_;
  ReminderClockWnd& clock_;
  ReminderScheduler scheduler_;
  AnnouncementGate gate_;
  // The day whose start ran the catch-up, and the lists not read then.
  std::optional<Date> catchUpDay_;
  ListSet lateCatchUp_{};
};

}  // namespace pendra
