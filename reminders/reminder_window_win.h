#pragma once
// The reminder window, which ties the rooms of the reminders together: the
// clock (timers and hidden values), the four pages and their controls, the
// lists, the timers' announcements, the entry panels and the page commands.
// It owns the window's lifecycle and settings and routes its messages.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/application_win.h"
#include "platform/window_win.h"
#include "reminders/page_commands_win.h"
#include "reminders/reminder_announcer_win.h"
#include "reminders/reminder_clock_win.h"
#include "reminders/reminder_lists_win.h"
#include "reminders/reminder_pages_win.h"
#include "reminders/reminder_panels_win.h"

namespace pendra {

class TfrmMain : public Form,
                 public IReminderPanels,
                 private ClockListener,
                 private EntryPanelsHost,
                 private PageCommandsHost {
 public:
  static constexpr UINT_PTR tmrTime = ReminderClockWnd::tmrTime;
  static constexpr UINT_PTR tmrEvent = ReminderClockWnd::tmrEvent;
  static constexpr UINT_PTR tmrDayEvent = ReminderClockWnd::tmrDayEvent;
  static constexpr UINT_PTR tmrDailyEvent = ReminderClockWnd::tmrDailyEvent;
  static constexpr UINT_PTR tmrMonth = ReminderClockWnd::tmrMonth;
  static constexpr UINT_PTR tmrLook = ReminderClockWnd::tmrLook;

  // Creates the clock window (it owns the timers and the hidden state
  // holders) and the popup menus, and runs the creation steps; the window
  // and its visible controls wait for the first show.
  TfrmMain();
  ~TfrmMain() override;

  // Creates the window, builds the visible controls once and brings them to
  // the state they would have had if built at creation. Show runs it;
  // idempotent.
  void EnsureControls() override;
  bool ControlsBuilt() const { return pages_.Built(); }
  // The message-only window whose timers drive the reminders.
  HWND ClockWindow() const { return clock_->Handle(); }

  // "Exit Pendra" runs the Cancel of the four entry panels first, in the order
  // weekly, one-time, daily, monthly.
  void CancelPanelsForExit() override;
  bool AnnouncementWaiting() const override { return Gate().BoxOpen() || Gate().Waiting() > 0; }

  // The program folder changed, `sinceMs` ago at the earliest: the lists
  // another program changed are read again once whole, so their reminders go
  // off while the window is hidden too.
  void ProgramFolderChanged(unsigned long sinceMs = 0);

  ReminderBook& Book() { return lists_.Book(); }
  void LoadList(Kind kind) { lists_.LoadList(kind); }
  void GoToPage(Kind kind) { pages_.GoToPage(kind); }

  // Read-only views for tests and the start-up catch-up.
  const ReminderPage& PageOf(Kind kind) const { return pages_.Page(kind); }
  HWND PageControl1() const { return pages_.PageControl1(); }
  Kind ActivePage() const { return pages_.ActivePage(); }
  bool TabHighlighted(Kind kind) const { return pages_.TabHighlighted(kind); }
  HWND spneditHours() const { return pages_.spneditHours(); }  // the spin edits' text fields
  HWND spneditMinutes() const { return pages_.spneditMinutes(); }
  int ReminderInterval() const { return panels_.Interval(); }      // minutes
  UINT EventPeriodMs() const { return clock_->EventPeriodMs(); }  // 0: tmrEvent stopped
  TodayRefs Refs() const { return announcer_.Refs(); }            // editDayStr, editMonthStr
  const AnnouncementGate& Gate() const { return announcer_.Gate(); }
  std::string HintOf(HWND control) const { return pages_.HintOf(control); }  // empty: none

  // Handlers, named after their components.
  void btnOKClick() { panels_.OkClick(Kind::OneTime); }
  void btnDayOKClick() { panels_.OkClick(Kind::Weekly); }
  void btnDailyOKClick() { panels_.OkClick(Kind::Daily); }
  void btnMonthOKClick() { panels_.OkClick(Kind::Monthly); }
  void btnCancelClick() { panels_.CancelClick(Kind::OneTime); }
  void btnDayCancelClick() { panels_.CancelClick(Kind::Weekly); }
  void btnDailyCancelClick() { panels_.CancelClick(Kind::Daily); }
  void btnMonthCancelClick() { panels_.CancelClick(Kind::Monthly); }
  void btnTestClick() { panels_.TestClick(Kind::OneTime); }
  void btnDayTestClick() { panels_.TestClick(Kind::Weekly); }
  void btnDailyTestClick() { panels_.TestClick(Kind::Daily); }
  void btnMonthTestClick() { panels_.TestClick(Kind::Monthly); }
  void spneditMinutesChange() { panels_.spneditMinutesChange(); }
  void tmrTimeTimer() { announcer_.tmrTimeTimer(); }
  void tmrEventTimer() { announcer_.tmrEventTimer(); }
  void tmrDayEventTimer() { announcer_.CheckSecond(Kind::Weekly); }
  void tmrDailyEventTimer() { announcer_.CheckSecond(Kind::Daily); }
  void tmrMonthTimer() { announcer_.CheckSecond(Kind::Monthly); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override;
  void FormShow() override;
  void FormHide() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;
  // The session query saves the lists; the end of the session writes the
  // date of the close and, while the window is shown, runs the hide steps.
  void SaveForSessionEnd() override;
  void FinishSessionEnd() override;

 private:
  friend class TBootCode;

  // ClockListener
  void ClockTick(UINT_PTR timer) override;
  void HiddenValueChanged(int id) override { OnCommand(id, EN_CHANGE); }
  // PageCommandsHost
  void HideWindow() override { Hide(); }

  void EnsureWindow();
  void ApplyStateToControls();
  void FormCreate();
  // The lists changed since they were read or last written; each failure
  // is collected, the last one thrown.
  void SaveChangedLists(std::vector<std::exception_ptr>& failures);
  void WriteLastClose();
  void OnCommand(int id, int code);
  LRESULT OnNotify(NMHDR* hdr);

  std::unique_ptr<ReminderClockWnd> clock_;
  ReminderPages pages_;
  ReminderLists lists_;
  ReminderAnnouncer announcer_;
  ReminderEntryPanels panels_;
  ReminderPageCommands commands_;

  // Alarm sound paths whose stored value could not be read: the registry
  // keeps it until the user chooses a sound for that page.
  std::array<bool, 4> soundUnread_{};
};

// The start-up data module: announces the reminders of today missed since the
// reminder window was last closed.
class TBootCode {
 public:
  explicit TBootCode(TfrmMain& frmMain);

 private:
  void DataModuleCreate();
  TfrmMain& frmMain_;
};

}  // namespace pendra
