#pragma once
// The entry panels across the top of the four reminder pages: OK, Cancel,
// Test, Enter in the message, the calendars' close-ups, and the reminder
// interval's spin edits on the one-time page.
#include <windows.h>

#include <array>

#include "reminders/reminder_kinds.h"

namespace pendra {

class ReminderAnnouncer;
class ReminderClockWnd;
class ReminderLists;
class ReminderPages;
class TRegIniFile;

// What the entry panels need of the reminder window.
class EntryPanelsHost {
 public:
  // OK works on the entry panel, so it needs the window's controls to exist.
  virtual void EnsureControls() = 0;

 protected:
  ~EntryPanelsHost() = default;
};

class ReminderEntryPanels {
 public:
  ReminderEntryPanels(EntryPanelsHost& host, ReminderPages& pages, ReminderLists& lists,
                      ReminderAnnouncer& announcer, ReminderClockWnd& clock);

  // Once the controls are built: Enter in a message edit runs its page's OK.
  void ControlsBuilt();

  void EditMessageChange(Kind kind);
  void OkClick(Kind kind);
  void CancelClick(Kind kind);
  void TestClick(Kind kind);
  void DTPWeekEventsCloseUp();
  void DTPMonthEventsCloseUp();
  // The time picker to now, the page's date picker to today.
  void ResetPickers(Kind kind);

  // The reminder interval: read at creation, stored at hide, and applied at
  // once when either spin edit changes.
  void spneditMinutesChange();
  void ReadInterval(const TRegIniFile& ini);
  void StoreInterval(TRegIniFile& ini);
  int Interval() const { return interval_; }  // minutes
  int HourPart() const { return hourPart_; }
  int MinutePart() const { return minutePart_; }

 private:
  void EnableEntryControls(Kind kind, bool enabled, bool menuMovesToo);
  // Cancel's load of the page's list (see CancelClick).
  void LoadListForCancel(Kind kind);
  int SpinValue(HWND edit, int max) const;
  // Sets one interval part: through its spin edit when built (whose change
  // handler follows), else directly, running the change handler on a change.
  void SetSpinValue(int& part, HWND edit, int value);
  static LRESULT CALLBACK MessageEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  EntryPanelsHost& host_;
  ReminderPages& pages_;
  ReminderLists& lists_;
  ReminderAnnouncer& announcer_;
  ReminderClockWnd& clock_;
  std::array<WNDPROC, 4> messageEditProcs_{};
  // The spin edits' values while they do not exist yet; the edits show them
  // when built.
  int hourPart_ = 0, minutePart_ = 0;
  int interval_ = 0;  // minutes
};

}  // namespace pendra
