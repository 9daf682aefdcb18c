#include "notes/tab_list_dialog_win.h"

#include "notes/notebook_window_win.h"
#include "notes/tab_captions.h"
#include "settings/code_page.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/services.h"
#include "platform/wide_controls_win.h"
#include "settings/errors.h"

namespace pendra {
namespace {

// Design values, in pixels at 96 DPI; the dialog scales them to its DPI.
constexpr int kClientWidth = 346;
constexpr int kClientHeight = 161;
constexpr int kMaxTabName = 255;

}  // namespace

TfrmAddTabs::TfrmAddTabs(TfrmPendra& notebook)
    : notebook_(notebook), tabList_(Svc().data->File(kTabListFileName)) {}

TfrmAddTabs::~TfrmAddTabs() {
  if (Handle()) DestroyWindow(Handle());
  if (font_) DeleteObject(font_);
}

void TfrmAddTabs::DpiChanged(UINT) {
  HFONT old = font_;
  font_ = CreateGuiFont(Dpi());
  ReplaceFont(Handle(), old, font_);
  if (old) DeleteObject(old);
}

void TfrmAddTabs::BeforeShow() {
  if (Handle()) return;
  // A fixed tool window with only a close box, in the middle of the screen.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectForDpi(&frame, style, false, exStyle, Dpi());
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  CreateWnd("TfrmAddTabs", "Edit Tabs", style, exStyle, work.left + (work.right - work.left - width) / 2,
            work.top + (work.bottom - work.top - height) / 2, width, height, ApplicationWindow(),
            nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  if (!Handle()) throw Error("Cannot create the tab list dialog");

  font_ = CreateGuiFont(Dpi());
  auto add = [&](const char* cls, const char* text, DWORD controlStyle, DWORD controlExStyle, int id,
                 int x, int y, int w, int h) {
    HWND control = CreateWindowExA(controlExStyle, cls, text, WS_CHILD | WS_VISIBLE | controlStyle,
                                   Px(x), Px(y), Px(w), Px(h), Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  };
  // Wide: the tab names show whole, in any script.
  CreateWideControl(L"LISTBOX", WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                    WS_EX_CLIENTEDGE, Px(8), Px(8), Px(233), Px(kClientHeight - 16), Handle(), ListBox1, font_);
  struct ButtonDef {
    Id id;
    const char* caption;
  };
  const ButtonDef buttons[] = {{btnAdd, "Add Tab"},   {btnRemove, "Remove Tab"}, {btnUp, "Move Up"},
                               {btnDown, "Move Down"}, {btnCancel, "Cancel"},     {btnOK, "OK"}};
  int y = 7;
  for (const ButtonDef& b : buttons) {
    add("BUTTON", b.caption, BS_PUSHBUTTON | WS_TABSTOP | (b.id == btnAdd ? WS_GROUP : 0), 0, b.id, 250, y,
        88, 22);
    y += 25;
  }
}

Lines TfrmAddTabs::WorkingList() const {
  Lines lines;
  HWND list = Item(ListBox1);
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) lines.push_back(ListRow(list, i));
  return lines;
}

int TfrmAddTabs::Selected() const { return static_cast<int>(SendMessageA(Item(ListBox1), LB_GETCURSEL, 0, 0)); }

void TfrmAddTabs::EnableEntryButtons(bool enabled) {
  for (Id id : {btnRemove, btnUp, btnDown}) EnableWindow(Item(id), enabled);
}

void TfrmAddTabs::FormShow() {
  // A tab list that cannot be read ends the show here, so OK can never
  // write over it.
  const Lines tabs = tabList_.ReadLines();
  HWND list = Item(ListBox1);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& tab : tabs) AddListRow(list, tab);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EnableEntryButtons(false);
}

void TfrmAddTabs::ListBox1Click() { EnableEntryButtons(true); }

void TfrmAddTabs::btnAddClick() {
  const std::string caption =
      Svc().dialogs->InputBox(Handle(), "Add New Tab", "New Tab Name", "", kMaxTabName);
  if (caption.empty()) return;
  // The caption names the page's file, in any script: one that cannot is
  // refused. The caption and the folder are UTF-8, as the data folder takes
  // its paths.
  const std::string& folder = Svc().data->Folder();
  const CodePage& utf8 = Utf8CodePage();
  if (const CaptionFault fault = CheckTabCaption(folder, caption, utf8); fault != CaptionFault::None) {
    Svc().dialogs->ShowMessage("The tab \"" + QuotedCaption(caption, utf8) + "\" cannot be added. " +
                                   CaptionFaultReason(fault, folder, utf8),
                               kAppTitle, MsgIcon::Warning);
    return;
  }
  AddListRow(Item(ListBox1), caption);
}

void TfrmAddTabs::btnRemoveClick() {
  // The first tab always stays, so the list never becomes empty here.
  const int selected = Selected();
  if (selected > 0) SendMessageA(Item(ListBox1), LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  EnableEntryButtons(false);
}

void TfrmAddTabs::MoveSelected(int by) {
  HWND list = Item(ListBox1);
  const int selected = Selected();
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  const int target = selected + by;
  if (selected < 0 || target < 0 || target >= count) return;
  const std::string text = ListRow(list, selected);
  SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  InsertListRow(list, target, text);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EnableEntryButtons(false);
}

void TfrmAddTabs::btnUpClick() { MoveSelected(-1); }
void TfrmAddTabs::btnDownClick() { MoveSelected(1); }

void TfrmAddTabs::btnOKClick() {
  Say(tabList_.WriteLines(WorkingList()));
  Close();
}

void TfrmAddTabs::FormClose() {
  if (Visible()) notebook_.TabListDialogClosed();
}

LRESULT TfrmAddTabs::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    switch (LOWORD(wp)) {
      case ListBox1:
        if (HIWORD(wp) == LBN_SELCHANGE) ListBox1Click();
        return 0;
      case btnAdd: btnAddClick(); return 0;
      case btnRemove: btnRemoveClick(); return 0;
      case btnUp: btnUpClick(); return 0;
      case btnDown: btnDownClick(); return 0;
      case btnOK: btnOKClick(); return 0;
      case btnCancel: btnCancelClick(); return 0;
      default: break;
    }
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
