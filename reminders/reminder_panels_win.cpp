#include "reminders/reminder_panels_win.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/services.h"
#include "platform/window_win.h"
#include "reminders/entry.h"
#include "reminders/reminder_announcer_win.h"
#include "reminders/reminder_clock_win.h"
#include "reminders/reminder_lists_win.h"
#include "reminders/reminder_pages_win.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

constexpr const wchar_t* kPanelsProp = L"PendraPanels";

// The spin edits' ranges; the interval is hours × 60 + minutes.
constexpr int kMaxHours = 24;
constexpr int kMaxMinutes = 60;
constexpr int kMaxInterval = kMaxHours * 60 + kMaxMinutes;

// A stored interval beyond what the spin edits can give would overflow the
// timer's period.
int StoredInterval(const TRegIniFile& ini) {
  return std::clamp(ini.ReadInteger("Time", "Interval", 0), 0, kMaxInterval);
}

}  // namespace

ReminderEntryPanels::ReminderEntryPanels(EntryPanelsHost& host, ReminderPages& pages, ReminderLists& lists,
                                         ReminderAnnouncer& announcer, ReminderClockWnd& clock)
    : host_(host), pages_(pages), lists_(lists), announcer_(announcer), clock_(clock) {}

void ReminderEntryPanels::ControlsBuilt() {
  for (Kind k : kAllKinds) {
    HWND edit = pages_.Page(k).editMessage;
    SetPropW(edit, kPanelsProp, this);
    // A wide subclass of the wide edit: its text stays whole through it.
    messageEditProcs_[static_cast<size_t>(Index(k))] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageEditProc)));
  }
}

// Each value is read on its own: one of the wrong type is reported and the
// others are still read.
void ReminderEntryPanels::ReadInterval(const TRegIniFile& ini) {
  Guarded([&] { interval_ = StoredInterval(ini); });
  Guarded([&] {
    SetSpinValue(hourPart_, pages_.spneditHours(),
                 std::clamp(ini.ReadInteger("Time", "HourInterval", 0), 0, kMaxHours));
  });
  Guarded([&] {
    SetSpinValue(minutePart_, pages_.spneditMinutes(),
                 std::clamp(ini.ReadInteger("Time", "MinuteInterval", 0), 0, kMaxMinutes));
  });
  clock_.SetEventPeriod(interval_);
}

void ReminderEntryPanels::StoreInterval(TRegIniFile& ini) {
  const int hours = pages_.Built() ? SpinValue(pages_.spneditHours(), kMaxHours) : hourPart_;
  const int minutes = pages_.Built() ? SpinValue(pages_.spneditMinutes(), kMaxMinutes) : minutePart_;
  interval_ = hours * 60 + minutes;
  ini.WriteInteger("Time", "Interval", interval_);
  ini.WriteInteger("Time", "HourInterval", hours);
  ini.WriteInteger("Time", "MinuteInterval", minutes);
  clock_.SetEventPeriod(StoredInterval(ini));
}

void ReminderEntryPanels::ResetPickers(Kind kind) {
  const DateTime now = Svc().clock->Now();
  ReminderPage& p = pages_.Page(kind);
  SetPickerDateTime(p.dtpTime, now.date, now.time);
  SetPickerDateTime(p.dtpSchedule ? p.dtpSchedule : p.dtpCalendar, now.date, now.time);
}

void ReminderEntryPanels::EditMessageChange(Kind kind) {
  ReminderPage& p = pages_.Page(kind);
  EnableWindow(p.btnOK, GetWindowTextLengthW(p.editMessage) > 0);
}

LRESULT CALLBACK ReminderEntryPanels::MessageEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<ReminderEntryPanels*>(GetPropW(hwnd, kPanelsProp));
  const int id = GetDlgCtrlID(hwnd);
  const int index = (id - kControlBase) / kPageStride;
  if (!self || index < 0 || index >= kKindCount) return DefWindowProcW(hwnd, msg, wp, lp);
  WNDPROC old = self->messageEditProcs_[static_cast<size_t>(index)];
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
    // Enter stays with the edit rather than going to the window's keyboard
    // handling, so it runs OK.
    return CallWindowProcW(old, hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
  }
  if (msg == WM_CHAR && wp == VK_RETURN) {
    // Enter runs OK whether the button is enabled or not; the key goes on.
    const Kind kind = kAllKinds[static_cast<size_t>(index)];
    Guarded([&] { self->OkClick(kind); });
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropW(hwnd, kPanelsProp);
  }
  return CallWindowProcW(old, hwnd, msg, wp, lp);
}

void ReminderEntryPanels::EnableEntryControls(Kind kind, bool enabled, bool menuMovesToo) {
  ReminderPage& p = pages_.Page(kind);
  for (HWND b : {p.btnRemove, p.btnEdit, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom})
    EnableWindow(b, enabled);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::DeleteMessage), enabled);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::EditMessage), enabled);
  if (menuMovesToo) {
    for (Mnu m : {Mnu::MoveUp, Mnu::MoveDown, Mnu::MoveToTop, Mnu::MoveToBottom})
      EnableMenuItemById(p.popup, MenuId(kind, m), enabled);
  }
}

void ReminderEntryPanels::OkClick(Kind kind) {
  // OK works on the entry panel, so it needs the panel to exist.
  host_.EnsureControls();
  // A list whose file could not be read cannot take the entry: the panel
  // keeps it for a later OK.
  lists_.RequireLoaded(kind);
  lists_.PrepareChange(kind);
  ReminderPage& p = pages_.Page(kind);
  const LocaleFormats& formats = Svc().locale->Formats();
  // UTF-8, as the lists hold it: the message as typed, the schedule as the
  // combo box holds it.
  const std::string message = GetTextUtf8(p.editMessage);
  if (!message.empty()) {
    const std::string timeText = FormatTimeText(formats, PickerDateTime(p.dtpTime).time);
    const std::string schedule = p.dtpSchedule
                                     ? FormatDateText(formats, PickerDateTime(p.dtpSchedule).date)
                                     : GetTextUtf8(p.cbSchedule);
    const std::string entry = ComposeEntry(timeText, schedule, message);
    // The appended entry stands for one taken out by an edit in progress.
    lists_.Book().Append(kind, entry);
    lists_.Book().EndEdit(kind);
    lists_.RefreshList(kind);
    const Lines& rows = lists_.Book().List(kind);
    const auto first = std::find(rows.begin(), rows.end(), entry);
    p.list->SetItemIndex(static_cast<int>(first - rows.begin()));
  } else if (lists_.Book().EditInProgress(kind)) {
    // Nothing to add: the entry taken out by Edit goes back to its place, so
    // a later OK cannot drop it unseen.
    lists_.Book().PutBackEdit(kind);
    lists_.RefreshList(kind);
  }

  SetText(p.editMessage, "");
  ResetPickers(kind);

  lists_.SaveList(kind);

  EnableWindow(p.btnClearAll, TRUE);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::RemoveAll), true);
  EnableEntryControls(kind, true, true);
  if (kind == Kind::Monthly) EnableWindow(p.btnRemove, p.list->ItemIndex() >= 0);

  SetFocus(p.editMessage);

  const TodayRefs today = TodayRefs::For(Svc().clock->Now().date);
  if (kind == Kind::Weekly) SetText(p.cbSchedule, today.dayStr);
  if (kind == Kind::Monthly) SetText(p.cbSchedule, today.monthStr);
}

// Cancel loads the list back from its file, which ends an edit in progress.
// A list holding changes whose save failed keeps them instead, with the entry
// taken out put back at its place: its file does not hold them, and the next
// save may still write them. A list whose file could not be read is tried
// again, quietly.
void ReminderEntryPanels::LoadListForCancel(Kind kind) {
  if (!lists_.Book().Loaded(kind)) {
    if (lists_.TryLoadList(kind)) lists_.EnableRemoveAll(kind);
  } else if (lists_.Book().Changed(kind)) {
    lists_.Book().PutBackEdit(kind);
    lists_.RefreshList(kind);
  } else {
    lists_.LoadList(kind);
  }
}

void ReminderEntryPanels::CancelClick(Kind kind) {
  ReminderPage& p = pages_.Page(kind);
  const TodayRefs today = TodayRefs::For(Svc().clock->Now().date);
  switch (kind) {
    case Kind::OneTime:
      LoadListForCancel(kind);
      SetText(p.editMessage, "");
      ResetPickers(kind);
      break;
    case Kind::Weekly:
      SetText(p.cbSchedule, today.dayStr);
      LoadListForCancel(kind);
      SetText(p.editMessage, "");
      ResetPickers(kind);
      EnableEntryControls(kind, false, true);
      break;
    case Kind::Daily:
      LoadListForCancel(kind);
      SetText(p.editMessage, "");
      ResetPickers(kind);
      EnableEntryControls(kind, false, true);
      break;
    case Kind::Monthly:
      // The day comes from the calendar picker before it is reset to today.
      SetText(p.cbSchedule, std::to_string(PickerDateTime(p.dtpCalendar).date.day));
      SetText(p.editMessage, "");
      ResetPickers(kind);
      LoadListForCancel(kind);
      break;
  }
  if (kind == Kind::OneTime || kind == Kind::Monthly) {
    EnableWindow(p.btnRemove, FALSE);
    EnableWindow(p.btnEdit, FALSE);
    EnableMenuItemById(p.popup, MenuId(kind, Mnu::DeleteMessage), false);
    EnableMenuItemById(p.popup, MenuId(kind, Mnu::EditMessage), false);
  }
}

void ReminderEntryPanels::TestClick(Kind kind) { announcer_.TestRun(kind); }

void ReminderEntryPanels::DTPWeekEventsCloseUp() {
  ReminderPage& p = pages_.Page(Kind::Weekly);
  if (!p.dtpCalendar) return;
  SetText(p.cbSchedule, kEnglishWeekdayNames[static_cast<size_t>(DayOfWeek(PickerDateTime(p.dtpCalendar).date))]);
}

void ReminderEntryPanels::DTPMonthEventsCloseUp() {
  ReminderPage& p = pages_.Page(Kind::Monthly);
  if (!p.dtpCalendar) return;
  SetText(p.cbSchedule, std::to_string(PickerDateTime(p.dtpCalendar).date.day));
}

int ReminderEntryPanels::SpinValue(HWND edit, int max) const {
  const std::string text = GetText(edit);
  size_t begin = 0;
  while (begin < text.size() && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  int value = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto result = std::from_chars(first, last, value);
  // Text that is not a number counts as 0; a number stays within the spin range.
  if (result.ec != std::errc() || result.ptr != last) return 0;
  return std::clamp(value, 0, max);
}

void ReminderEntryPanels::SetSpinValue(int& part, HWND edit, int value) {
  if (edit) {
    const std::string text = std::to_string(value);
    if (GetText(edit) != text) SetText(edit, text);
    return;
  }
  if (part == value) return;
  part = value;
  spneditMinutesChange();
}

void ReminderEntryPanels::spneditMinutesChange() {
  if (pages_.spneditHours() || pages_.spneditMinutes()) {
    // While the controls are being built their texts are the parts already.
    if (!pages_.Built() || !pages_.spneditHours() || !pages_.spneditMinutes()) return;
    hourPart_ = SpinValue(pages_.spneditHours(), kMaxHours);
    minutePart_ = SpinValue(pages_.spneditMinutes(), kMaxMinutes);
  }
  interval_ = hourPart_ * 60 + minutePart_;
  clock_.SetEventPeriod(interval_);
}

}  // namespace pendra
