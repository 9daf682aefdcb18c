// The to-do list window: its controls, layout, commands and lifecycle.
#include "todo/todo_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/monitor_win.h"
#include "platform/on_demand_win.h"
#include "platform/services.h"
#include "platform/wide_controls_win.h"
#include "settings/reg_ini.h"
#include "settings/wide_text_win.h"

namespace pendra {

namespace {

// Design values, in pixels at 96 DPI; the window scales them to its DPI.
constexpr int kHeaderHeight = 18;
constexpr int kPanelWidth = 100;
constexpr int kButtonHeight = 21;
constexpr int kButtonStep = 23;
constexpr int kItemHeight = 16;
constexpr int kDateColumnWidth = 80;
constexpr int kTextColumnWidth = 10000;
constexpr int kPanelMargin = 4;
// A push button draws its caption inside its edges and its focus mark.
constexpr int kButtonTextMargin = 8;

struct ButtonDef {
  TfrmToDo::Id id;
  const char* caption;
  const char* hint;
};

// The button panel, top to bottom. The hints about the selected item have two
// blanks after "selected".
constexpr ButtonDef kButtons[10] = {
    {TfrmToDo::kBtnAdd, "Add Item", "Add an item to the list"},
    {TfrmToDo::kBtnRemove, "Remove Item", "Remove the selected  item from the list"},
    {TfrmToDo::kBtnUp, "Move Up", "Move the selected  item up on the list"},
    {TfrmToDo::kBtnDown, "Move Down", "Move the selected  item down on the list"},
    {TfrmToDo::kBtnMoveTop, "Move To Top", "Move the selected  item up on the list"},
    {TfrmToDo::kBtnMoveBottom, "Move To Bottom", "Move the selected  item up on the list"},
    {TfrmToDo::kBtnSave, "Save changes", "Save changes"},
    {TfrmToDo::kBtnCancel, "Cancel", "Cancel Previous Action"},
    {TfrmToDo::kBtnHideButtons, "Hide Buttons", "Hide Buttons"},
    {TfrmToDo::kBtnClose, "Close", "Exit and save changes"},
};

constexpr TfrmToDo::Id kItemCommands[] = {TfrmToDo::kBtnRemove, TfrmToDo::kBtnUp,
                                          TfrmToDo::kBtnDown, TfrmToDo::kBtnMoveTop,
                                          TfrmToDo::kBtnMoveBottom};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void EnableCommand(HMENU menu, HWND button, int id, bool enabled) {
  if (button) EnableWindow(button, enabled);
  if (menu) EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

// The button panel: a plain container that passes its buttons' clicks on.
class ToDoPanel final : public Window {
 public:
  explicit ToDoPanel(HWND target) : target_(target) {}

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND) return SendMessageA(target_, msg, wp, lp);
    return Window::HandleMessage(msg, wp, lp);
  }

 private:
  HWND target_;
};

TfrmToDo::TfrmToDo() : list_(Svc().data->File(kToDoFileName)) {
  // Created at program start, outside any handler: an error of the creation
  // steps is shown and ends them, and the program goes on. A list that was
  // not read is then never written over the file.
  Guarded([&] { FormCreate(); });
}

TfrmToDo::~TfrmToDo() {
  if (Handle()) DestroyWindow(Handle());
  if (pmnuToDo_) DestroyMenu(pmnuToDo_);
  if (font_) DeleteObject(font_);
}

void TfrmToDo::FormCreate() {
  // A switch of the wrong type is reported on its own: the list is read all the same.
  Guarded([&] {
    list_.SetButtonsShown(TRegIniFile(*Svc().registry, kToDoKey).ReadBool("Buttons", "Visible", true));
  });
  list_.Load();
}

// ---------------------------------------------------------------------------
// Controls

void TfrmToDo::BeforeShow() {
  if (!Handle()) CreateControls();
  RefreshList();
}

void TfrmToDo::RefreshList() {
  // What another program wrote to ToDo.lst is shown, unless the list holds
  // edits of its own: the save keeps both then. A file still being written is
  // looked at again a moment later.
  switch (list_.Refresh()) {
    case ToDoList::Refreshed::Read: FillList(); break;
    case ToDoList::Refreshed::NotYet:
      if (Handle()) SetTimer(Handle(), kLookTimer, kLookAgainMs, nullptr);
      break;
    case ToDoList::Refreshed::Nothing: break;
  }
}

HWND TfrmToDo::AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x,
                          int y, int w, int h, int id, DWORD exStyle) {
  HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | style, Px(x), Px(y), Px(w), Px(h), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                              nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return hwnd;
}

void TfrmToDo::AddHint(HWND control, const char* text) { hints_.Add(control, text); }

std::string TfrmToDo::HintOf(HWND control) const { return hints_.Of(control); }

HWND TfrmToDo::Button(Id id) const {
  for (std::size_t i = 0; i < 10; ++i)
    if (kButtons[i].id == id) return buttons_[i];
  return nullptr;
}

void TfrmToDo::CreateControls() {
  EnsureCommonControls();
  const RECT& b = kDesignBounds;
  CreateWnd("TfrmToDo", "Things To Do ", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
            WS_EX_TOPMOST | WS_EX_CONTROLPARENT, Px(b.left), Px(b.top), Px(b.right - b.left),
            Px(b.bottom - b.top), ApplicationWindow(), nullptr, CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
            LoadIconA(Instance(), "MAINICON"));
  font_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  hints_.Create(Handle());

  // Two fixed columns that cannot be clicked, dragged or resized.
  HeaderControl1_ = AddControl(Handle(), WC_HEADERA, "", WS_VISIBLE | HDS_HORZ, 0, 0, 330,
                               kHeaderHeight, kHeaderControl1);
  const char* headings[2] = {"      DATE", "                    TO DO LIST"};
  const int widths[2] = {Px(kDateColumnWidth), Px(kTextColumnWidth)};
  for (int i = 0; i < 2; ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.cxy = widths[i];
    item.pszText = const_cast<char*>(headings[i]);
    SendMessageA(HeaderControl1_, HDM_INSERTITEMA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(&item));
  }

  // Wide: the items show whole, in any script.
  ListBox1_ = CreateWideControl(L"LISTBOX",
                                WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_GROUP | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                    LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
                                WS_EX_CLIENTEDGE, 0, Px(kHeaderHeight), Px(330), Px(200), Handle(), kListBox1,
                                font_);
  SendMessageA(ListBox1_, LB_SETITEMHEIGHT, 0, Px(kItemHeight));
  AddHint(ListBox1_, "Right Click For Context Menu");

  panel_ = std::make_unique<ToDoPanel>(Handle());
  panel_->CreateWnd("TToDoPanel", "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                    WS_EX_CONTROLPARENT, Px(330), 0, Px(kPanelWidth), Px(250), Handle(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPnlButton)), CS_DBLCLKS,
                    reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  pnlButton_ = panel_->Handle();
  int y = kPanelMargin;
  for (std::size_t i = 0; i < 10; ++i) {
    const DWORD group = i == 0 ? WS_GROUP : 0;
    buttons_[i] = AddControl(pnlButton_, "BUTTON", kButtons[i].caption,
                             WS_VISIBLE | WS_TABSTOP | group | BS_PUSHBUTTON, kPanelMargin, y,
                             kPanelWidth - 2 * kPanelMargin, kButtonHeight, kButtons[i].id);
    AddHint(buttons_[i], kButtons[i].hint);
    y += kButtonStep;
  }
  SizeButtons();

  CreatePopupMenu();
  FillList();
  ApplyCommands();
  Relayout();
}

void TfrmToDo::CreatePopupMenu() {
  pmnuToDo_ = ::CreatePopupMenu();
  auto add = [&](int id, const char* caption) {
    AppendMenuA(pmnuToDo_, MF_STRING, static_cast<UINT_PTR>(id), caption);
  };
  auto separator = [&] { AppendMenuA(pmnuToDo_, MF_SEPARATOR, 0, nullptr); };
  add(kBtnAdd, "Add Item");          // AddItem1
  add(kBtnRemove, "Remove Item");    // RemoveItem1
  separator();                       // N1
  add(kBtnUp, "Move Up");            // MoveUp1
  add(kBtnDown, "Move Down");        // MoveDown1
  add(kBtnMoveTop, "Move To Top");   // MoveToTop1
  add(kBtnMoveBottom, "Move To Bottom");  // MoveToBottom1
  separator();                       // N2
  add(kBtnSave, "Save Changes");     // SaveChanges1
  add(kBtnCancel, "Cancel");         // Cancel1
  add(kShowButtons1, "Show Buttons");
  add(kBtnHideButtons, "Hide Buttons");  // HideButtons1
  separator();                       // N3
  add(kBtnClose, "Close");           // Close1
}

void TfrmToDo::FillList() {
  if (!ListBox1_) return;
  const Lines& items = list_.Items();
  std::size_t bytes = 0;
  for (const auto& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageA(ListBox1_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(ListBox1_, LB_RESETCONTENT, 0, 0);
  SendMessageA(ListBox1_, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const auto& item : items) AddListRow(ListBox1_, item);
  SendMessageA(ListBox1_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(ListBox1_, nullptr, TRUE);
}

// The controls follow the three command groups, as the list holds them.
void TfrmToDo::ApplyCommands() {
  if (!Handle()) return;
  const ToDoCommands& c = list_.Commands();
  for (Id id : kItemCommands) EnableCommand(pmnuToDo_, Button(id), id, c.items);
  EnableCommand(pmnuToDo_, Button(kBtnSave), kBtnSave, c.save);
  EnableCommand(pmnuToDo_, Button(kBtnCancel), kBtnCancel, c.cancel);
  // Exactly one of Show Buttons and Hide Buttons is on; the panel's own Hide
  // Buttons is only seen while the panel is.
  EnableCommand(pmnuToDo_, nullptr, kShowButtons1, !c.buttonsShown);
  EnableCommand(pmnuToDo_, nullptr, kBtnHideButtons, c.buttonsShown);
  const bool panelShown = (GetWindowLongA(pnlButton_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (panelShown != c.buttonsShown) {
    ShowWindow(pnlButton_, c.buttonsShown ? SW_SHOW : SW_HIDE);
    Relayout();
  }
}

void TfrmToDo::SizeButtons() {
  // The design width, or wider where a caption needs it in the font in use.
  HDC dc = GetDC(pnlButton_);
  HGDIOBJ old = SelectObject(dc, font_);
  int widest = 0;
  for (const ButtonDef& b : kButtons) {
    RECT r{};
    DrawTextA(dc, b.caption, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    widest = std::max<int>(widest, r.right);
  }
  SelectObject(dc, old);
  ReleaseDC(pnlButton_, dc);
  panelWidth_ = std::max(Px(kPanelWidth), widest + Px(kButtonTextMargin) + 2 * Px(kPanelMargin));
  for (HWND button : buttons_)
    SetWindowPos(button, nullptr, 0, 0, panelWidth_ - 2 * Px(kPanelMargin), Px(kButtonHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmToDo::Relayout() {
  if (!Handle()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const bool panelShown = list_.Commands().buttonsShown;
  const int listWidth = std::max(0, static_cast<int>(client.right) - (panelShown ? panelWidth_ : 0));
  const int headerHeight = Px(kHeaderHeight);
  MoveWindow(HeaderControl1_, 0, 0, listWidth, headerHeight, TRUE);
  MoveWindow(ListBox1_, 0, headerHeight, listWidth, std::max(0, static_cast<int>(client.bottom) - headerHeight),
             TRUE);
  MoveWindow(pnlButton_, listWidth, 0, panelWidth_, client.bottom, TRUE);
}

void TfrmToDo::DpiChanged(UINT oldDpi) {
  HFONT old = font_;
  font_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  ReplaceFont(Handle(), old, font_);
  DeleteObject(old);
  SendMessageA(ListBox1_, LB_SETITEMHEIGHT, 0, Px(kItemHeight));
  scalingColumns_ = true;
  for (int i = 0; i < 2; ++i) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    SendMessageA(HeaderControl1_, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.cxy = MulDiv(item.cxy, static_cast<int>(Dpi()), static_cast<int>(oldDpi));
    SendMessageA(HeaderControl1_, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  scalingColumns_ = false;
  SizeButtons();
  Relayout();
}

// ---------------------------------------------------------------------------
// Commands

ListFocus TfrmToDo::Focus() const {
  if (!ListBox1_) return {};
  const int index = static_cast<int>(SendMessageA(ListBox1_, LB_GETCARETINDEX, 0, 0));
  const bool selected =
      index >= 0 && SendMessageA(ListBox1_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
  return {index, selected};
}

void TfrmToDo::ListBox1Click() {
  list_.Select();
  ApplyCommands();
}

void TfrmToDo::btnAddClick() {
  if (Forms().frmAddToDo) Forms().frmAddToDo->Show();
}

void TfrmToDo::btnRemoveClick() {
  if (const auto removed = list_.Remove(Focus()))
    SendMessageA(ListBox1_, LB_DELETESTRING, static_cast<WPARAM>(*removed), 0);
  ApplyCommands();
}

void TfrmToDo::MoveClick(ToDoMove move) {
  const ListFocus focus = Focus();
  if (const auto to = list_.Move(move, focus)) {
    const std::string& item = list_.Items()[static_cast<std::size_t>(*to)];
    SendMessageA(ListBox1_, LB_DELETESTRING, static_cast<WPARAM>(focus.index), 0);
    InsertListRow(ListBox1_, *to, item);
    // The moved item stays selected and focused where it went, in view.
    SendMessageA(ListBox1_, LB_SETSEL, TRUE, *to);
    SendMessageA(ListBox1_, LB_SETCARETINDEX, static_cast<WPARAM>(*to), FALSE);
  }
  ApplyCommands();
}

bool TfrmToDo::AddItem(const Date& date, const std::string& text) {
  const std::string dateText = FormatDateText(Svc().locale->Formats(), date);
  const auto added = list_.Add(dateText, text);
  if (added && ListBox1_) AddListRow(ListBox1_, list_.Items()[static_cast<std::size_t>(*added)]);
  ApplyCommands();
  return added.has_value();
}

void TfrmToDo::btnSaveClick() {
  const DataOutcome saved = list_.Save();
  if (saved.result == SaveResult::ChangedElsewhere) FillList();
  ApplyCommands();
  Say(saved);
}

void TfrmToDo::btnCancelClick() {
  list_.Reload();
  FillList();
  ApplyCommands();
}

void TfrmToDo::btnHideButtonsClick() {
  list_.SetButtonsShown(false);
  ApplyCommands();
  TRegIniFile(*Svc().registry, kToDoKey).WriteBool("Buttons", "Visible", false);
}

void TfrmToDo::ShowButtons1Click() {
  list_.SetButtonsShown(true);
  ApplyCommands();
  TRegIniFile(*Svc().registry, kToDoKey).WriteBool("Buttons", "Visible", true);
}

void TfrmToDo::ContextMenu(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: at the list's corner
    RECT r = WindowRectOf(ListBox1_);
    x = r.left + 8;
    y = r.top + 8;
  }
  TrackPopupMenu(pmnuToDo_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
}

// ---------------------------------------------------------------------------
// Messages

void TfrmToDo::OnCommand(int id, int code) {
  if (id == kListBox1) {
    if (code == LBN_SELCHANGE) ListBox1Click();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kBtnAdd: btnAddClick(); break;
    case kBtnRemove: btnRemoveClick(); break;
    case kBtnUp: btnUpClick(); break;
    case kBtnDown: btnDownClick(); break;
    case kBtnMoveTop: btnMoveTopClick(); break;
    case kBtnMoveBottom: btnMoveBottomClick(); break;
    case kBtnSave: btnSaveClick(); break;
    case kBtnCancel: btnCancelClick(); break;
    case kBtnHideButtons: btnHideButtonsClick(); break;
    case kShowButtons1: ShowButtons1Click(); break;
    case kBtnClose: btnCloseClick(); break;
    default: break;
  }
}

LRESULT TfrmToDo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lp) == ListBox1_ && LOWORD(wp) == VK_DELETE) {
        btnRemoveClick();
        return -2;
      }
      return -1;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == ListBox1_) {
        ContextMenu(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == HeaderControl1_) {
        switch (hdr->code) {
          case HDN_BEGINTRACKA:
          case HDN_BEGINTRACKW:
          case HDN_ITEMCHANGINGA:
          case HDN_ITEMCHANGINGW:
            // The columns keep their widths, but for the window's rescaling.
            return !scalingColumns_;
          default:
            return 0;
        }
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) RefreshList();
      break;
    case WM_TIMER:
      if (wp != kLookTimer) break;
      KillTimer(Handle(), kLookTimer);
      if (Visible()) RefreshList();
      return 0;
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = {Px(kMinWidth), Px(kMinHeight)};
      info->ptMaxTrackSize = {Px(kMaxWidth), Px(kMaxHeight)};
      return 0;
    }
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

// ---------------------------------------------------------------------------
// Lifecycle

void TfrmToDo::FormShow() {
  shownThisRun_ = true;
  // An error ends the show steps where it happens; the window still appears.
  Guarded([&] {
    TRegIniFile ini(*Svc().registry, kToDoKey);
    const RECT r = WindowRectOf(Handle());
    const int top = ini.ReadInteger("Position", "Top", r.top);
    const int left = ini.ReadInteger("Position", "Left", r.left);
    const int height = std::clamp(ini.ReadInteger("Size", "Height", r.bottom - r.top),
                                  Px(kMinHeight), Px(kMaxHeight));
    const int width = std::clamp(ini.ReadInteger("Size", "Width", r.right - r.left),
                                 Px(kMinWidth), Px(kMaxWidth));
    const RECT placed = BringOntoMonitor(RECT{left, top, left + width, top + height});
    SetWindowPos(Handle(), nullptr, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void TfrmToDo::FormClose() {
  // A failed write ends the close here: the window stays, and an exit in
  // progress stops.
  if (const std::optional<DataOutcome> saved = list_.SaveForClose()) Say(*saved);
  else if (list_.Commands().save) ReportError(list_.NotReadMessage());
  // A window never shown in this run sits at its design bounds; storing them
  // would throw away where the user last had it.
  if (!shownThisRun_ || !Handle()) return;
  RECT r = WindowRectOf(Handle());
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if ((IsIconic(Handle()) || IsZoomed(Handle())) && GetWindowPlacement(Handle(), &wp))
    r = wp.rcNormalPosition;
  TRegIniFile ini(*Svc().registry, kToDoKey);
  ini.WriteInteger("Position", "Top", r.top);
  ini.WriteInteger("Position", "Left", r.left);
  ini.WriteInteger("Size", "Height", r.bottom - r.top);
  ini.WriteInteger("Size", "Width", r.right - r.left);
}

}  // namespace pendra
