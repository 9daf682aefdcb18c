#include "notes/editor_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "notes/text_document_win.h"
#include "platform/message_loop_win.h"
#include "platform/monitor_win.h"
#include "platform/on_demand_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

using E = TfrmEditor;

const FontSpec kDesignedFont{"MS Sans Serif", 10, 0, {}};
// Design values, in pixels at 96 DPI; the window scales them to its DPI.
constexpr int kDesignLeft = 289, kDesignTop = 252, kDesignWidth = 400, kDesignHeight = 250;
constexpr int kMinWidth = 400, kMinHeight = 250, kMaxWidth = 800, kMaxHeight = 500;

// Which commands each event of the text re-evaluates, and by which rule.
const CommandStateRow kRefresh[] = {
    {E::btnPaste, CommandRule::Clipboard, true, true},
    {E::MenuItemPaste, CommandRule::Clipboard, false, true},
    {E::Paste1, CommandRule::Clipboard, false, true},
    {E::btnCut, CommandRule::Selection, true, true},
    {E::btnCopy, CommandRule::Selection, true, true},
    {E::btnPrintSelText, CommandRule::Selection, true, true},
    {E::Cut1, CommandRule::Selection, false, true},
    {E::Copy1, CommandRule::Selection, false, true},
    {E::MenuItemcut, CommandRule::Selection, false, true},
    {E::MenuItemCopy, CommandRule::Selection, false, true},
    {E::DeleteSelText, CommandRule::Selection, false, true},
    {E::PrintSelectedText1, CommandRule::Selection, false, true},
    {E::PrintSelectedText2, CommandRule::Selection, false, true},
    {E::btnPrint, CommandRule::Text, true, true},
    {E::Print1, CommandRule::Text, true, true},
    {E::btnFind, CommandRule::Text, true, true},
    {E::SelectAll1, CommandRule::Text, true, true},
    {E::btnSave, CommandRule::Text, true, false},
    {E::Clear, CommandRule::Text, false, true},
    {E::MenuItemPrint, CommandRule::Text, false, true},
};

struct ToolButton {
  int id;  // 0: a separator
  int image;
  const char* hint;
  bool enabled;
};

const ToolButton kToolbar[] = {
    {E::btnNew, STD_FILENEW, "New File", true},
    {E::btnOpen, STD_FILEOPEN, "Open File", true},
    {E::btnSave, STD_FILESAVE, "Save", false},
    {0, 0, nullptr, false},
    {E::btnCut, STD_CUT, "Cut", true},
    {E::btnCopy, STD_COPY, "Copy", true},
    {E::btnPaste, STD_PASTE, "Paste", true},
    {0, 0, nullptr, false},
    {E::btnPrint, STD_PRINT, "Print", false},
    {E::btnPrintSelText, STD_PRINTPRE, "Print Selected Text", true},
    {E::btnFonts, STD_PROPERTIES, "Fonts", true},
    {0, 0, nullptr, false},
    {E::btnFind, STD_FIND, "Find", true},
    {E::btnQuick, STD_REPLACE, "Quick Notes", true},
    {E::btnExit, STD_DELETE, "Close", true},
    {0, 0, nullptr, false},
};

// The recent-files values stand in the editor's key itself.
}  // namespace

TfrmEditor::TfrmEditor()
    : text_(redtEditor_, {kEditorKey, FontCancel::StoreCurrentFont,
                          {std::begin(kRefresh), std::end(kRefresh)}, std::nullopt}) {
  text_.afterChange = [this] {
    // An emptied text leaves the flag as it was.
    if (redtEditor_.TextLength() > 0) modified_ = true;
  };
  redtEditor_.onKeyDown = [this](WPARAM key) { Shortcut(key); };
}

TfrmEditor::~TfrmEditor() {
  if (Handle()) DestroyWindow(Handle());  // with it the main menu
  if (PopupMenuNotes_) DestroyMenu(PopupMenuNotes_);
}

// ---- Window and controls ------------------------------------------------------

void TfrmEditor::BeforeShow() {
  if (Handle()) return;
  EnsureCommonControls();
  BuildMenus();
  CreateWnd("TfrmEditor", kEditorCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
            WS_EX_CONTROLPARENT, Px(kDesignLeft), Px(kDesignTop), Px(kDesignWidth), Px(kDesignHeight),
            ApplicationWindow(), MainMenu1_, CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  if (!Handle()) throw Error("Cannot create the editor window");
  BuildToolbar();
  RECT client{};
  GetClientRect(Handle(), &client);
  redtEditor_.Create(Handle(), kRedtEditor, client, kDesignedFont);
  text_.Commands().AddToolbar(tlbPendra_);
  text_.Commands().AddMenu(MainMenu1_);
  text_.Commands().AddMenu(PopupMenuNotes_);
  Layout();
}

void TfrmEditor::BuildMenus() {
  MainMenu1_ = CreateMenu();
  mnuFile_ = CreatePopupMenu();
  AppendRows(mnuFile_, {{New1, "&New", true},
                        {Open1, "&Open", true},
                        {Save1, "&Save", true},
                        {SaveAs1, "Save &As", true},
                        {0, nullptr, false},
                        {Print1, "&Print\tCtrl+P", false},
                        {PrintSelectedText2, "Print Selected &Text\tCtrl+S", false},
                        {0, nullptr, false},
                        {Close1, "&Close", true}});
  HMENU edit = CreatePopupMenu();
  AppendRows(edit, {{Cut1, "Cu&t\tCtrl+X", false},
                    {Copy1, "&Copy\tCtrl+C", false},
                    {0, nullptr, false},
                    {Paste1, "&Paste\tCtrl+V", false}});
  HMENU options = CreatePopupMenu();
  AppendRows(options, {{Fonts1, "&Fonts\tCtrl+F", true}});
  AppendMenuA(MainMenu1_, MF_POPUP, reinterpret_cast<UINT_PTR>(mnuFile_), "&File");
  AppendMenuA(MainMenu1_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  AppendMenuA(MainMenu1_, MF_POPUP, reinterpret_cast<UINT_PTR>(options), "&Options");

  PopupMenuNotes_ = CreatePopupMenu();
  AppendRows(PopupMenuNotes_, {{MenuItemcut, "Cu&t\tCtrl+X", false},
                               {MenuItemCopy, "&Copy", false},
                               {MenuItemPaste, "Paste", false},
                               {0, nullptr, false},
                               {Clear, "Clear &All", false},
                               {SelectAll1, "&Select All", false},
                               {DeleteSelText, "&Delete Selected Text", false},
                               {0, nullptr, false},
                               {MenuItem5, "&Fonts\tCtrl+F", true},
                               {QuickNotes1, "Quick Notes", true},
                               {0, nullptr, false},
                               {MenuItemPrint, "&Print\tCtrl+P", false},
                               {PrintSelectedText1, "Print &Selected Text", false},
                               {0, nullptr, false},
                               {MenuItemExit, "E&xit", true}});
}

void TfrmEditor::BuildToolbar() {
  tlbPendra_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                               0, 0, 0, 0, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTlbPendra)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tlbPendra_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The system's pictures come in 16 and 24 pixels: the large ones from 150 %.
  const bool large = Px(16) >= 24;
  SendMessageA(tlbPendra_, TB_SETBITMAPSIZE, 0, large ? MAKELPARAM(24, 24) : MAKELPARAM(16, 16));
  SendMessageA(tlbPendra_, TB_LOADIMAGES, large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
               reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  TBBUTTON buttons[std::size(kToolbar)]{};
  for (std::size_t i = 0; i < std::size(kToolbar); ++i) {
    const ToolButton& b = kToolbar[i];
    buttons[i].iBitmap = b.id ? b.image : 0;
    buttons[i].idCommand = b.id;
    buttons[i].fsState = static_cast<BYTE>(b.enabled ? TBSTATE_ENABLED : 0);
    buttons[i].fsStyle = static_cast<BYTE>(b.id ? BTNS_BUTTON : BTNS_SEP);
  }
  SendMessageA(tlbPendra_, TB_ADDBUTTONSA, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessageA(tlbPendra_, TB_AUTOSIZE, 0, 0);
}

void TfrmEditor::Layout() {
  if (!Handle() || !tlbPendra_) return;
  SendMessageA(tlbPendra_, TB_AUTOSIZE, 0, 0);
  RECT client{}, bar{};
  GetClientRect(Handle(), &client);
  GetWindowRect(tlbPendra_, &bar);
  client.top = std::min<LONG>(client.bottom, bar.bottom - bar.top);
  redtEditor_.SetBounds(client);
}

void TfrmEditor::SetCaption(const std::string& caption) {
  if (Handle()) SetText(Handle(), caption);
}

bool TfrmEditor::MenuItemEnabled(int id) const {
  return (GetMenuState(MainMenu1_, static_cast<UINT>(id), MF_BYCOMMAND) &
          (MF_GRAYED | MF_DISABLED)) == 0;
}

// ---- Messages -----------------------------------------------------------------

LRESULT TfrmEditor::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (text_.HandleMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case kShortcutKeyMessage:
      // The text answers its own keys.
      return reinterpret_cast<HWND>(lp) != redtEditor_.Handle() && Shortcut(wp);
    case WM_COMMAND:
      // Menu items and toolbar buttons; notifications of other controls pass.
      if (HIWORD(wp) == 0 && (lp == 0 || reinterpret_cast<HWND>(lp) == tlbPendra_)) {
        OnCommand(LOWORD(wp));
        return 0;
      }
      break;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wp) == mnuFile_) Guarded([&] { mnuFileClick(); });
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == redtEditor_.Handle()) {
        POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (lp == -1) {  // from the keyboard: at the control's corner
          at = {0, 0};
          ClientToScreen(redtEditor_.Handle(), &at);
        }
        popupMenu(Handle(), PopupMenuNotes_, at);
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* tip = reinterpret_cast<NMTTDISPINFOA*>(lp);
      if (tip->hdr.code == TTN_GETDISPINFOA) {
        for (const ToolButton& b : kToolbar)
          if (b.id != 0 && static_cast<UINT_PTR>(b.id) == tip->hdr.idFrom)
            tip->lpszText = const_cast<char*>(b.hint);
        return 0;
      }
      break;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      redtEditor_.SetFocus();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = {Px(kMinWidth), Px(kMinHeight)};
      info->ptMaxTrackSize = {Px(kMaxWidth), Px(kMaxHeight)};
      info->ptMaxSize = {Px(kMaxWidth), Px(kMaxHeight)};
      return 0;
    }
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TfrmEditor::OnCommand(int id) {
  Guarded([&] {
    switch (id) {
      case btnNew:
      case New1: btnNewClick(); break;
      case btnOpen:
      case Open1: btnOpenClick(); break;
      case btnSave:
      case Save1: btnSaveClick(); break;
      case SaveAs1: SaveAs1Click(); break;
      case btnCut:
      case Cut1:
      case MenuItemcut: text_.Run(TextCommand::Cut); break;
      case btnCopy:
      case Copy1:
      case MenuItemCopy: text_.Run(TextCommand::Copy); break;
      case btnPaste:
      case Paste1:
      case MenuItemPaste: text_.Run(TextCommand::Paste); break;
      case Clear: text_.Run(TextCommand::ClearAll); break;
      case SelectAll1: text_.Run(TextCommand::SelectAll); break;
      case DeleteSelText: text_.Run(TextCommand::DeleteSelectedText); break;
      case btnPrint:
      case Print1:
      case MenuItemPrint: text_.Run(TextCommand::Print); break;
      case btnPrintSelText:
      case PrintSelectedText1:
      case PrintSelectedText2: redtEditor_.PrintSelectedText(); break;
      case btnFonts:
      case Fonts1:
      case MenuItem5: text_.Run(TextCommand::Fonts); break;
      case btnFind: text_.Run(TextCommand::Find); break;
      case btnQuick:
      case QuickNotes1: btnQuickClick(); break;
      case btnExit:
      case Close1:
      case MenuItemExit: Close(); break;
      default:
        if (id >= MRU1 && id <= MRU5) MRUClick(id - MRU1);
        break;
    }
  });
}

// The main menu's shortcuts that the control has no key of its own for,
// wherever in the window the keyboard is; an item that is disabled does not
// run.
bool TfrmEditor::Shortcut(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
  int command = 0;
  switch (key) {
    case 'P': command = MenuItemEnabled(Print1) ? Print1 : 0; break;
    case 'S': command = MenuItemEnabled(PrintSelectedText2) ? PrintSelectedText2 : 0; break;
    case 'F': command = Fonts1; break;
    default: break;
  }
  if (command) OnCommand(command);
  return command != 0;
}

// ---- Show and close -------------------------------------------------------------

void TfrmEditor::FormShow() {
  // Each step's error is shown and ends that step only; the window appears.
  Guarded([&] { RestoreBounds(); });
  text_.FontRestore();
  Guarded([&] { ReadRecentFiles(); });
}

void TfrmEditor::RestoreBounds() {
  const TRegIniFile ini(*Svc().registry, kEditorKey);
  const RECT r = WindowRectOf(Handle());
  const int top = ini.ReadInteger("Position", "Top", r.top);
  const int left = ini.ReadInteger("Position", "Left", r.left);
  const int width = ini.ReadInteger("Size", "Width", r.right - r.left);
  const int height = ini.ReadInteger("Size", "Height", r.bottom - r.top);
  const RECT placed = BringOntoMonitor(RECT{left, top, left + width, top + height});
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmEditor::StoreBounds() {
  // A minimised or maximised window stores the place it comes back to.
  RECT r = WindowRectOf(Handle());
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if ((IsIconic(Handle()) || IsZoomed(Handle())) && GetWindowPlacement(Handle(), &placement))
    r = placement.rcNormalPosition;
  TRegIniFile ini(*Svc().registry, kEditorKey);
  ini.WriteInteger("Position", "Top", r.top);
  ini.WriteInteger("Position", "Left", r.left);
  ini.WriteInteger("Size", "Width", r.right - r.left);
  ini.WriteInteger("Size", "Height", r.bottom - r.top);
}

bool TfrmEditor::FormCloseQuery() {
  if (!Visible() || !modified_) return true;
  return AskSaveChanges();
}

bool TfrmEditor::EditorAllowsClose() {
  if (!Visible() || !modified_) return true;
  // A save that fails keeps the program running, with its message shown.
  bool allowed = false;
  if (!Guarded([&] { allowed = AskSaveChanges(); })) return false;
  if (allowed) modified_ = false;
  return allowed;
}

void TfrmEditor::FormClose() {
  if (!Visible()) return;
  StoreBounds();
  WriteRecentFiles();
  recent_ = {};
  recentState_ = RecentState::NotRead;
}

void TfrmEditor::SaveForSessionEnd() {
  // The window stays as it is, recent files included, should the session go on.
  if (!Visible()) return;
  StoreBounds();
  WriteRecentFiles();
}

// ---- File commands --------------------------------------------------------------

bool TfrmEditor::AskSaveChanges() {
  // The editor's paths are in the code page; the boxes take UTF-8.
  switch (Svc().dialogs->AskYesNoCancel(Handle(), SaveChangesQuestion(Utf8FromCodePage(doc_.FileName())))) {
    case YesNoCancel::Yes: return Save();
    case YesNoCancel::No: return true;
    case YesNoCancel::Cancel: break;
  }
  return false;
}

bool TfrmEditor::MayWrite(const std::string& path) {
  std::string words;
  switch (doc_.MayWrite(path, words)) {
    case EditorDocument::WriteCheck::Free: return true;
    case EditorDocument::WriteCheck::Refused:
      Svc().dialogs->ShowMessage(words, "Warning", MsgIcon::Warning);
      return false;
    case EditorDocument::WriteCheck::Ask: return Svc().dialogs->Confirm(words);
  }
  return false;
}

bool TfrmEditor::Save() {
  if (doc_.NeedsNewName()) return SaveAs();
  if (!MayWrite(doc_.FileName())) return false;
  doc_.SaveTo(doc_.FileName());
  modified_ = false;
  return true;
}

bool TfrmEditor::SaveAs() {
  FileDialogRequest request;
  request.filter = kEditorFilter;
  request.initialFile = doc_.FileName();
  request.defaultExt = kEditorDefaultExt;
  request.owner = Handle();
  std::string path;
  if (!Svc().dialogs->SaveFile(request, path)) return false;
  if (!MayWrite(path)) return false;
  doc_.SaveTo(path);
  modified_ = false;
  SetCaption(TitledCaption(path));
  ChangeRecentFiles(WithRecentFile(recent_, path));
  return true;
}

void TfrmEditor::btnSaveClick() {
  if (!Visible()) return;
  if (modified_) Save();
}

void TfrmEditor::btnNewClick() {
  if (modified_ && !AskSaveChanges()) return;
  doc_.Clear();
  modified_ = false;
  SetCaption(kUntitledCaption);
}

void TfrmEditor::btnOpenClick() {
  FileDialogRequest request;
  request.filter = kEditorFilter;
  request.owner = Handle();
  request.allowMultiSelect = true;
  request.fileMustExist = true;
  if (modified_ && !AskSaveChanges()) return;
  std::string path;
  if (!Svc().dialogs->OpenFile(request, path)) return;
  OpenPath(path, WithRecentFile(recent_, path));
}

void TfrmEditor::MRUClick(int slot) {
  if (slot < 0 || slot >= kRecentSlots) return;
  // Unsaved changes are not dropped without the question, as for Open.
  if (modified_ && !AskSaveChanges()) return;
  const std::string path = recent_[static_cast<std::size_t>(slot)];
  OpenPath(path, WithSlotFirst(recent_, slot));
}

void TfrmEditor::OpenPath(const std::string& path, const RecentFiles& recentAfter) {
  // A file that cannot be read stops here, with everything as it was.
  const std::optional<std::string> warning = doc_.Opened(path, LoadText(path));
  recent_ = recentAfter;
  SetCaption(TitledCaption(path));
  modified_ = false;
  if (warning) Svc().dialogs->ShowMessage(*warning, "Warning", MsgIcon::Warning);
  WriteRecentFiles();
}

TextLoad TfrmEditor::LoadText(const std::string& path) { return LoadTextFile(redtEditor_, path); }

void TfrmEditor::btnQuickClick() {
  if (Forms().frmQuickie) Forms().frmQuickie->Show();
}

}  // namespace pendra
