#include "notes/notebook_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>
#include <vector>

#include "notes/tab_captions.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/help.h"
#include "platform/message_loop_win.h"
#include "platform/monitor_win.h"
#include "platform/on_demand_win.h"
#include "platform/services.h"
#include "settings/wide_text_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

using P = TfrmPendra;

// Where the window sits and how large it is until the user changes it; it
// is never made smaller than its design size. Design values are pixels at
// 96 DPI; the window scales them to its DPI.
constexpr int kDesignLeft = 222;
constexpr int kDesignTop = 244;
constexpr int kDesignWidth = 625;
constexpr int kDesignHeight = 300;
constexpr int kTabHeight = 20;
constexpr int kClockWidth = 76;
constexpr int kDateWidth = 172;
constexpr int kClockHeight = 20;
constexpr int kDateHeight = 21;
constexpr int kPictureSize = 16;  // of the toolbar's pictures
constexpr const char* kToolbarPictures = "NOTEBOOKTOOLS";  // 16 x 16 each, in button order
const FontSpec kDesignedFont{"MS Sans Serif", 10, 0, {}};   // 13 pixels high
constexpr ColorPair kClockColors{0x0000FF, 0x000000};       // red on black

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

struct ToolButton {
  int id;  // 0: a separator
  const char* hint;
};

constexpr ToolButton kToolbar[] = {
    {P::btnCut, "Cut"},          {P::btnCopy, "Copy"},
    {P::btnPaste, "Paste"},      {0, nullptr},
    {P::btnPrint, "Print"},      {P::btnPrintSelText, "Print Selected Text"},
    {P::btnFonts, "Fonts"},      {0, nullptr},
    {P::btnFind, "Find"},        {P::btnEditTabs, "Edit Tabs"},
    {P::btnEditor, "Editor"},    {0, nullptr},
    {P::btnQuick, "Quick Notes"}, {P::btnRemind, "Reminders"},
    {P::btnToDo, "To Do List"},  {0, nullptr},
    {P::btnHelp, "Help"},        {P::btnExit, "Close"},
    {0, nullptr},                {0, nullptr},
};
// The clock and the date stand on two more places after these.
constexpr int kClockSlot = static_cast<int>(std::size(kToolbar));
constexpr int kDateSlot = kClockSlot + 1;

struct MenuRow {
  int id;  // 0: a separator
  const char* caption;
  const char* shortcut;
  bool enabled;
  DWORD helpContext;  // kept as the item's data; 0: none
};

constexpr MenuRow kFileMenu[] = {
    {P::Print1, "&Print", "Ctrl+P", false, 0},
    {P::PrintSelectedText2, "Print &Selected Text", "Ctrl+S", false, 0},
    {0, nullptr, nullptr, true, 0},  // N1
    {P::SaveasTextFile1, "Save as Text File", nullptr, true, 0},
    {P::Exit1, "&Close", nullptr, true, 0},
};
constexpr MenuRow kEditMenu[] = {
    {P::Cut1, "Cu&t", "Ctrl+X", false, 0},
    {P::Copy1, "&Copy", "Ctrl+C", false, 0},
    {P::Paste1, "&Paste", "Ctrl+V", false, 0},
    {0, nullptr, nullptr, true, 0},  // N2
    {P::ClearAll1, "Clear All", nullptr, false, 0},
    {P::SelectAll1, "Select All", nullptr, false, 0},
    {P::DeleteSelectedText1, "&Delete Selected Text", nullptr, false, 0},
};
constexpr MenuRow kProgramMenu[] = {
    {P::Reminder1, "Reminder", nullptr, true, 0},
    {P::QuickNotes2, "Quick Notes", nullptr, true, 0},
    {P::Editor1, "Editor", nullptr, true, 0},
    {P::ToDo1, "ToDo", nullptr, true, 0},
};
constexpr MenuRow kOptionsMenu[] = {
    {P::Fonts1, "&Fonts", nullptr, true, 0},
    {P::EditTabs1, "Edit Tabs", nullptr, true, 0},
};
constexpr MenuRow kHelpMenu[] = {
    {P::Contents1, "&Contents", nullptr, true, 0},
    {0, nullptr, nullptr, true, 0},  // N3
    {P::About1, "&About", nullptr, true, 0},
};
// Ctrl+X stands on both Cut and Exit; the key cuts.
constexpr MenuRow kNotesMenu[] = {
    {P::MenuItemcut, "Cu&t", "Ctrl+X", false, 350},
    {P::MenuItemCopy, "&Copy", nullptr, false, 360},
    {P::MenuItemPaste, "Paste", nullptr, false, 370},
    {0, nullptr, nullptr, true, 0},  // N5
    {P::Clear, "Clear &All", nullptr, false, 380},
    {P::SelectAll2, "Select All", nullptr, false, 0},
    {P::DeleteSelText, "&Delete Selected Text", nullptr, false, 390},
    {P::SaveAsTextFile2, "Save As Text File", nullptr, true, 0},
    {0, nullptr, nullptr, true, 400},  // MenuItem4
    {P::MenuItem5, "&Fonts", "Ctrl+F", true, 410},
    {P::MenuItemPrint, "&Print", "Ctrl+P", false, 440},
    {P::PrintSelectedText1, "Print &Selected Text", nullptr, false, 450},
    {0, nullptr, nullptr, true, 460},  // MenuItem8
    {P::MenuItemExit, "E&xit", "Ctrl+X", true, 470},
};
constexpr MenuRow kHelpDropDown[] = {
    {P::Contents2, "&Contents", nullptr, true, 480},
    {0, nullptr, nullptr, true, 490},  // N4
    {P::About2, "&About", nullptr, true, 500},
};

template <std::size_t N>
void AddItems(HMENU menu, const MenuRow (&rows)[N]) {
  for (const MenuRow& row : rows) {
    std::string caption = row.caption ? row.caption : "";
    if (row.shortcut) caption = caption + "\t" + row.shortcut;
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | (row.id ? MIIM_STRING : 0);
    item.fType = row.id ? MFT_STRING : MFT_SEPARATOR;
    item.fState = row.enabled ? MFS_ENABLED : MFS_GRAYED;
    item.wID = static_cast<UINT>(row.id);
    item.dwItemData = row.helpContext;
    item.dwTypeData = caption.data();
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
  }
}

template <std::size_t N>
void AddSubmenu(HMENU bar, const char* caption, DWORD helpContext, const MenuRow (&rows)[N]) {
  HMENU sub = CreatePopupMenu();
  AddItems(sub, rows);
  if (helpContext) SetMenuContextHelpId(sub, helpContext);
  AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
}

const char* HintOf(int id) {
  for (const ToolButton& b : kToolbar)
    if (b.id == id) return b.hint;
  return nullptr;
}

bool ItemEnabled(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

// The toolbar passes the colour question of the clock on to the window.
constexpr const char* kToolbarProcProp = "PendraToolbarProc";

LRESULT CALLBACK ToolbarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto base = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kToolbarProcProp));
  if (msg == WM_CTLCOLORSTATIC) return SendMessageA(GetParent(hwnd), msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    RemovePropA(hwnd, kToolbarProcProp);
  }
  return CallWindowProcA(base, hwnd, msg, wp, lp);
}

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

// The toolbar's pictures at a size; the 16-pixel strip is stretched, whole
// pixels at a time. Light and dark grey of the pictures become the system's
// button colours.
HBITMAP LoadToolPictures(int size) {
  constexpr int kPictures = 14;
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), kToolbarPictures, IMAGE_BITMAP,
                                         size == kPictureSize ? 0 : kPictures * size,
                                         size == kPictureSize ? 0 : size, LR_LOADMAP3DCOLORS));
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
// Controls, built on the first show.

void TfrmPendra::EnsureControls() {
  if (Handle()) return;
  EnsureCommonControls();
  CreateMenus();
  CreateWnd("TfrmPendra", "Pendra", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, Px(kDesignLeft),
            Px(kDesignTop), Px(kDesignWidth), Px(kDesignHeight), ApplicationWindow(), MainMenu1_,
            CS_DBLCLKS, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
            LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
  if (!Handle()) throw Error("Cannot create the notebook window");
  CreateFonts();
  clockColors_ = FixedColors(kClockColors, CurrentSystemColors());
  CreateToolbar();

  tbcPendra_ = CreateWindowExA(0, WC_TABCONTROLA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP, 0, 0,
                               kDesignWidth, kDesignHeight, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(tbcPendraId)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tbcPendra_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  SendMessageA(tbcPendra_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, Px(kTabHeight)));
  SetTabCaptions();

  redtPendra_.Create(Handle(), redtPendraId, {0, 0, 100, 100}, kDesignedFont);
  // The page lies over the tab control's page area.
  SetWindowPos(redtPendra_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  text_.Commands().AddToolbar(tlbPendra_);
  text_.Commands().AddMenu(MainMenu1_);
  text_.Commands().AddMenu(PopupMenuNotes_);
  Layout();
}

void TfrmPendra::CreateMenus() {
  MainMenu1_ = CreateMenu();
  AddSubmenu(MainMenu1_, "&File", 310, kFileMenu);
  AddSubmenu(MainMenu1_, "&Edit", 320, kEditMenu);
  AddSubmenu(MainMenu1_, "Program", 0, kProgramMenu);
  AddSubmenu(MainMenu1_, "&Options", 330, kOptionsMenu);
  AddSubmenu(MainMenu1_, "&Help", 340, kHelpMenu);
  PopupMenuNotes_ = CreatePopupMenu();
  AddItems(PopupMenuNotes_, kNotesMenu);
  PopupMenuHelp_ = CreatePopupMenu();
  AddItems(PopupMenuHelp_, kHelpDropDown);
}

void TfrmPendra::CreateToolbar() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  tlbPendra_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_TOP |
                                   CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                               0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(tlbPendraId)), instance,
                               nullptr);
  SetPropA(tlbPendra_, kToolbarProcProp,
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(tlbPendra_, GWLP_WNDPROC,
                                                      reinterpret_cast<LONG_PTR>(ToolbarProc))));
  SendMessageA(tlbPendra_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(tlbPendra_, TB_SETBITMAPSIZE, 0, MAKELPARAM(Px(kPictureSize), Px(kPictureSize)));
  toolPictures_ = LoadToolPictures(Px(kPictureSize));
  if (toolPictures_) {
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(toolPictures_)};
    SendMessageA(tlbPendra_, TB_ADDBITMAP, 14, reinterpret_cast<LPARAM>(&add));
  }
  std::vector<TBBUTTON> buttons;
  int picture = 0;
  for (const ToolButton& b : kToolbar) {
    TBBUTTON button{};
    if (b.id) {
      button.iBitmap = picture++;
      button.idCommand = b.id;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    } else {
      button.fsStyle = BTNS_SEP;
    }
    buttons.push_back(button);
  }
  for (int width : {Px(kClockWidth), Px(kDateWidth)}) {
    TBBUTTON slot{};
    slot.iBitmap = width;  // a separator's width
    slot.fsStyle = BTNS_SEP;
    buttons.push_back(slot);
  }
  SendMessageA(tlbPendra_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(tlbPendra_, TB_AUTOSIZE, 0, 0);

  StaticText1_ = CreateWindowExA(0, "STATIC", "",
                                 WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_NOPREFIX,
                                 0, 0, Px(kClockWidth), Px(kClockHeight), tlbPendra_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(StaticText1Id)), instance,
                                 nullptr);
  SendMessageA(StaticText1_, WM_SETFONT, reinterpret_cast<WPARAM>(clockFont_), FALSE);
  // Date only, long format, the drop-down calendar; typed text is not parsed.
  DateTimePicker1_ = CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | DTS_LONGDATEFORMAT,
                                     0, 0, Px(kDateWidth), Px(kDateHeight), tlbPendra_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(DateTimePicker1Id)),
                                     instance, nullptr);
  SendMessageA(DateTimePicker1_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
}

void TfrmPendra::Layout() {
  if (!tbcPendra_) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageA(tlbPendra_, TB_AUTOSIZE, 0, 0);
  const int toolbarHeight = WindowRectOf(tlbPendra_).bottom - WindowRectOf(tlbPendra_).top;
  for (auto [control, slot] : {std::pair{StaticText1_, kClockSlot}, std::pair{DateTimePicker1_, kDateSlot}}) {
    RECT r{};
    SendMessageA(tlbPendra_, TB_GETITEMRECT, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(&r));
    const int height = std::min<int>(Px(kDateHeight), r.bottom - r.top);
    // Within the bar, also where the window is too narrow for the slot.
    const int right = std::min<int>(r.right, client.right);
    MoveWindow(control, r.left, r.top + (r.bottom - r.top - height) / 2, std::max<int>(0, right - r.left),
               height, TRUE);
  }
  FitDateFormat();
  const int width = client.right, height = std::max<int>(client.bottom - toolbarHeight, 0);
  MoveWindow(tbcPendra_, 0, toolbarHeight, width, height, TRUE);
  RECT page{0, 0, width, height};
  SendMessageA(tbcPendra_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  OffsetRect(&page, 0, toolbarHeight);
  redtPendra_.SetBounds(page);
}

void TfrmPendra::CreateFonts() {
  uiFont_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  clockFont_ = CreateScaledFont(-11, FW_BOLD, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
}

void TfrmPendra::DpiChanged(UINT) {
  const HFONT oldFonts[] = {uiFont_, clockFont_};
  CreateFonts();
  ReplaceFont(Handle(), oldFonts[0], uiFont_);
  ReplaceFont(Handle(), oldFonts[1], clockFont_);
  for (HFONT font : oldFonts) DeleteObject(font);
  // The toolbar's pictures and the places of the clock and the date.
  SendMessageA(tlbPendra_, TB_SETBITMAPSIZE, 0, MAKELPARAM(Px(kPictureSize), Px(kPictureSize)));
  if (HBITMAP pictures = LoadToolPictures(Px(kPictureSize))) {
    TBREPLACEBITMAP replace{nullptr, reinterpret_cast<UINT_PTR>(toolPictures_), nullptr,
                            reinterpret_cast<UINT_PTR>(pictures), 14};
    SendMessageA(tlbPendra_, TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace));
    if (toolPictures_) DeleteObject(toolPictures_);
    toolPictures_ = pictures;
  }
  for (auto [slot, width] : {std::pair{kClockSlot, kClockWidth}, std::pair{kDateSlot, kDateWidth}}) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_SIZE;
    info.cx = static_cast<WORD>(Px(width));
    SendMessageA(tlbPendra_, TB_SETBUTTONINFOA, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(&info));
  }
  SendMessageA(tbcPendra_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, Px(kTabHeight)));
  Layout();
}

void TfrmPendra::FitDateFormat() {
  // The widest long date: each weekday in each month.
  HDC dc = GetDC(DateTimePicker1_);
  HGDIOBJ old = SelectObject(dc, uiFont_);
  int widest = 0;
  for (WORD month = 1; month <= 12; ++month) {
    for (WORD day = 21; day <= 27; ++day) {
      const SYSTEMTIME st{2000, month, 0, day, 0, 0, 0, 0};
      char text[128] = {};
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, nullptr, text, sizeof text);
      SIZE size{};
      GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
      widest = std::max<int>(widest, size.cx);
    }
  }
  SelectObject(dc, old);
  ReleaseDC(DateTimePicker1_, dc);
  // Beside the drop-down button, inside the edges.
  RECT room{};
  GetClientRect(DateTimePicker1_, &room);
  const bool fits = widest + SystemMetricForDpi(SM_CXVSCROLL, Dpi()) + Px(4) <= room.right;
  if (fits == longDateShown_) return;
  longDateShown_ = fits;
  // Where the long date would be cut, the picker shows the short one.
  char shortDate[80] = {};
  if (!fits) GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortDate, sizeof shortDate);
  SendMessageA(DateTimePicker1_, DTM_SETFORMATA, 0, fits ? 0 : reinterpret_cast<LPARAM>(shortDate));
}

void TfrmPendra::SetTabCaptions() {
  if (!tbcPendra_) return;
  SendMessageA(tbcPendra_, TCM_DELETEALLITEMS, 0, 0);
  // The captions are UTF-8: in wide, each shows whole, in any script.
  for (std::size_t i = 0; i < tabs_.size(); ++i) {
    std::wstring caption = Widen(CP_UTF8, tabs_[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tbcPendra_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  if (activeTab_ >= 0) SendMessageA(tbcPendra_, TCM_SETCURSEL, static_cast<WPARAM>(activeTab_), 0);
  Layout();  // the rows of tabs may have changed
}

void TfrmPendra::RefreshTabs() {
  // The tabs shown hold no change of their own: the dialog writes each.
  if (tabListUnread_ || !tabList_.ChangedOnDisk()) return;
  try {
    tabs_ = tabList_.ReadLines();
  } catch (const Error&) {
    return;
  }
  if (activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size())) activeTab_ = tabs_.empty() ? -1 : 0;
  SetTabCaptions();
}

void TfrmPendra::SelectTab(int index) {
  activeTab_ = index;
  if (tbcPendra_) SendMessageA(tbcPendra_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TfrmPendra::CommandEnabled(int id) const {
  if (tlbPendra_ && SendMessageA(tlbPendra_, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0) >= 0)
    return SendMessageA(tlbPendra_, TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
  for (HMENU menu : {MainMenu1_, PopupMenuNotes_, PopupMenuHelp_})
    if (menu && GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1))
      return ItemEnabled(menu, id);
  return false;
}

// ---------------------------------------------------------------------------
// Pages.

void TfrmPendra::FocusPage() {
  if (IsWindowVisible(Handle())) redtPendra_.SetFocus();
}

std::optional<std::string> TfrmPendra::PageFile() const {
  if (!page_.File()) return std::nullopt;
  return page_.File()->Path();
}

bool TfrmPendra::ShowPageWithoutFile(const std::string& readFrom) {
  page_.Forget();
  bool read = false;
  if (!readFrom.empty() && PathExists(readFrom)) {
    try {
      redtPendra_.LoadText(ReadTextFile(readFrom));
      read = true;
    } catch (const Error&) {
      // Unreadable too: the page stays empty, as for any page without a file.
    }
  }
  if (!read) redtPendra_.SetText("");
  // Nothing typed here could be kept.
  redtPendra_.SetReadOnly(true);
  return read;
}

void TfrmPendra::PageLoad() {
  page_.Forget();
  if (activeTab_ < 0) {  // a tab list without tabs
    ShowPageWithoutFile();
    return;
  }
  // The caption and the folder as the data folder holds them, in UTF-8: a
  // page's file is named in any script.
  const std::string& caption = tabs_[static_cast<std::size_t>(activeTab_)];
  const std::string& folder = Svc().data->Folder();
  const CodePage& codePage = Utf8CodePage();
  const std::optional<std::string> path = PagePath(folder, caption, codePage);
  const CaptionFault fault = CheckTabCaption(folder, caption, codePage);
  if (!path && fault == CaptionFault::TooLong && ShowPageWithoutFile(PageFilePath(folder, caption))) {
    // Made under a shorter folder: its text is there, but no save of it could
    // succeed here.
    Svc().dialogs->ShowMessage(
        "The page of the tab \"" + QuotedCaption(caption, codePage) +
            "\" is shown read-only: its file name is too long to be saved again in this folder. " +
            CaptionFaultReason(fault, folder, codePage) +
            " To keep its text, copy it into another tab and remove this one under Edit Tabs, or move "
            "the Pendra folder to a folder with a shorter path.",
        kAppTitle, MsgIcon::Warning);
    return;
  }
  if (!path) {
    ShowPageWithoutFile();
    Svc().dialogs->ShowMessage(
        "The page of the tab \"" + QuotedCaption(caption, codePage) +
            "\" cannot be stored in a file, so it stays empty. " +
            CaptionFaultReason(fault, folder, codePage) +
            " Remove the tab under Edit Tabs and add it with another name.",
        kAppTitle, MsgIcon::Warning);
    return;
  }
  redtPendra_.SetReadOnly(false);
  DataFile& file = Svc().data->File(path->substr(folder.size()));
  if (!PathExists(*path)) {
    // A new page: its file is made, empty, at once, in the code page. Where
    // it cannot be made the page has no file, as for a name no file can have:
    // every later save would fail as well and hold the user on this tab.
    redtPendra_.LoadText("");
    try {
      Say(page_.Create(file));
    } catch (const Error&) {
      ShowPageWithoutFile();
      // The start said once that nothing can be saved in this folder; a box
      // for each new page would only repeat it.
      if (Svc().programFolderReadOnly) return;
      throw;
    }
    FocusPage();
    return;
  }
  // One stream into the control replaces its text; a file that cannot be
  // read leaves the page empty and without a file, so it is never written
  // over.
  TextLoad load;
  try {
    load = page_.Load(file);
  } catch (const Error&) {
    ShowPageWithoutFile();
    throw;
  }
  if (!load.readOnlyBecause.empty()) {
    // Shown as read, and without a file: its bytes stay as they are.
    page_.Forget();
    Svc().dialogs->ShowMessage("The page of the tab \"" + QuotedCaption(caption, codePage) +
                                   "\" is shown read-only: " + std::string(load.readOnlyBecause) +
                                   ". Its file is left as it is; to edit its text, copy it into another tab.",
                               kAppTitle, MsgIcon::Warning);
    return;
  }
}

void TfrmPendra::PageSave() {
  // A page the user did not change is left as its file holds it, whatever
  // the control would make of its bytes.
  if (page_.File() && redtPendra_.Modified()) Say(page_.Store());
}

bool TfrmPendra::tbcPendraChanging() {
  // A page that cannot be saved keeps its tab, so its text is not lost.
  if (!Guarded([&] { PageSave(); })) return false;
  FocusPage();
  return true;
}

void TfrmPendra::tbcPendraChange() {
  activeTab_ = static_cast<int>(SendMessageA(tbcPendra_, TCM_GETCURSEL, 0, 0));
  PageLoad();
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
