#include "notes/quick_notes_win.h"

#include <iterator>

#include "platform/application_win.h"
#include "platform/monitor_win.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

using Q = TfrmQuickie;

const FontSpec kDesignedFont{"MS Sans Serif", 10, 0, {}};
constexpr int kAqua = 0x00FFFF00;  // 0x00BBGGRR
// Design values, in pixels at 96 DPI; the window scales them to its DPI.
constexpr int kDesignLeft = 330, kDesignTop = 245, kDesignWidth = 359, kDesignHeight = 185;
constexpr int kMinWidth = 300, kMinHeight = 175;

const CommandStateRow kRefresh[] = {
    {Q::Paste1, CommandRule::Clipboard, true, true},
    {Q::Cut1, CommandRule::Selection, true, true},
    {Q::Copy1, CommandRule::Selection, true, true},
    {Q::Delete1, CommandRule::Selection, true, true},
    {Q::PrintSelectedText1, CommandRule::Selection, true, true},
    {Q::Clear, CommandRule::Text, true, true},
    {Q::Print1, CommandRule::Text, true, true},
    {Q::SaveAsTextFile1, CommandRule::Text, true, true},
    {Q::SelectAll1, CommandRule::Text, true, true},
};

// True only when the file is truly not there, as opposed to there but
// unreadable (locked, a folder, no access).
bool NoteFileMissing(const std::string& path) {
  if (GetFileAttributesW(Widen(CP_UTF8, path).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The window's settings fail silently: a value of the wrong type reads as its
// default, and a value that cannot be written is passed over.
int ReadQuietly(const TRegIniFile& ini, const char* section, const char* ident, int def) {
  try {
    return ini.ReadInteger(section, ident, def);
  } catch (const Error&) {
    return def;
  }
}

void WriteQuietly(TRegIniFile& ini, const char* section, const char* ident, int value) {
  try {
    ini.WriteInteger(section, ident, value);
  } catch (const Error&) {
  }
}

}  // namespace

TfrmQuickie::TfrmQuickie()
    : text_(RichEditQuick_, {kQuicknotesKey, FontCancel::StoreNothing,
                             {std::begin(kRefresh), std::end(kRefresh)}, kAqua}),
      noteFile_(Svc().data->File(kQuickNoteFile)) {
  RichEditQuick_.onKeyDown = [this](WPARAM key) { RichEditQuickKeyDown(key); };
  RichEditQuick_.onMouseDown = [this](MouseButton button, int x, int y) {
    RichEditQuickMouseDown(button, x, y);
  };
  PopupMenu1_ = CreatePopupMenu();
  AppendRows(PopupMenu1_, {{Cut1, "Cu&t\tCtrl+X", false},
                           {Copy1, "&Copy\tCtrl+C", false},
                           {Paste1, "&Paste\tCtrl+V", false},
                           {0, nullptr, false},
                           {SelectAll1, "&Select All\tCtrl+S", false},
                           {Clear, "Clear &All\tCtrl+Alt+A", false},
                           {Delete1, "&Delete Selected Text\tCtrl+D", false},
                           {0, nullptr, false},
                           {Fonts1, "&Fonts\tCtrl+F", true},
                           {SaveAsTextFile1, "Save As &Text File\tCtrl+T", false},
                           {0, nullptr, false},
                           {Print1, "&Print\tCtrl+P", false},
                           {PrintSelectedText1, "Print Selected Text\tCtrl+A", false},
                           {0, nullptr, false},
                           {Exit1, "&Exit\tCtrl+E", true}});
  text_.Commands().AddMenu(PopupMenu1_);
  // Created at program start, outside any handler: an error is shown and the
  // program goes on.
  Guarded([&] { FormCreate(); });
}

TfrmQuickie::~TfrmQuickie() {
  if (Handle()) DestroyWindow(Handle());
  if (PopupMenu1_) DestroyMenu(PopupMenu1_);
}

std::string TfrmQuickie::NotePath() const { return noteFile_.Path(); }

void TfrmQuickie::FormCreate() {
  text_.FontRestore();
  const std::string path = NotePath();
  if (NoteFileMissing(path)) {
    noteRead_ = true;
    // The empty note, where it can be made: in a folder found read-only at
    // start its save would only fail, and nothing would be kept by it.
    if (Svc().programFolderReadOnly) note_.Attach(noteFile_);
    else Say(note_.Create(noteFile_));
    return;
  }
  // A note that is there but cannot be read is reported when the window is
  // shown, where the user would miss it.
  try {
    ReadNote();
  } catch (const Error&) {
  }
}

void TfrmQuickie::ReadNote() {
  readOnlyBecause_ = note_.Load(noteFile_).readOnlyBecause;
  noteRead_ = true;
}

void TfrmQuickie::BeforeShow() {
  if (!Handle()) {
    CreateWnd("TfrmQuickie", "Quick Notes", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
              WS_EX_TOOLWINDOW | WS_EX_TOPMOST, Px(kDesignLeft), Px(kDesignTop), Px(kDesignWidth),
              Px(kDesignHeight), ApplicationWindow());
    if (!Handle()) throw Error("Cannot create the quick notes window");
    RECT client{};
    GetClientRect(Handle(), &client);
    RichEditQuick_.Create(Handle(), kRichEditQuick, client, kDesignedFont);
  }
  // A note that could not be read at start is tried again while the user has
  // typed nothing into it.
  if (!noteRead_ && RichEditQuick_.TextLength() == 0) {
    Guarded([&] {
      if (NoteFileMissing(NotePath())) {
        noteRead_ = true;
      } else {
        ReadNote();
      }
    });
  }
}

void TfrmQuickie::FormShow() {
  ShowWindow(ApplicationWindow(), SW_HIDE);
  const TRegIniFile ini(*Svc().registry, kQuicknotesKey);
  const RECT r = WindowRectOf(Handle());
  const int top = ReadQuietly(ini, "Position", "Top", r.top);
  const int left = ReadQuietly(ini, "Position", "Left", r.left);
  const int height = ReadQuietly(ini, "Size", "Height", r.bottom - r.top);
  const int width = ReadQuietly(ini, "Size", "Width", r.right - r.left);
  const RECT placed = BringOntoMonitor(RECT{left, top, left + width, top + height});
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  // Read at start, where the user would miss it: told at the first show.
  if (!readOnlyBecause_.empty()) {
    Svc().dialogs->ShowMessage("The note is shown read-only: " + std::string(readOnlyBecause_) + ". " +
                                   NotePath() +
                                   " is left as it is; to edit the note, save it with another program as "
                                   "UTF-8 or UTF-16.",
                               kAppTitle, MsgIcon::Warning);
    readOnlyBecause_ = {};
  }
}

void TfrmQuickie::FormClose() {
  const std::string path = NotePath();
  if (noteRead_) {
    // A note the user did not change is left as its file holds it, and so
    // is one shown read-only.
    if (RichEditQuick_.Modified() && !RichEditQuick_.ReadOnly()) Say(note_.Store());
  } else if (RichEditQuick_.TextLength() > 0 || NoteFileMissing(path)) {
    // The stored note was never read: it is not replaced by what was typed
    // in its place, unless the file has gone meanwhile.
    if (!NoteFileMissing(path))
      throw Error("The note is not saved, because " + path +
                  " could not be read and would be replaced");
    Say(note_.Create(noteFile_));
    noteRead_ = true;
  }
  if (!Visible()) return;
  RECT r = WindowRectOf(Handle());
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsIconic(Handle()) && GetWindowPlacement(Handle(), &placement))
    r = placement.rcNormalPosition;
  TRegIniFile ini(*Svc().registry, kQuicknotesKey);
  WriteQuietly(ini, "Position", "Top", r.top);
  WriteQuietly(ini, "Position", "Left", r.left);
  WriteQuietly(ini, "Size", "Height", r.bottom - r.top);
  WriteQuietly(ini, "Size", "Width", r.right - r.left);
}

void TfrmQuickie::Layout() {
  RECT client{};
  GetClientRect(Handle(), &client);
  RichEditQuick_.SetBounds(client);
}

LRESULT TfrmQuickie::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (text_.HandleMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) {
        OnCommand(LOWORD(wp));
        return 0;
      }
      break;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      RichEditQuick_.SetFocus();
      return 0;
    case WM_ACTIVATE: {
      const LRESULT answer = Form::HandleMessage(msg, wp, lp);
      if (LOWORD(wp) != WA_INACTIVE && noteRead_) note_.Refresh();
      return answer;
    }
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {Px(kMinWidth), Px(kMinHeight)};
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TfrmQuickie::OnCommand(int id) {
  switch (id) {
    case Cut1: text_.Run(TextCommand::Cut); break;
    case Copy1: text_.Run(TextCommand::Copy); break;
    case Paste1: text_.Run(TextCommand::Paste); break;
    case SelectAll1: text_.Run(TextCommand::SelectAll); break;
    case Clear: text_.Run(TextCommand::ClearAll); break;
    case Delete1: text_.Run(TextCommand::DeleteSelectedText); break;
    case Fonts1: text_.Run(TextCommand::Fonts); break;
    case SaveAsTextFile1: text_.Run(TextCommand::SaveAsTextFile); break;
    case Print1: text_.Run(TextCommand::PrintLines); break;
    case PrintSelectedText1: text_.Run(TextCommand::PrintSelectedText); break;
    case Exit1: Guarded([&] { Close(); }); break;
    default: break;
  }
}

// F10 opens the menu at a fixed place on the screen; the key goes on to the
// note all the same.
void TfrmQuickie::RichEditQuickKeyDown(WPARAM key) {
  if (key == VK_F10) popupMenu(Handle(), PopupMenu1_, kF10MenuAt);
}

void TfrmQuickie::RichEditQuickMouseDown(MouseButton button, int x, int y) {
  if (button != MouseButton::Right) return;
  POINT at{x, y};
  ClientToScreen(RichEditQuick_.Handle(), &at);
  popupMenu(Handle(), PopupMenu1_, at);
}

}  // namespace pendra
