#include "notes/notebook_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>
#include <vector>

#include "notes/notebook_design_win.h"
#include "notes/tab_captions.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/help.h"
#include "platform/message_loop_win.h"
#include "platform/monitor_win.h"
#include "platform/on_demand_win.h"
#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

using P = TfrmPendra;
using namespace notebook;

// Which commands each event of the page refreshes, and by which rule.
constexpr CommandStateRow kRefresh[] = {
    {P::btnPaste, CommandRule::Clipboard, true, true},
    {P::MenuItemPaste, CommandRule::Clipboard, false, true},
    {P::Paste1, CommandRule::Clipboard, false, true},
    {P::btnCut, CommandRule::Selection, true, true},
    {P::btnCopy, CommandRule::Selection, true, true},
    {P::btnPrintSelText, CommandRule::Selection, true, true},
    {P::PrintSelectedText1, CommandRule::Selection, true, true},
    {P::DeleteSelectedText1, CommandRule::Selection, true, true},
    {P::Cut1, CommandRule::Selection, false, true},
    {P::Copy1, CommandRule::Selection, false, true},
    {P::MenuItemcut, CommandRule::Selection, false, true},
    {P::MenuItemCopy, CommandRule::Selection, false, true},
    {P::PrintSelectedText2, CommandRule::Selection, false, true},
    {P::DeleteSelText, CommandRule::Selection, false, true},
    {P::btnFind, CommandRule::Text, true, true},
    {P::MenuItemPrint, CommandRule::Text, true, true},
    {P::SelectAll2, CommandRule::Text, true, true},
    {P::btnPrint, CommandRule::Text, true, false},
    {P::Print1, CommandRule::Text, true, false},
    {P::ClearAll1, CommandRule::Text, true, false},
    {P::SelectAll1, CommandRule::Text, true, false},
    {P::Clear, CommandRule::Text, false, true},
};

// Settings reads and writes report nothing: a value that is missing or of
// another type reads as its default, and a failed write is passed over.
int ReadSetting(const TRegIniFile& ini, const char* section, const char* ident, int def) {
  try {
    return ini.ReadInteger(section, ident, def);
  } catch (const Error&) {
    return def;
  }
}

void WriteSetting(TRegIniFile& ini, const char* section, const char* ident, int value) {
  try {
    ini.WriteInteger(section, ident, value);
  } catch (const Error&) {
  }
}

}  // namespace

TfrmPendra::TfrmPendra()
    : text_(redtPendra_, {kNotebookKey, FontCancel::StoreCurrentFont,
                          {std::begin(kRefresh), std::end(kRefresh)}, std::nullopt}),
      tabList_(Svc().data->File(kTabListFileName)) {
  popupMenu = [this](HMENU menu, POINT at) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
  };
  redtPendra_.onMouseDown = [this](MouseButton button, int x, int y) { redtPendraMouseDown(button, x, y); };
  redtPendra_.onKeyDown = [this](WPARAM key) { ShortcutKey(key); };
  // Created at program start, outside any handler: an error is shown and
  // ends the creation steps, and the program goes on.
  Guarded([&] { FormCreate(); });
}

TfrmPendra::~TfrmPendra() {
  if (Handle()) {
    KillTimer(Handle(), Timer1);
    SetMenu(Handle(), nullptr);
    DestroyWindow(Handle());
  }
  for (HMENU menu : {MainMenu1_, PopupMenuNotes_, PopupMenuHelp_})
    if (menu) DestroyMenu(menu);
  for (HFONT font : {clockFont_, uiFont_})
    if (font) DeleteObject(font);
  if (toolPictures_) DeleteObject(toolPictures_);
}

void TfrmPendra::FormCreate() {
  if (!PathExists(tabList_.Path())) {
    tabs_ = DesignedTabs();
    // Not in a folder found read-only at start: the write would only fail.
    if (!Svc().programFolderReadOnly) Say(tabList_.WriteLines(tabs_));
    return;
  }
  try {
    tabs_ = tabList_.ReadLines();
  } catch (const Error&) {
    tabs_ = DesignedTabs();
    tabListUnread_ = true;
    throw;
  }
  activeTab_ = tabs_.empty() ? -1 : 0;
}

// ---------------------------------------------------------------------------
// Lifecycle.

void TfrmPendra::FormShow() {
  SetText(Handle(), "Pendra");
  FocusPage();

  const DateTime now = Svc().clock->Now();
  SYSTEMTIME today{};
  today.wYear = static_cast<WORD>(now.date.year);
  today.wMonth = static_cast<WORD>(now.date.month);
  today.wDay = static_cast<WORD>(now.date.day);
  today.wDayOfWeek = static_cast<WORD>(DayOfWeek(now.date));
  SendMessageA(DateTimePicker1_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&today));
  InvalidateRect(DateTimePicker1_, nullptr, TRUE);

  SetTimer(Handle(), Timer1, 1000, nullptr);
  Timer1Timer();

  RefreshTabs();
  TRegIniFile ini(*Svc().registry, kNotebookKey);
  const int stored = ReadSetting(ini, "Tab", "Active Tab", activeTab_);
  // A number that names no tab leaves the active tab as it is.
  if (stored >= 0 && stored < static_cast<int>(tabs_.size())) SelectTab(stored);
  const RECT r = WindowRectOf(Handle());
  const int top = ReadSetting(ini, "Position", "Top", r.top);
  const int left = ReadSetting(ini, "Position", "Left", r.left);
  const int width = ReadSetting(ini, "Size", "Width", r.right - r.left);
  const int height = ReadSetting(ini, "Size", "Height", r.bottom - r.top);
  const RECT placed = BringOntoMonitor(RECT{left, top, left + width, top + height});
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);

  text_.FontRestore();
  // The window still appears when its page cannot be read.
  Guarded([&] { PageLoad(); });
}

void TfrmPendra::FormClose() {
  if (!Visible()) return;
  // The page first, as it holds what the user typed; a failure of either does
  // not keep the other from being written, and the last one ends the close.
  std::exception_ptr pageFailure;
  try {
    PageSave();
  } catch (...) {
    pageFailure = std::current_exception();
  }
  // The designed tabs were not written in a folder found read-only at start,
  // and writing them now would only fail: the tab list dialog writes what the
  // user changes itself.
  const bool designedUnwritten = Svc().programFolderReadOnly && !PathExists(tabList_.Path());
  if (!tabListUnread_ && !designedUnwritten) {
    try {
      // Tabs.lst changed by another program since it was read stays as it is.
      Say(tabList_.WriteLines(tabs_));
    } catch (...) {
      // Both failed: the page's error is shown, the list's ends the close.
      if (pageFailure) Guarded([&] { std::rethrow_exception(pageFailure); });
      throw;
    }
  }
  if (pageFailure) std::rethrow_exception(pageFailure);

  // A minimised or maximised window stores the place it comes back to.
  RECT r = WindowRectOf(Handle());
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if ((IsIconic(Handle()) || IsZoomed(Handle())) && GetWindowPlacement(Handle(), &placement))
    r = placement.rcNormalPosition;
  TRegIniFile ini(*Svc().registry, kNotebookKey);
  WriteSetting(ini, "Position", "Top", r.top);
  WriteSetting(ini, "Position", "Left", r.left);
  WriteSetting(ini, "Size", "Width", r.right - r.left);
  WriteSetting(ini, "Size", "Height", r.bottom - r.top);
  WriteSetting(ini, "Tab", "Active Tab", activeTab_);
}

void TfrmPendra::btnEditTabsClick() {
  // The dialog opens even when the page cannot be saved: it is where the tab
  // is renamed or removed. The page keeps its text meanwhile, and the
  // dialog's close saves it before anything is reloaded.
  Guarded([&] { PageSave(); });
  FocusPage();
  if (Forms().frmAddTabs) Forms().frmAddTabs->Show();
}

void TfrmPendra::TabListDialogClosed() {
  EnsureControls();
  // Text typed while the dialog was open goes to the file it came from
  // before the page is loaded again; a page that cannot be saved keeps the
  // dialog open.
  PageSave();
  Guarded([&] {
    // A tab list that is gone or cannot be read leaves the tabs and the page
    // as they are.
    if (!PathExists(tabList_.Path())) throw Error("Cannot open file " + tabList_.Path());
    try {
      tabs_ = tabList_.ReadLines();
    } catch (const Error&) {
      tabListUnread_ = true;
      throw;
    }
    tabListUnread_ = false;
    activeTab_ = tabs_.empty() ? -1 : 0;
    SetTabCaptions();
    PageLoad();
  });
  Show();
}

void TfrmPendra::Contents1Click() { ShowHelp(Handle(), HelpTopic::Notebook); }

void TfrmPendra::Timer1Timer() {
  if (StaticText1_)
    SetTextUtf8(StaticText1_, FormatTimeText(Svc().locale->Formats(), Svc().clock->Now().time));
}

// ---------------------------------------------------------------------------
// Commands and messages.

void TfrmPendra::PopUp(HMENU menu, POINT at) {
  if (popupMenu) popupMenu(menu, at);
}

void TfrmPendra::redtPendraMouseDown(MouseButton button, int x, int y) {
  if (button != MouseButton::Right) return;
  POINT at{x, y};
  ClientToScreen(redtPendra_.Handle(), &at);
  PopUp(PopupMenuNotes_, at);
}

void TfrmPendra::ShowHelpMenu() {
  RECT r{};
  SendMessageA(tlbPendra_, TB_GETRECT, btnHelp, reinterpret_cast<LPARAM>(&r));
  POINT at{r.left, r.bottom};
  ClientToScreen(tlbPendra_, &at);
  PopUp(PopupMenuHelp_, at);
}

// The menus' shortcuts, wherever in the window the keyboard is. Ctrl+X, Ctrl+C
// and Ctrl+V are the page's own cut, copy and paste.
bool TfrmPendra::ShortcutKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0)
    return false;
  int command = 0;
  switch (key) {
    case 'P':
      command = CommandEnabled(Print1) ? Print1 : CommandEnabled(MenuItemPrint) ? MenuItemPrint : 0;
      break;
    case 'S': command = CommandEnabled(PrintSelectedText2) ? PrintSelectedText2 : 0; break;
    case 'F': command = MenuItem5; break;
    default: break;
  }
  if (command) PostMessageA(Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
  return command != 0;
}

void TfrmPendra::OnCommand(int id) {
  auto show = [](Form* form) {
    if (form) form->Show();
  };
  // Nothing typed into a page without a file could be kept.
  const bool editable = page_.File() != nullptr;
  switch (id) {
    case btnCut: case Cut1: case MenuItemcut: text_.Run(TextCommand::Cut); break;
    case btnCopy: case Copy1: case MenuItemCopy: text_.Run(TextCommand::Copy); break;
    case btnPaste: case Paste1: case MenuItemPaste:
      if (editable) text_.Run(TextCommand::Paste);
      break;
    case ClearAll1: case Clear:
      if (editable) text_.Run(TextCommand::ClearAll);
      break;
    case SelectAll1: case SelectAll2: text_.Run(TextCommand::SelectAll); break;
    case DeleteSelectedText1: case DeleteSelText:
      if (editable) text_.Run(TextCommand::DeleteSelectedText);
      break;
    case btnPrint: case Print1: case MenuItemPrint: text_.Run(TextCommand::Print); break;
    case btnPrintSelText: case PrintSelectedText2: case PrintSelectedText1:
      text_.Run(TextCommand::PrintSelectedText);
      break;
    case btnFonts: case Fonts1: case MenuItem5: text_.Run(TextCommand::Fonts); break;
    case btnFind: text_.Run(TextCommand::Find); break;
    case SaveasTextFile1: case SaveAsTextFile2: text_.Run(TextCommand::SaveAsTextFile); break;
    case btnExit: case Exit1: case MenuItemExit: Close(); break;
    case btnEditTabs: case EditTabs1: btnEditTabsClick(); break;
    case btnEditor: case Editor1: show(Forms().frmEditor); break;
    case btnQuick: case QuickNotes2: show(Forms().frmQuickie); break;
    case btnRemind: case Reminder1: show(Forms().frmMain); break;
    case btnToDo: case ToDo1: show(Forms().frmToDo); break;
    case btnHelp: ShowHelpMenu(); break;
    case Contents1: case Contents2: Contents1Click(); break;
    case About1: case About2: show(Forms().AboutBox); break;
    default: break;
  }
}

LRESULT TfrmPendra::OnNotify(const NMHDR& hdr) {
  if (hdr.hwndFrom == tbcPendra_ && tbcPendra_) {
    if (hdr.code == TCN_SELCHANGING) return tbcPendraChanging() ? FALSE : TRUE;
    if (hdr.code == TCN_SELCHANGE) tbcPendraChange();
    return 0;
  }
  if (hdr.code == TTN_GETDISPINFOA) {
    auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(hdr));
    if (const char* hint = HintOf(static_cast<int>(hdr.idFrom))) info.lpszText = const_cast<char*>(hint);
    return 0;
  }
  if (hdr.code == TTN_GETDISPINFOW) {
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(hdr));
    if (const char* hint = HintOf(static_cast<int>(hdr.idFrom)))
      MultiByteToWideChar(CP_ACP, 0, hint, -1, info.szText, static_cast<int>(std::size(info.szText)));
    return 0;
  }
  return 0;
}

LRESULT TfrmPendra::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (text_.HandleMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case kShortcutKeyMessage:
      // The page answers its own keys.
      return reinterpret_cast<HWND>(lp) != redtPendra_.Handle() && ShortcutKey(wp);
    case WM_COMMAND:
      if (lp == 0 || reinterpret_cast<HWND>(lp) == tlbPendra_) {
        OnCommand(LOWORD(wp));
        return 0;
      }
      break;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_TIMER:
      if (wp == Timer1) Timer1Timer();
      return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = {Px(kDesignWidth), Px(kDesignHeight)};
      return 0;
    }
    case WM_SETFOCUS: redtPendra_.SetFocus(); return 0;
    case WM_ACTIVATE: {
      const LRESULT answer = Form::HandleMessage(msg, wp, lp);
      // After the focus is back: a long page comes in a new control.
      if (LOWORD(wp) != WA_INACTIVE) page_.Refresh();
      return answer;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == redtPendra_.Handle()) {
        POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (lp == -1) {  // from the keyboard: at the caret
          GetCaretPos(&at);
          ClientToScreen(redtPendra_.Handle(), &at);
        }
        PopUp(PopupMenuNotes_, at);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == StaticText1_)
        return AnswerColors(reinterpret_cast<HDC>(wp), clockColors_, clockBrush_);
      break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      clockColors_ = FixedColors(kClockColors, CurrentSystemColors());
      if (StaticText1_) InvalidateRect(StaticText1_, nullptr, TRUE);
      break;
    default: break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
