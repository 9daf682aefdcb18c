// The notebook's controls, built on its first show: menus, toolbar with its
// clock and date, the tabs, and their layout at the window's DPI.
#include "notes/notebook_window_win.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "notes/notebook_design_win.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/on_demand_win.h"
#include "settings/errors.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

using P = TfrmPendra;
using namespace notebook;

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

const char* notebook::HintOf(int id) {
  for (const ToolButton& b : kToolbar)
    if (b.id == id) return b.hint;
  return nullptr;
}

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

}  // namespace pendra
