// The reminder window's entry panels (OK, Cancel, Test, Enter, calendar
// close-ups), the scheduler's timers and announcements, and the start-up
// catch-up.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/services.h"
#include "reminders/entry.h"
#include "reminders/reminder_window_win.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

void SetPicker(HWND picker, const Date& date, const TimeOfDay& time) {
  if (!picker) return;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(date));
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

DateTime PickerValue(HWND picker) {
  SYSTEMTIME st{};
  SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return DateTime{{st.wYear, st.wMonth, st.wDay}, {st.wHour, st.wMinute, st.wSecond}};
}

// Closes the box count it opened however the announcement ends.
class BoxScope {
 public:
  explicit BoxScope(AnnouncementGate& gate) : gate_(gate) { gate_.BoxOpened(); }
  ~BoxScope() { gate_.BoxClosed(); }
  BoxScope(const BoxScope&) = delete;
  BoxScope& operator=(const BoxScope&) = delete;

 private:
  AnnouncementGate& gate_;
};

constexpr const char* kMainProp = "PendraMain";

}  // namespace

// ---------------------------------------------------------------------------
// Entry panels

void TfrmMain::ResetPickers(Kind kind) {
  const DateTime now = Svc().clock->Now();
  ReminderPage& p = Page(kind);
  SetPicker(p.dtpTime, now.date, now.time);
  SetPicker(p.dtpSchedule ? p.dtpSchedule : p.dtpCalendar, now.date, now.time);
}

void TfrmMain::EditMessageChange(Kind kind) {
  ReminderPage& p = Page(kind);
  EnableWindow(p.btnOK, !GetText(p.editMessage).empty());
}

LRESULT CALLBACK TfrmMain::MessageEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<TfrmMain*>(GetPropA(hwnd, kMainProp));
  const int id = GetDlgCtrlID(hwnd);
  const int index = (id - kControlBase) / kPageStride;
  if (!self || index < 0 || index >= kKindCount) return DefWindowProcA(hwnd, msg, wp, lp);
  WNDPROC old = self->messageEditProcs_[static_cast<size_t>(index)];
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
    // Enter stays with the edit rather than going to the window's keyboard
    // handling, so it runs OK.
    return CallWindowProcA(old, hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
  }
  if (msg == WM_CHAR && wp == VK_RETURN) {
    // Enter runs OK whether the button is enabled or not; the key goes on.
    const Kind kind = kAllKinds[static_cast<size_t>(index)];
    Guarded([&] { self->OkClick(kind); });
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(hwnd, kMainProp);
  }
  return CallWindowProcA(old, hwnd, msg, wp, lp);
}

void TfrmMain::EnableEntryControls(Kind kind, bool enabled, bool menuMovesToo) {
  ReminderPage& p = Page(kind);
  for (HWND b : {p.btnRemove, p.btnEdit, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom})
    EnableWindow(b, enabled);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::DeleteMessage), enabled);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::EditMessage), enabled);
  if (menuMovesToo) {
    for (Mnu m : {Mnu::MoveUp, Mnu::MoveDown, Mnu::MoveToTop, Mnu::MoveToBottom})
      EnableMenuItemById(p.popup, MenuId(kind, m), enabled);
  }
}

void TfrmMain::OkClick(Kind kind) {
  // OK works on the entry panel, so it needs the panel to exist.
  EnsureControls();
  // A list whose file could not be read cannot take the entry: the panel
  // keeps it for a later OK.
  RequireLoaded(kind);
  ReminderPage& p = Page(kind);
  const LocaleFormats& formats = Svc().locale->Formats();
  const std::string message = GetText(p.editMessage);
  if (!message.empty()) {
    const std::string timeText = FormatTimeText(formats, PickerValue(p.dtpTime).time);
    const std::string schedule = p.dtpSchedule
                                     ? FormatDateText(formats, PickerValue(p.dtpSchedule).date)
                                     : GetText(p.cbSchedule);
    const std::string entry = ComposeEntry(timeText, schedule, message);
    // The appended entry stands for one taken out by an edit in progress.
    book_.Append(kind, entry);
    book_.EndEdit(kind);
    RefreshList(kind);
    const Lines& rows = book_.List(kind);
    const auto first = std::find(rows.begin(), rows.end(), entry);
    p.list->SetItemIndex(static_cast<int>(first - rows.begin()));
  } else if (book_.EditInProgress(kind)) {
    // Nothing to add: the entry taken out by Edit goes back to its place, so
    // a later OK cannot drop it unseen.
    book_.PutBackEdit(kind);
    RefreshList(kind);
  }

  SetText(p.editMessage, "");
  ResetPickers(kind);

  SaveList(kind);

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
void TfrmMain::LoadListForCancel(Kind kind) {
  if (!book_.Loaded(kind)) {
    if (TryLoadList(kind)) EnableRemoveAll(kind);
  } else if (book_.Changed(kind)) {
    book_.PutBackEdit(kind);
    RefreshList(kind);
  } else {
    LoadList(kind);
  }
}

void TfrmMain::CancelClick(Kind kind) {
  ReminderPage& p = Page(kind);
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
      SetText(p.cbSchedule, std::to_string(PickerValue(p.dtpCalendar).date.day));
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

void TfrmMain::TestClick(Kind kind) {
  const Words words = kind == Kind::OneTime ? Words::OneTimeTest : Words::Standard;
  const std::vector<DueReminder> all = TestAnnouncements(book_, kind);
  {
    // The whole run counts as one open box: ticks meanwhile wait their turn.
    BoxScope open(gate_);
    for (const auto& due : all) ShowAnnouncement(due, words);
  }
  DrainAnnouncements();
}

void TfrmMain::DTPWeekEventsCloseUp() {
  ReminderPage& p = Page(Kind::Weekly);
  if (!p.dtpCalendar) return;
  SetText(p.cbSchedule, kEnglishWeekdayNames[static_cast<size_t>(DayOfWeek(PickerValue(p.dtpCalendar).date))]);
}

void TfrmMain::DTPMonthEventsCloseUp() {
  ReminderPage& p = Page(Kind::Monthly);
  if (!p.dtpCalendar) return;
  SetText(p.cbSchedule, std::to_string(PickerValue(p.dtpCalendar).date.day));
}

// ---------------------------------------------------------------------------
// Scheduler

TodayRefs TfrmMain::Refs() const {
  return TodayRefs{GetText(PageOf(Kind::Weekly).editRef), GetText(PageOf(Kind::Monthly).editRef)};
}

int TfrmMain::SpinValue(HWND edit, int max) const {
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

void TfrmMain::SetSpinValue(int& part, HWND edit, int value) {
  if (edit) {
    const std::string text = std::to_string(value);
    if (GetText(edit) != text) SetText(edit, text);
    return;
  }
  if (part == value) return;
  part = value;
  spneditMinutesChange();
}

void TfrmMain::spneditMinutesChange() {
  if (spneditHours_ || spneditMinutes_) {
    // While the controls are being built their texts are the parts already.
    if (!built_ || !spneditHours_ || !spneditMinutes_) return;
    hourPart_ = SpinValue(spneditHours_, 24);
    minutePart_ = SpinValue(spneditMinutes_, 60);
  }
  interval_ = hourPart_ * 60 + minutePart_;
  SetEventPeriod(interval_);
}

void TfrmMain::SetEventPeriod(int minutes) {
  const UINT period = minutes > 0 ? static_cast<UINT>(minutes) * 60000u : 0u;
  // The count restarts only when the period changes.
  if (period == eventPeriodMs_) return;
  eventPeriodMs_ = period;
  if (period == 0)
    KillTimer(ClockWindow(), tmrEvent);
  else
    SetTimer(ClockWindow(), tmrEvent, period, nullptr);
}

void TfrmMain::tmrTimeTimer() {
  const DateTime now = Svc().clock->Now();
  const LocaleFormats& formats = Svc().locale->Formats();
  const std::string timeText = FormatTimeText(formats, now.time);
  for (Kind k : {Kind::OneTime, Kind::Weekly, Kind::Monthly, Kind::Daily})
    SetText(Page(k).stxtClock, timeText);
  CheckSecond(Kind::OneTime);
}

void TfrmMain::MidnightRefresh(const Date& today) {
  const TodayRefs refs = TodayRefs::For(today);
  for (Kind k : {Kind::Weekly, Kind::OneTime, Kind::Daily, Kind::Monthly}) {
    ReminderPage& p = Page(k);
    HWND picker = p.dtpSchedule ? p.dtpSchedule : p.dtpCalendar;
    SetPicker(picker, today, PickerValue(picker).time);
  }
  SetText(Page(Kind::Weekly).cbSchedule, refs.dayStr);
  SetText(Page(Kind::Weekly).editRef, refs.dayStr);
  SetText(Page(Kind::Monthly).cbSchedule, refs.monthStr);
  SetText(Page(Kind::Monthly).editRef, refs.monthStr);
}

void TfrmMain::CheckSecond(Kind kind) {
  ILocale& locale = *Svc().locale;
  const DateTime now = Svc().clock->Now();
  // Whichever one-second timer ticks first on a new day moves the references
  // to it, so the weekly and monthly checks never compare with yesterday.
  if (scheduler_.TakeMidnightRefresh(now.date)) MidnightRefresh(now.date);
  // Likewise whichever ticks first in a new minute reads a list whose file
  // could not be read before, so its reminders are announced from then on.
  RetryUnreadListsEachMinute(now);
  FollowFormats();
  Offer(scheduler_.CheckSecond(kind, now, locale.Formats(), locale.Generation(), Refs()));
}

void TfrmMain::tmrEventTimer() {
  FollowFormats();
  ILocale& locale = *Svc().locale;
  Offer(scheduler_.CheckRepeat(Svc().clock->Now(), locale.Formats(), locale.Generation()));
}

void TfrmMain::Offer(std::vector<DueReminder> due) {
  gate_.OfferTick(std::move(due));
  DrainAnnouncements();
}

void TfrmMain::DrainAnnouncements() {
  while (!gate_.BoxOpen()) {
    std::optional<DueReminder> next = gate_.Next();
    if (!next) break;
    ShowAnnouncement(*next, Words::Standard);
  }
}

void TfrmMain::ShowAnnouncement(const DueReminder& due, Words words) {
  BoxScope open(gate_);
  const std::string text = ComposeAnnouncement(due.kind, due.message, Svc().locale->Formats(),
                                                Svc().clock->Now(), words, due.spacing);
  const std::string sound = commands_.SlotSound(due.kind);
  // The sound starts first and the box comes up while it plays, so a long
  // sound keeps nobody waiting; answering the box ends it. Ticks that fall
  // due meanwhile wait behind the open box.
  if (sound.empty()) {
    Svc().dialogs->Announce(text);
    return;
  }
  Svc().sound->Start(sound);
  struct StopSound {
    ~StopSound() { Svc().sound->Stop(); }
  } stop;
  Svc().dialogs->Announce(text);
}

// ---------------------------------------------------------------------------
// Start-up catch-up

TBootCode::TBootCode(TfrmMain& frmMain) : frmMain_(frmMain) {
  Guarded([&] { DataModuleCreate(); });
}

void TBootCode::DataModuleCreate() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  const std::string lastBoot = ini.ReadString("Last Boot", " Date", "");
  TfrmMain& m = frmMain_;
  const TextReader reader = m.Reader();
  const Date today = Svc().clock->Now().date;
  // The lists not read yet get their catch-up when they are read, later
  // today; the ticks under the boxes below may read them already.
  ListSet read{};
  if (FirstStartToday(reader, today, lastBoot)) {
    m.catchUpDay_ = today;
    for (Kind k : kAllKinds) {
      read[static_cast<size_t>(Index(k))] = m.book_.Loaded(k);
      m.lateCatchUp_[static_cast<size_t>(Index(k))] = !m.book_.Loaded(k);
    }
  }
  {
    BoxScope open(m.gate_);
    RunCatchUp(
        m.book_, reader, lastBoot, m.Refs(), static_cast<int>(m.eventPeriodMs_ / 60000u),
        [] { return Svc().clock->Now(); },
        [&m](const DueReminder& due) { m.ShowAnnouncement(due, Words::Standard); }, read);
  }
  m.DrainAnnouncements();
}

}  // namespace pendra
