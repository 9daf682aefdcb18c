#include "reminders/reminder_window_win.h"

#include "platform/on_demand_win.h"

#include <commctrl.h>

#include <exception>
#include <functional>
#include <vector>

#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "platform/monitor_win.h"
#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

constexpr int kMinWidth = 600, kMinHeight = 470;  // of the window, design pixels

}  // namespace

TfrmMain::TfrmMain()
    : clock_(std::make_unique<ReminderClockWnd>(static_cast<ClockListener&>(*this))),
      pages_(*this, *clock_),
      lists_(pages_),
      announcer_(pages_, lists_, *clock_),
      panels_(*this, pages_, lists_, announcer_, *clock_),
      commands_(*this, pages_, lists_) {
  lists_.onLateRead = [this](Kind kind) { announcer_.CatchUpLateList(kind); };
  lists_.onReread = [this](Kind kind, const Lines& before, const std::optional<DateTime>& since) {
    announcer_.CatchUpList(kind, before, since);
  };
  lists_.onLookLater = [this](unsigned ms) { clock_->LookLater(ms); };
  lists_.onFormatsStored = [this](const StoredFormats& stored) { announcer_.SetStoredFormats(stored); };
  // The window is created at program start, outside any handler: an error of
  // the creation steps is shown and ends them, and the program goes on.
  Guarded([&] { FormCreate(); });
  // The timers run from the creation whatever the creation steps met.
  clock_->StartSecondTimers();
}

TfrmMain::~TfrmMain() {
  if (Handle()) DestroyWindow(Handle());
}

void TfrmMain::EnsureWindow() {
  if (Handle()) return;
  CreateWnd("TfrmMain", "Reminder", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, Px(80), Px(114),
            Px(775), Px(506), ApplicationWindow(), nullptr, CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  pages_.UpdateColors();
  pages_.CreateFonts();
}

void TfrmMain::EnsureControls() {
  if (pages_.Built()) return;
  EnsureWindow();
  EnsureCommonControls();
  pages_.Build(panels_.HourPart(), panels_.MinutePart());
  for (Kind k : kAllKinds)
    pages_.Page(k).list->onKeyDown = [this, k](WPARAM key) { commands_.ListKeyDown(k, key); };
  panels_.ControlsBuilt();
  ApplyStateToControls();
  pages_.Relayout();
}

// Brings the new controls to where the creation steps and everything since
// would have left them. The entry panels' list buttons keep their design
// state: before the first show nothing can enable them.
void TfrmMain::ApplyStateToControls() {
  for (Kind k : kAllKinds) {
    ReminderPage& p = pages_.Page(k);
    lists_.RefreshList(k);
    EnableWindow(p.btnClearAll, lists_.RemoveAllEnabled(k));
    EnableWindow(p.btnPlay, !GetText(p.edtSound).empty());
    if (p.cbSchedule) {
      const std::string ref = GetText(p.editRef);
      if (!ref.empty()) SetText(p.cbSchedule, ref);
    }
    panels_.ResetPickers(k);
  }
}

void TfrmMain::BeforeShow() {
  EnsureControls();
  lists_.RetryUnreadLists();
  lists_.LookAtChangedLists();
}

void TfrmMain::ProgramFolderChanged(unsigned long sinceMs) {
  const long long seconds = (static_cast<long long>(sinceMs) + 999) / 1000;
  lists_.FolderChanged(SecondsBefore(Svc().clock->Now(), seconds));
}

void TfrmMain::ClockTick(UINT_PTR timer) {
  if (timer != tmrLook) {
    announcer_.ClockTick(timer);
  } else if (ModalScope::Open()) {
    // Under a box a command may be under way on a list: it is read after.
    clock_->LookLater(ReminderLists::kLookAgainMs);
  } else {
    lists_.LookAtChangedLists();
  }
}

void TfrmMain::DpiChanged(UINT oldDpi) { pages_.DpiChanged(oldDpi); }

// ---------------------------------------------------------------------------
// Messages

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CTLCOLORSTATIC: {
      LRESULT brush = 0;
      if (pages_.OnColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), brush)) return brush;
      return Default(msg, wp, lp);
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      pages_.UpdateColors();
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_DRAWITEM:
      pages_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_SIZE:
    case ReminderPages::kRelayoutMessage:
      pages_.Relayout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = Px(kMinWidth);
      info->ptMinTrackSize.y = Px(kMinHeight);
      return 0;
    }
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TfrmMain::OnCommand(int id, int code) {
  // Button clicks and menu items arrive with code 0; the list commands go first.
  if (code == BN_CLICKED && commands_.OnCommand(id)) return;
  if (id < kControlBase || id >= kControlBase + kKindCount * kPageStride) return;
  const Kind kind = kAllKinds[static_cast<size_t>((id - kControlBase) / kPageStride)];
  const auto role = static_cast<Ctl>((id - kControlBase) % kPageStride);
  switch (role) {
    case Ctl::editMessage:
      if (code == EN_CHANGE) panels_.EditMessageChange(kind);
      break;
    case Ctl::edtSound:
      if (code == EN_CHANGE) commands_.SoundPathChanged(kind);
      break;
    case Ctl::editHours:
    case Ctl::editMinutes:
      if (code == EN_CHANGE) panels_.spneditMinutesChange();
      break;
    case Ctl::list:
      if (code == LBN_SELCHANGE) commands_.SelectionChanged(kind);
      break;
    case Ctl::btnOK:
      if (code == BN_CLICKED) panels_.OkClick(kind);
      break;
    case Ctl::btnCancel:
      if (code == BN_CLICKED) panels_.CancelClick(kind);
      break;
    case Ctl::btnTest:
      if (code == BN_CLICKED) panels_.TestClick(kind);
      break;
    default:
      break;
  }
}

LRESULT TfrmMain::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom == pages_.PageControl1()) {
    if (hdr->code == TCN_SELCHANGING) pages_.PageControl1Changing();
    if (hdr->code == TCN_SELCHANGE) pages_.PageControl1Change();
    return FALSE;
  }
  if (hdr->code == DTN_CLOSEUP) {
    if (hdr->hwndFrom == pages_.Page(Kind::Weekly).dtpCalendar) panels_.DTPWeekEventsCloseUp();
    if (hdr->hwndFrom == pages_.Page(Kind::Monthly).dtpCalendar) panels_.DTPMonthEventsCloseUp();
    return 0;
  }
  LRESULT result = 0;
  pages_.OnHeaderNotify(hdr, result);
  return result;
}

// ---------------------------------------------------------------------------
// Lifecycle

void TfrmMain::FormCreate() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  const DateTime now = Svc().clock->Now();
  const TodayRefs refs = TodayRefs::For(now.date);
  ReminderPage& weekly = pages_.Page(Kind::Weekly);
  ReminderPage& monthly = pages_.Page(Kind::Monthly);

  // Each value and each list is read on its own: a setting of the wrong type
  // or a list file that cannot be read is reported, and the rest of the
  // creation goes on, so it never keeps the other lists from being read.
  panels_.ReadInterval(ini);

  SetText(weekly.cbSchedule, refs.dayStr);
  SetText(weekly.editRef, refs.dayStr);

  lists_.ReadStoredFormats();
  lists_.FollowFormats();
  lists_.LoadAtCreation(now);

  for (Kind k : kAllKinds) {
    ReminderPage& p = pages_.Page(k);
    const std::string slot = std::to_string(Info(k).soundSlot);
    soundUnread_[Index(k)] = !Guarded([&] {
      const std::string path = ini.ReadString("Alarm Sound", "WaveFileName" + slot, "");
      // Only a change of the text runs the path's change handler.
      if (GetText(p.edtSound) != path) SetText(p.edtSound, path);
    });
    Guarded([&] {
      CheckMenuItemById(p.popup, MenuId(k, Mnu::PlaySounds), ini.ReadBool("Play Sound" + slot, "Play", true));
    });
  }

  SetText(monthly.cbSchedule, refs.monthStr);
  SetText(monthly.editRef, refs.monthStr);

  for (Kind k : kAllKinds) panels_.ResetPickers(k);

  for (Kind k : kAllKinds) lists_.EnableRemoveAll(k);
}
void TfrmMain::FormShow() {
  // An error ends the show steps where it happens; the window still appears.
  Guarded([&] {
    TRegIniFile ini(*Svc().registry, kReminderEventsKey);
    const DateTime now = Svc().clock->Now();
    const TodayRefs refs = TodayRefs::For(now.date);

    SetText(pages_.Page(Kind::Weekly).cbSchedule, refs.dayStr);

    RECT r = NormalPlaceOnScreen(Handle());
    const int top = ini.ReadInteger("Position", "Top", r.top);
    const int left = ini.ReadInteger("Position", "Left", r.left);
    const int height = ini.ReadInteger("Size", "Height", r.bottom - r.top);
    const int width = ini.ReadInteger("Size", "Width", r.right - r.left);
    // The stored place is the normal one: a window hidden maximised comes
    // back maximised and is restored to it.
    SetNormalPlace(Handle(), BringOntoMonitor(RECT{left, top, left + width, top + height}));

    for (Kind k : kAllKinds) panels_.ResetPickers(k);
    SetText(pages_.Page(Kind::Monthly).cbSchedule, refs.monthStr);
    SetText(pages_.Page(Kind::Monthly).editRef, refs.monthStr);

    const int stored = ini.ReadInteger("Page", "Active Page", Index(pages_.ActivePage()));
    // A page number the program never writes leaves the page shown as it is.
    const Kind page = stored >= 0 && stored < kKindCount ? kAllKinds[static_cast<size_t>(stored)]
                                                          : pages_.ActivePage();
    pages_.GoToPage(page);

    for (Kind k : kAllKinds) commands_.ShowSwitch(k);
    commands_.RestorePanels();
  });
  pages_.Relayout();
}

void TfrmMain::FormHide() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  ini.WriteInteger("Page", "Active Page", Index(pages_.ActivePage()));

  panels_.StoreInterval(ini);

  // A minimised or maximised window stores the place it comes back to.
  const RECT r = NormalPlaceOnScreen(Handle());
  ini.WriteInteger("Position", "Top", r.top);
  ini.WriteInteger("Position", "Left", r.left);
  ini.WriteInteger("Size", "Height", r.bottom - r.top);
  ini.WriteInteger("Size", "Width", r.right - r.left);

  for (Kind k : kAllKinds) {
    const std::string slot = std::to_string(Info(k).soundSlot);
    // A stored path that could not be read stays until the user chooses a sound.
    const ReminderPage& p = pages_.Page(k);
    const std::string path = GetText(p.edtSound);
    if (!soundUnread_[Index(k)] || !path.empty()) {
      soundUnread_[Index(k)] = false;
      ini.WriteString("Alarm Sound", "WaveFileName" + slot, path);
    }
    ini.WriteBool("Play Sound" + slot, "Play", SwitchOn(p));
  }
}

namespace {

// Shows every failure but the last, which it throws: it ends the handler.
void ThrowFailures(const std::vector<std::exception_ptr>& failures) {
  if (failures.empty()) return;
  for (size_t i = 0; i + 1 < failures.size(); ++i) Guarded([&] { std::rethrow_exception(failures[i]); });
  std::rethrow_exception(failures.back());
}

void Attempt(std::vector<std::exception_ptr>& failures, const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    failures.push_back(std::current_exception());
  }
}

}  // namespace

// Only a list changed since it was read or last written is saved: the file of
// an unchanged one already holds it, and a file that could not be read is
// never overwritten. A list that cannot be written keeps its entries in
// memory and does not keep the others from being saved.
void TfrmMain::SaveChangedLists(std::vector<std::exception_ptr>& failures) {
  for (Kind k : kAllKinds) {
    if (lists_.Book().Loaded(k) && lists_.Book().Changed(k)) Attempt(failures, [&] { lists_.SaveList(k); });
  }
}

void TfrmMain::WriteLastClose() {
  TRegIniFile(*Svc().registry, kReminderEventsKey)
      .WriteString("Last Boot", " Date",
                   CodePageFromUtf8(FormatDateText(Svc().locale->Formats(), Svc().clock->Now().date)).bytes);
  // The date is written with the current formats.
  lists_.RememberFormats(kLastBootSlot);
}

void TfrmMain::FormClose() {
  // A list that cannot be written does not keep the date from being saved;
  // its error then ends the close.
  std::vector<std::exception_ptr> failures;
  SaveChangedLists(failures);
  Attempt(failures, [&] { WriteLastClose(); });
  ThrowFailures(failures);
}

// The session may go on after the query: the window stays as it is, and the
// date of the close waits for the end.
void TfrmMain::SaveForSessionEnd() {
  std::vector<std::exception_ptr> failures;
  SaveChangedLists(failures);
  ThrowFailures(failures);
}

void TfrmMain::FinishSessionEnd() {
  Guarded([&] { WriteLastClose(); });
  Form::FinishSessionEnd();
}

void TfrmMain::CancelPanelsForExit() {
  // A list file that cannot be read back here loses nothing (the list keeps
  // what it holds), so its error is shown and the exit goes on.
  Guarded([&] { btnDayCancelClick(); });
  Guarded([&] { btnCancelClick(); });
  Guarded([&] { btnDailyCancelClick(); });
  Guarded([&] { btnMonthCancelClick(); });
}


TBootCode::TBootCode(TfrmMain& frmMain) : frmMain_(frmMain) {
  Guarded([&] { DataModuleCreate(); });
}

void TBootCode::DataModuleCreate() { frmMain_.announcer_.RunStartCatchUp(); }

}  // namespace pendra
