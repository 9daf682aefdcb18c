#pragma once
// The reminder window: four pages (one-time, weekly, daily, monthly), each
// with its entry panel, heading strip, tabbed list and button panel; the five
// scheduler timers; the window's lifecycle and settings.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/application_win.h"
#include "platform/colors_win.h"
#include "platform/hints_win.h"
#include "platform/window_win.h"
#include "reminders/announcement.h"
#include "reminders/page_commands_win.h"
#include "reminders/reminder_page_win.h"
#include "reminders/scheduler.h"
#include "reminders/tabbed_list_win.h"

namespace pendra {

class ReminderPaneWnd;
class ReminderClockWnd;

class TfrmMain : public Form, public IReminderHost, public IReminderPanels {
 public:
  // Window timers (SetTimer ids).
  static constexpr UINT_PTR tmrTime = 1;
  static constexpr UINT_PTR tmrEvent = 2;
  static constexpr UINT_PTR tmrDayEvent = 3;
  static constexpr UINT_PTR tmrDailyEvent = 4;
  static constexpr UINT_PTR tmrMonth = 5;

  // Creates the clock window (it owns the timers and the hidden state
  // holders) and the popup menus, and runs the creation steps; the window
  // and its visible controls wait for the first show.
  TfrmMain();
  ~TfrmMain() override;

  // Creates the window, builds the visible controls once and brings them to
  // the state they would have had if built at creation. Show runs it;
  // idempotent.
  void EnsureControls();
  bool ControlsBuilt() const { return built_; }
  // The message-only window whose timers drive the reminders.
  HWND ClockWindow() const;

  // "Exit Pendra" runs the Cancel of the four entry panels first, in the order
  // weekly, one-time, daily, monthly.
  void CancelPanelsForExit() override;

  // IReminderHost
  ReminderPage& Page(Kind kind) override { return pages_[static_cast<size_t>(Index(kind))]; }
  ReminderBook& Book() override { return book_; }
  void RefreshList(Kind kind) override;
  void SaveList(Kind kind) override;
  void LoadList(Kind kind) override;
  void RequireLoaded(Kind kind) override;
  std::string ListFilePath(Kind kind) const override;
  TextReader Reader() override;
  void GoToPage(Kind kind) override;
  void HideWindow() override { Hide(); }

  // Places the pages' contents; the list takes the panel's room while it is hidden.
  void Relayout() override;

  // Read-only views for tests and the start-up catch-up.
  const ReminderPage& PageOf(Kind kind) const { return pages_[static_cast<size_t>(Index(kind))]; }
  HWND PageControl1() const { return PageControl1_; }
  Kind ActivePage() const;
  bool TabHighlighted(Kind kind) const;
  HWND spneditHours() const { return spneditHours_; }      // the spin edits' text fields
  HWND spneditMinutes() const { return spneditMinutes_; }
  HWND spinHours() const { return spinHours_; }            // their arrow buttons
  HWND spinMinutes() const { return spinMinutes_; }
  int ReminderInterval() const { return interval_; }       // minutes
  UINT EventPeriodMs() const { return eventPeriodMs_; }    // 0: tmrEvent stopped
  TodayRefs Refs() const;                                  // editDayStr, editMonthStr
  const AnnouncementGate& Gate() const { return gate_; }
  std::string HintOf(HWND control) const;                  // tooltip text, empty: none
  // The teal panels' background as shown now (the system's window colour
  // under high contrast).
  HBRUSH PanelBrush();

  // Handlers, named after their components.
  void btnOKClick() { OkClick(Kind::OneTime); }
  void btnDayOKClick() { OkClick(Kind::Weekly); }
  void btnDailyOKClick() { OkClick(Kind::Daily); }
  void btnMonthOKClick() { OkClick(Kind::Monthly); }
  void btnCancelClick() { CancelClick(Kind::OneTime); }
  void btnDayCancelClick() { CancelClick(Kind::Weekly); }
  void btnDailyCancelClick() { CancelClick(Kind::Daily); }
  void btnMonthCancelClick() { CancelClick(Kind::Monthly); }
  void btnTestClick() { TestClick(Kind::OneTime); }
  void btnDayTestClick() { TestClick(Kind::Weekly); }
  void btnDailyTestClick() { TestClick(Kind::Daily); }
  void btnMonthTestClick() { TestClick(Kind::Monthly); }
  void DTPWeekEventsCloseUp();
  void DTPMonthEventsCloseUp();
  void spneditMinutesChange();
  void tmrTimeTimer();
  void tmrEventTimer();
  void tmrDayEventTimer() { CheckSecond(Kind::Weekly); }
  void tmrDailyEventTimer() { CheckSecond(Kind::Daily); }
  void tmrMonthTimer() { CheckSecond(Kind::Monthly); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void BeforeShow() override {
    EnsureControls();
    RetryUnreadLists();
  }
  void FormShow() override;
  void FormHide() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  friend class TBootCode;
  friend class ReminderClockWnd;

  void EnsureWindow();
  void CreateStateHolders();
  void CreateControls();
  void ApplyStateToControls();
  void CreatePage(Kind kind);
  void CreateEntryPanel(Kind kind, HWND sheet);
  void CreateButtonPanel(Kind kind, HWND sheet);
  // Sizes the page's button panel to its captions at the window's DPI.
  void SizeButtonPanel(Kind kind);
  void CreateFonts();
  void CreatePopupMenu(Kind kind);
  // Places and sizes are design values, scaled to the window's DPI.
  HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                  int w, int h, int id, DWORD exStyle = 0);
  HWND AddLabel(HWND parent, const char* text, int x, int y, int w, int h);
  void AddHint(HWND control, const char* text);
  ReminderPaneWnd& NewPane(HWND parent, int kindOfPane, int x, int y, int w, int h, int id);

  void FormCreate();
  // Reads a list file into the book; false, with the list left as it was,
  // when the file cannot be read.
  bool TryLoadList(Kind kind);
  // Lists whose file could not be read are tried again, quietly: when the
  // window is shown and once a minute from the clock ticks.
  void RetryUnreadLists();
  void RetryUnreadListsEachMinute(const DateTime& now);
  // A list read after the start, on the day of a start that ran the
  // catch-up, gets the catch-up it missed: queued, shown at the next tick.
  void CatchUpLateList(Kind kind);
  // The formats the lists were written with: read quietly at creation (a
  // value that does not read counts as none), and the current ones put first
  // whenever a list or the date of the last close is written.
  void ReadRememberedFormats();
  void RememberFormats();
  // When the user changed the formats while the program runs, the ones in
  // force until then are read next, and remembered at the next write: this
  // run's lists were read and written with them. Costs a comparison otherwise.
  void FollowFormats();
  // Cancel's load of the page's list (see CancelClick).
  void LoadListForCancel(Kind kind);
  void EnableRemoveAll(Kind kind);
  void ShowSheet(Kind kind);
  void HighlightTab(Kind kind, bool on);
  void PageControl1Changing();
  void PageControl1Change();

  void OnCommand(int id, int code, HWND control);
  LRESULT OnNotify(NMHDR* hdr);
  LRESULT OnColor(HDC dc, HWND control);
  // Takes the colours to show afresh: the design's, or the system's under
  // high contrast.
  void UpdateColors();
  void DrawHeading(const DRAWITEMSTRUCT& item);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnTimer(UINT_PTR id);

  // Entry panels.
  void EditMessageChange(Kind kind);
  void OkClick(Kind kind);
  void CancelClick(Kind kind);
  void TestClick(Kind kind);
  void EnableEntryControls(Kind kind, bool enabled, bool menuMovesToo);
  void ResetPickers(Kind kind);  // time picker to now, the page's date picker to today
  static LRESULT CALLBACK MessageEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  // Scheduler.
  void CheckSecond(Kind kind);
  void MidnightRefresh(const Date& today);
  void SetEventPeriod(int minutes);
  void Offer(std::vector<DueReminder> due);
  void DrainAnnouncements();
  void ShowAnnouncement(const DueReminder& due, Words words);
  int SpinValue(HWND edit, int max) const;
  // Sets one interval part: through its spin edit when built (whose change
  // handler follows), else directly, running the change handler on a change.
  void SetSpinValue(int& part, HWND edit, int value);

  std::unique_ptr<ReminderClockWnd> clock_;
  ReminderBook book_;
  ReminderScheduler scheduler_{book_};
  AnnouncementGate gate_;
  ReminderPageCommands commands_{*this};

  std::array<ReminderPage, 4> pages_{};
  std::array<std::unique_ptr<TMd4TabbedList>, 4> lists_;
  // The version of the book's list that each list control shows; none: the
  // control has not been filled.
  std::array<std::optional<unsigned>, 4> shownVersions_;
  std::vector<std::unique_ptr<ReminderPaneWnd>> panes_;
  std::array<std::string, 4> listPaths_;
  std::vector<HWND> labels_;
  std::array<WNDPROC, 4> messageEditProcs_{};

  HWND PageControl1_ = nullptr;
  Hints hints_;
  HWND spneditHours_ = nullptr, spneditMinutes_ = nullptr;
  HWND spinHours_ = nullptr, spinMinutes_ = nullptr;
  HFONT uiFont_ = nullptr, listFont_ = nullptr, clockFont_ = nullptr;
  // The teal panels' and the clocks' colours as shown now, and their brushes.
  ColorPair panelColors_, clockColors_;
  ColorBrush panelBrush_, clockBrush_;

  // The spin edits' values while they do not exist yet; the edits show them
  // when built.
  int hourPart_ = 0, minutePart_ = 0;
  // Remove All as the creation steps left it (enabled by design), for the
  // buttons built later.
  std::array<bool, 4> clearAllEnabled_{true, true, true, true};
  // The button panels' widths in pixels: the design's, or wider for the captions.
  std::array<int, 4> panelWidths_{};

  // The minute in which unread lists were last tried.
  Date retryDate_{};
  int retryMinute_ = -1;

  // The remembered formats, newest first, and the stored value they came from.
  std::vector<WrittenFormats> remembered_;
  std::string formatsValue_;
  std::optional<WrittenFormats> inForce_;  // the current formats when last followed
  unsigned formatsGeneration_ = 0;
  // The day whose start ran the catch-up, and the lists not read then.
  std::optional<Date> catchUpDay_;
  ListSet lateCatchUp_{};

  // Alarm sound paths whose stored value could not be read: the registry
  // keeps it until the user chooses a sound for that page.
  std::array<bool, 4> soundUnread_{};

  int interval_ = 0;        // reminder interval, minutes
  UINT eventPeriodMs_ = 0;  // tmrEvent's period; 0 while stopped
  bool built_ = false;      // the visible controls exist
  bool scalingHeadings_ = false;  // the headings' widths follow a DPI change
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
