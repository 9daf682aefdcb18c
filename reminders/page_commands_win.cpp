#include "reminders/page_commands_win.h"

#include <commctrl.h>

#include <optional>

#include "platform/window_win.h"
#include "reminders/page_rules.h"
#include "reminders/reminder_lists_win.h"
#include "reminders/reminder_pages_win.h"
#include "reminders/tabbed_list_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"

namespace pendra {

namespace {

enum class Command {
  Remove, Edit, RemoveAll, MoveUp, MoveDown, MoveToTop, MoveToBottom, ChooseSound, TogglePlay,
  HideButtons, ShowButtons, Close, GoPageA, GoPageB, GoPageC,
};

// A button and its menu item run one handler. The handler names are the
// window class's, per page: one-time, weekly, daily, monthly.
struct Route {
  Command command;
  std::optional<Ctl> button;
  std::optional<Mnu> item;
  std::array<const char*, 4> handler;
};

const Route kRoutes[] = {
    {Command::Remove, Ctl::btnRemove, Mnu::DeleteMessage,
     {"btnRemoveClick", "btnRemove2Click", "btnRemove3Click", "btnRemove4Click"}},
    {Command::Edit, Ctl::btnEdit, Mnu::EditMessage,
     {"btnEditClick", "btnEdit2Click", "btnEdit3Click", "btnEdit4Click"}},
    {Command::RemoveAll, Ctl::btnClearAll, Mnu::RemoveAll,
     {"btnClearAllClick", "btnClearAll2Click", "btnClearAll3Click", "btnClearAll4Click"}},
    {Command::MoveUp, Ctl::btnUp, Mnu::MoveUp,
     {"btnUpClick", "btnUp2Click", "btnUp3Click", "btnUp4Click"}},
    {Command::MoveDown, Ctl::btnDown, Mnu::MoveDown,
     {"btnDownClick", "btnDown2Click", "btnDown3Click", "btnDown4Click"}},
    {Command::MoveToTop, Ctl::btnMoveTop, Mnu::MoveToTop,
     {"btnMoveTopClick", "btnMoveTop2Click", "btnMoveTop3Click", "btnMoveTop4Click"}},
    {Command::MoveToBottom, Ctl::btnMoveBottom, Mnu::MoveToBottom,
     {"btnMoveBottomClick", "btnMoveBottom2Click", "btnMoveBottom3Click", "btnMoveBottom4Click"}},
    {Command::ChooseSound, Ctl::btnSound, Mnu::AlarmSound,
     {"btnSoundClick", "btnSound2Click", "btnSound3Click", "btnMonthSoundClick"}},
    {Command::TogglePlay, Ctl::btnPlay, Mnu::PlaySounds,
     {"btnPlayClick", "btnPlay2Click", "btnPlay3Click, PlaySound3Click", "btnPlay4Click"}},
    {Command::HideButtons, Ctl::btnHideButtons, Mnu::HideButtons,
     {"btnHideButtonsClick", "btnHideButtons2Click", "btnHideButtons3Click",
      "btnHideButtons4Click"}},
    {Command::ShowButtons, std::nullopt, Mnu::ShowButtons,
     {"ShowButtons1Click", "ShowButtons2Click", "ShowButtons3Click", "ShowButtons4Click"}},
    {Command::Close, Ctl::btnHide, Mnu::Close,
     {"btnHideClick", "btnHideClick", "btnHideClick", "btnHideClick"}},
    {Command::GoPageA, std::nullopt, Mnu::GoPageA,
     {"WeeklyReminder1Click", "btnRemindClick", "Reminder3Click", "Reminder1Click"}},
    {Command::GoPageB, std::nullopt, Mnu::GoPageB,
     {"DailyReminder1Click", "DailyReminder1Click", "WeeklyReminder1Click",
      "WeeklyReminder1Click"}},
    {Command::GoPageC, std::nullopt, Mnu::GoPageC,
     {"MonthlyReminder1Click", "MonthlyReminder1Click", "MonthlyReminder1Click",
      "DailyReminder1Click"}},
};

struct Routed {
  Kind kind;
  Command command;
};

std::optional<Routed> FindRoute(int id) {
  for (Kind k : kAllKinds) {
    for (const Route& r : kRoutes) {
      if ((r.button && ControlId(k, *r.button) == id) || (r.item && MenuId(k, *r.item) == id))
        return Routed{k, r.command};
    }
  }
  return std::nullopt;
}

constexpr Mnu kEntryItems[] = {Mnu::DeleteMessage, Mnu::EditMessage, Mnu::MoveUp,
                               Mnu::MoveDown,      Mnu::MoveToTop,   Mnu::MoveToBottom};

WORD Word(int v) { return static_cast<WORD>(v); }

// The picker's present value, or today when it has none.
SYSTEMTIME PickerValue(HWND dtp) {
  SYSTEMTIME st{};
  if (SendMessageA(dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) {
    const DateTime now = Svc().clock->Now();
    st.wYear = Word(now.date.year);
    st.wMonth = Word(now.date.month);
    st.wDay = Word(now.date.day);
    st.wDayOfWeek = Word(DayOfWeek(now.date));
  }
  return st;
}

bool SetPickerValue(HWND dtp, const SYSTEMTIME& st) {
  return SendMessageA(dtp, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
}

void SetPickerTime(HWND dtp, const TimeOfDay& t) {
  SYSTEMTIME st = PickerValue(dtp);
  st.wHour = Word(t.hour);
  st.wMinute = Word(t.minute);
  st.wSecond = Word(t.second);
  st.wMilliseconds = 0;
  SetPickerValue(dtp, st);
}

bool SetPickerDate(HWND dtp, const Date& d) {
  SYSTEMTIME st = PickerValue(dtp);
  st.wYear = Word(d.year);
  st.wMonth = Word(d.month);
  st.wDay = Word(d.day);
  st.wDayOfWeek = Word(DayOfWeek(d));
  return SetPickerValue(dtp, st);
}

}  // namespace

ReminderPageCommands::~ReminderPageCommands() {
  for (HBITMAP& bmp : glyphs_) {
    if (bmp) DeleteObject(bmp);
    bmp = nullptr;
  }
}

bool ReminderPageCommands::OnCommand(int id) {
  const std::optional<Routed> r = FindRoute(id);
  if (!r) return false;
  const Kind k = r->kind;
  switch (r->command) {
    case Command::Remove: Remove(k); break;
    case Command::Edit: Edit(k); break;
    case Command::RemoveAll: RemoveAll(k); break;
    case Command::MoveUp: MoveRow(k, MoveKind::Up); break;
    case Command::MoveDown: MoveRow(k, MoveKind::Down); break;
    case Command::MoveToTop: MoveRow(k, MoveKind::ToTop); break;
    case Command::MoveToBottom: MoveRow(k, MoveKind::ToBottom); break;
    case Command::ChooseSound: ChooseSound(k); break;
    case Command::TogglePlay: TogglePlay(k); break;
    case Command::HideButtons: HideButtons(k); break;
    case Command::ShowButtons: ShowButtons(k); break;
    case Command::Close: host_.HideWindow(); break;
    case Command::GoPageA: pages_.GoToPage(OtherPages(k)[0]); break;
    case Command::GoPageB: pages_.GoToPage(OtherPages(k)[1]); break;
    case Command::GoPageC: pages_.GoToPage(OtherPages(k)[2]); break;
  }
  return true;
}

int ReminderPageCommands::SelectedRow(Kind kind) {
  TMd4TabbedList* list = pages_.Page(kind).list;
  return list ? list->ItemIndex() : -1;
}

int ReminderPageCommands::RequireSelectedRow(Kind kind) {
  const int row = SelectedRow(kind);
  if (row < 0) ThrowListIndexError(row);
  return row;
}

void ReminderPageCommands::EnableEntryControls(Kind kind, bool enabled) {
  ReminderPage& p = pages_.Page(kind);
  for (HWND b : {p.btnRemove, p.btnEdit, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom})
    if (b) EnableWindow(b, enabled);
  for (Mnu m : kEntryItems) EnableMenuItemById(p.popup, MenuId(kind, m), enabled);
}

// While an entry is in the entry panel (typed, or taken out by Edit), choosing
// rows offers no list operation.
void ReminderPageCommands::SelectionChanged(Kind kind) {
  EnableEntryControls(kind, GetWindowTextLengthW(pages_.Page(kind).editMessage) == 0);
}

void ReminderPageCommands::ListKeyDown(Kind kind, WPARAM key) {
  if (key != VK_DELETE) return;
  // With no row chosen the key does nothing, quietly; any other failure (a
  // list file that cannot be written) is shown like that of the button.
  if (SelectedRow(kind) < 0) return;
  Remove(kind);
}

void ReminderPageCommands::Remove(Kind kind) {
  const int row = RequireSelectedRow(kind);
  lists_.PrepareChange(kind);
  // An entry taken out by an edit in progress stays in what is saved, at its
  // place, so the edit's Cancel still brings it back.
  lists_.Book().RemoveAt(kind, row);
  lists_.RefreshList(kind);
  lists_.SaveList(kind);
  EnableEntryControls(kind, false);
}

void ReminderPageCommands::RemoveAll(Kind kind) {
  // Never delete a file whose reminders could not be read. One read only now
  // is shown first; removing what the user has not seen waits for the next
  // Remove All.
  if (!lists_.Book().Loaded(kind)) {
    lists_.RequireLoaded(kind);
    return;
  }
  if (!Svc().dialogs->Confirm(Info(kind).removeAllQuestion)) return;
  EnableWindow(pages_.Page(kind).btnClearAll, FALSE);
  // A list that stayed (another program holds its file) can still be removed.
  if (!lists_.RemoveListFile(kind)) lists_.EnableRemoveAll(kind);
}

void ReminderPageCommands::MoveRow(Kind kind, MoveKind move) {
  const int row = RequireSelectedRow(kind);
  lists_.PrepareChange(kind);
  if (!lists_.Book().Move(kind, row, move)) return;  // already at that end: nothing changes
  lists_.RefreshList(kind);
  EnableEntryControls(kind, false);
  lists_.SaveList(kind);
}

void ReminderPageCommands::Edit(Kind kind) {
  const int row = RequireSelectedRow(kind);
  const Lines& list = lists_.Book().List(kind);
  if (static_cast<size_t>(row) >= list.size()) ThrowListIndexError(row);
  const Date today = Svc().clock->Now().date;
  const EditPlan plan = PlanEdit(kind, list[static_cast<size_t>(row)], lists_.Reader(kind), today);

  ReminderPage& p = pages_.Page(kind);
  SetTextUtf8(p.editMessage, plan.message);  // its change handler sets OK
  if (plan.cut) {
    if (!plan.time) throw Error(InvalidTimeMessage(plan.timeField));
    SetPickerTime(p.dtpTime, *plan.time);
    if (kind == Kind::OneTime || kind == Kind::Daily) {
      if (!SetPickerDate(p.dtpSchedule, plan.scheduleDate)) SetPickerDate(p.dtpSchedule, today);
    } else {
      SetTextUtf8(p.cbSchedule, plan.scheduleText);
    }
  }

  lists_.Book().BeginEdit(kind, row);
  lists_.RefreshList(kind);
  EnableEntryControls(kind, false);
  EnableWindow(p.btnCancel, TRUE);
}

void ReminderPageCommands::ChooseSound(Kind kind) {
  opdReminder_.filter = kWaveFilter;
  std::string chosen;
  if (!Svc().dialogs->OpenFile(opdReminder_, chosen)) return;
  opdReminder_.initialFile = chosen;
  SetText(pages_.Page(kind).edtSound, chosen);  // its change handler runs SoundPathChanged
}

void ReminderPageCommands::SoundPathChanged(Kind kind) {
  ReminderPage& p = pages_.Page(kind);
  const bool chosen = !GetText(p.edtSound).empty();
  EnableWindow(p.btnPlay, chosen);
  EnableMenuItemById(p.popup, MenuId(kind, Mnu::PlaySounds), chosen);
}

void ReminderPageCommands::LoadSwitchPicture(Kind kind, bool on) {
  const std::string path = SwitchPicturePath(Svc().programFolder, on);
  auto* bmp = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!bmp) throw Error("Cannot open file " + Utf8FromCodePage(path));
  ReminderPage& p = pages_.Page(kind);
  HBITMAP old = glyphs_[Index(kind)];
  glyphs_[Index(kind)] = bmp;
  p.playGlyph = bmp;
  if (p.btnPlay) InvalidateRect(p.btnPlay, nullptr, TRUE);
  if (old) DeleteObject(old);
}

// The picture of the state left is loaded first and that of the new state
// last, so a missing picture stops the toggle where the user can see it.
void ReminderPageCommands::TogglePlay(Kind kind) {
  const bool on = SwitchOn(pages_.Page(kind));
  LoadSwitchPicture(kind, on);
  CheckMenuItemById(pages_.Page(kind).popup, MenuId(kind, Mnu::PlaySounds), !on);
  LoadSwitchPicture(kind, !on);
}

void ReminderPageCommands::ShowSwitch(Kind kind) { LoadSwitchPicture(kind, SwitchOn(pages_.Page(kind))); }

void ReminderPageCommands::ShowPanel(Kind kind, bool shown) {
  ReminderPage& p = pages_.Page(kind);
  // Keyboard focus must not stay on a button that is no longer on screen.
  if (!shown && p.list && IsChild(p.panel, GetFocus())) SetFocus(p.list->Handle());
  ShowWindow(p.panel, shown ? SW_SHOW : SW_HIDE);
  pages_.Relayout();
}

// Exactly one of the two menu items is enabled: the one that changes the state.
void ReminderPageCommands::SetPanelItems(Kind kind, bool shown) {
  HMENU menu = pages_.Page(kind).popup;
  EnableMenuItemById(menu, MenuId(kind, Mnu::ShowButtons), !shown);
  EnableMenuItemById(menu, MenuId(kind, Mnu::HideButtons), shown);
}

void ReminderPageCommands::HideButtons(Kind kind) {
  ShowPanel(kind, false);
  StorePanelVisible(*Svc().registry, kind, false);
  SetPanelItems(kind, false);
}

void ReminderPageCommands::ShowButtons(Kind kind) {
  ShowPanel(kind, true);
  StorePanelVisible(*Svc().registry, kind, true);
  SetPanelItems(kind, true);
}

void ReminderPageCommands::RestorePanels() {
  for (Kind k : kAllKinds) {
    const bool shown = StoredPanelVisible(*Svc().registry, k);
    ShowPanel(k, shown);
    SetPanelItems(k, shown);
  }
}

}  // namespace pendra
