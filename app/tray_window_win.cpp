#include "app/tray_window_win.h"

#include "platform/on_demand_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <utility>
#include <vector>

#include "app/end_request.h"
#include "app/program_place.h"
#include "app/program_place_win.h"
#include "platform/application_win.h"
#include "platform/help.h"
#include "platform/monitor_win.h"
#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/list_file.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

constexpr int kLauncherSize = 32;
// Where the launcher sits until the user moves it.
constexpr int kDesignLeft = 343;
constexpr int kDesignTop = 252;

constexpr const char* kTrayTip = "Pendra: Right Click for Menu";
constexpr const char* kLauncherHint = "Pendra: Right click for Menu";
constexpr const char* kRunValueName = "Pendra";
// Where Task Manager and Settings keep a start-up program turned off: a value
// of the Run value's name whose first byte is odd (3) while it is off.
constexpr const char* kStartupApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Settings of the tray key. The first ident has always been read with a
// capital T and written without; value names match regardless of case.
constexpr const char* kSectionTrayIcon = "TrayIcon";
constexpr const char* kIdentNotShowRead = "NotShowOnDeskTop";
constexpr const char* kIdentNotShowWrite = "NotShowOnDesktop";
constexpr const char* kIdentTrayShow = "TrayShow";
constexpr const char* kSectionStart = "Start";
constexpr const char* kIdentStartWithWindows = "StartWithWindows";
constexpr const char* kSectionPosition = "Position";
constexpr const char* kIdentTop = "Top";
constexpr const char* kIdentLeft = "Left";

void ShowForm(Form* form) {
  if (form) form->Show();
}

// The program icon's picture of the given size (the icon holds several, so
// each place gets a sharp one); the system's application icon without it.
// Both are shared: loaded once, they live as long as the program.
HICON LoadProgramIcon(int size) {
  HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                             size, size, LR_DEFAULTCOLOR | LR_SHARED));
  if (!icon)
    icon = static_cast<HICON>(LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
  return icon;
}

}  // namespace

TrayPlatform& TrayApi() {
  static TrayPlatform api;
  return api;
}

TfrmTray::TfrmTray() {
  // The notification area shows small icons at the system DPI.
  imgPendra_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
  BuildMenu();
  CreateWnd("TfrmTray", "frmTray", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, Px(kDesignLeft),
            Px(kDesignTop), Px(kLauncherSize), Px(kLauncherSize), ApplicationWindow(), nullptr,
            CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1));
  imgStart_ = LoadProgramIcon(Px(kLauncherSize));
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  // An error here is shown and ends the creation steps, as for any window.
  Guarded([&] { FormCreate(); });
}

TfrmTray::~TfrmTray() {
  if (Handle()) DestroyWindow(Handle());  // which removes the tray icon
  if (pmnSysTrayEx_) DestroyMenu(pmnSysTrayEx_);
}

void TfrmTray::BuildMenu() {
  pmnSysTrayEx_ = CreatePopupMenu();
  auto item = [&](int id, const char* caption) {
    AppendMenuA(pmnSysTrayEx_, MF_STRING, static_cast<UINT_PTR>(id), caption);
  };
  auto separator = [&] { AppendMenuA(pmnSysTrayEx_, MF_SEPARATOR, 0, nullptr); };
  item(kMnuPendra, "Pendra");
  item(kEditor1, "Editor");
  item(kQuickNotes1, "Quick Notes");
  separator();  // N4
  item(kReminders1, "Reminder");
  item(kToDo, "To Do List");
  separator();  // N1
  item(kHide1, kCaptionHideLauncher);
  item(kDoNotShowInTray1, kCaptionHideIcon);
  item(kWindows1, kCaptionStartWithWindows);
  separator();  // N2
  item(kHelp1, "Help");
  item(kAboutPendra1, "About Pendra");
  separator();  // N3
  item(kMnuClose, "Exit Pendra");
  SetMenuDefaultItem(pmnSysTrayEx_, kMnuPendra, FALSE);
}

void TfrmTray::CreateHintWindow() {
  EnsureCommonControls();
  hint_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                          nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!hint_) return;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;  // accepted by every common-controls version
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = const_cast<char*>(hintText_.c_str());
  SendMessageA(hint_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(hint_, TTM_ACTIVATE, TRUE, 0);
}

void TfrmTray::FormCreate() {
  SetWindowPos(Handle(), nullptr, 0, 0, Px(kLauncherSize), Px(kLauncherSize),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  trayIcon_ = NOTIFYICONDATAA{};
  trayIcon_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  trayIcon_.hWnd = Handle();
  trayIcon_.uID = 0;
  trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIcon_.uCallbackMessage = kTrayCallback;
  trayIcon_.hIcon = imgPendra_;
  AddTrayIconInBackground();

  settings_ = std::make_unique<TRegIniFile>(*Svc().registry, kTrayKey);
  SetCaption(kWindows1, kCaptionStartWithWindows);

  // A stored switch of the wrong type is reported and reads as its default;
  // the creation goes on, so both faces and the rest of the start stay sound.
  auto stored = [this](const char* section, const char* ident, bool def) {
    bool value = def;
    Guarded([&] { value = settings_->ReadBool(section, ident, def); });
    return value;
  };
  // The launcher appears at start without taking the keyboard from the
  // program the user is working in (at logon, say); a click activates it.
  if (!stored(kSectionTrayIcon, kIdentNotShowRead, false)) {
    ShowInactive();
    SetCaption(kHide1, kCaptionHideLauncher);
  } else {
    SetCaption(kHide1, kCaptionShowLauncher);
  }

  if (stored(kSectionTrayIcon, kIdentTrayShow, true)) {
    SetCaption(kDoNotShowInTray1, kCaptionHideIcon);
  } else {
    // Without the icon the launcher is the only way in, whatever else is stored.
    SetCaption(kDoNotShowInTray1, kCaptionShowIcon);
    SetCaption(kHide1, kCaptionHideLauncher);
    ShowInactive();
    RemoveTrayIcon();
  }

  // The caption says what Windows will do at the next logon, whatever the
  // stored switch says.
  const bool chosen = stored(kSectionStart, kIdentStartWithWindows, false);
  bool starts = false;
  Guarded([&] { starts = StartsWithWindows(chosen); });
  SetCaption(kWindows1, starts ? kCaptionNoStartWithWindows : kCaptionStartWithWindows);

  TRegIniFile(*Svc().registry, kPendraKey)
      .WriteString("Current Version", "PathName", Svc().programFolder + "Pendra.exe");
}

std::string TfrmTray::MenuCaption(int id) const {
  char text[256] = {};
  GetMenuStringA(pmnSysTrayEx_, static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
  return text;
}

void TfrmTray::SetCaption(int id, const char* caption) {
  ModifyMenuA(pmnSysTrayEx_, static_cast<UINT>(id), MF_BYCOMMAND | MF_STRING,
              static_cast<UINT_PTR>(id), caption);
}

bool TfrmTray::IconShown() const { return MenuCaption(kDoNotShowInTray1) == kCaptionHideIcon; }

std::string TfrmTray::Hint() const {
  if (!hint_) return hintText_;
  char text[128] = {};
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(Handle());
  tool.lpszText = text;
  SendMessageA(hint_, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

namespace {

// The record is the first version's: its tip field holds 64 bytes.
void SetTip(NOTIFYICONDATAA& data) {
  constexpr size_t kTipField = 64;
  std::memset(data.szTip, 0, sizeof data.szTip);
  std::strncpy(data.szTip, kTrayTip, kTipField - 1);
}

// At logon the shell may not be ready: the add fails, or times out after the
// shell took it (a modify then succeeds).
bool OfferIcon(NOTIFYICONDATAA* data) {
  return TrayApi().notifyIcon(NIM_ADD, data) || TrayApi().notifyIcon(NIM_MODIFY, data);
}

DWORD WINAPI AddIconThread(LPVOID param) {
  auto* data = static_cast<NOTIFYICONDATAA*>(param);
  const bool taken = OfferIcon(data);
  PostMessageA(data->hWnd, kIconAddedMessage, 0, 0);
  return taken ? 1 : 0;
}

}  // namespace

void TfrmTray::AddTrayIcon() {
  WaitForIconAdd();
  SetTip(trayIcon_);
  IconAddAnswered(OfferIcon(&trayIcon_));
}

void TfrmTray::AddTrayIconInBackground() {
  WaitForIconAdd();
  SetTip(trayIcon_);
  iconAdderData_ = trayIcon_;
  iconAdder_ = CreateThread(nullptr, 0, AddIconThread, &iconAdderData_, 0, nullptr);
  // Without a thread the add is made here.
  if (!iconAdder_) IconAddAnswered(OfferIcon(&trayIcon_));
}

void TfrmTray::WaitForIconAdd() {
  if (!iconAdder_) return;
  // The shell may send this thread a message while it takes the icon: those
  // are answered while waiting, and nothing else is run.
  while (MsgWaitForMultipleObjects(1, &iconAdder_, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  DWORD taken = 0;
  GetExitCodeThread(iconAdder_, &taken);
  CloseHandle(iconAdder_);
  iconAdder_ = nullptr;
  IconAddAnswered(taken != 0);
}

void TfrmTray::IconAddAnswered(bool taken) {
  // Until the shell takes it, it is tried again, since without the icon the
  // program may have no way in; an icon turned off meanwhile is not.
  if (taken || !IconShown())
    KillTimer(Handle(), kIconRetryTimer);
  else
    SetTimer(Handle(), kIconRetryTimer, kIconRetryMs, nullptr);
}

void TfrmTray::RemoveTrayIcon() {
  WaitForIconAdd();
  KillTimer(Handle(), kIconRetryTimer);
  TrayApi().notifyIcon(NIM_DELETE, &trayIcon_);
}

namespace {

BOOL CALLBACK FindModalBox(HWND hwnd, LPARAM lp) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// While a modal box is open the program's windows are disabled; the icon then
// does what a click on a disabled window does, and turns the user to the box.
void TfrmTray::BringModalBoxForward() {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindModalBox, reinterpret_cast<LPARAM>(&box));
  if (box) SetForegroundWindow(box);
}

void TfrmTray::PopupMenuAt(POINT screenPoint) {
  if (TrayApi().popupMenu) {
    TrayApi().popupMenu(Handle(), pmnSysTrayEx_, screenPoint);
    return;
  }
  // Without the foreground the menu would not close when the user clicks
  // elsewhere; the posted message lets a second opening work at once.
  SetForegroundWindow(Handle());
  TrackPopupMenu(pmnSysTrayEx_, TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, Handle(),
                 nullptr);
  PostMessageA(Handle(), WM_NULL, 0, 0);
}

void TfrmTray::FormShow() {
  // Showing an owned window can bring the application window's taskbar button back.
  ShowWindow(ApplicationWindow(), SW_HIDE);

  // A stored place that cannot be read is reported; the launcher still shows,
  // where it is, and the start that showed it goes on.
  Guarded([&] {
    RECT current = WindowRectOf(Handle());
    const LONG width = current.right - current.left;
    const LONG height = current.bottom - current.top;
    const int top = settings_ ? settings_->ReadInteger(kSectionPosition, kIdentTop, current.top)
                              : current.top;
    const int left = settings_ ? settings_->ReadInteger(kSectionPosition, kIdentLeft, current.left)
                               : current.left;
    RECT target = BringOntoMonitor(RECT{left, top, left + width, top + height});
    SetWindowPos(Handle(), nullptr, target.left, target.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });

  hintText_ = kLauncherHint;
  if (hint_) {
    SendMessageA(hint_, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Handle());
    tool.lpszText = const_cast<char*>(kLauncherHint);
    SendMessageA(hint_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  launcherShown_ = true;
}

void TfrmTray::FormHide() {
  if (!settings_) return;
  RECT r = WindowRectOf(Handle());
  settings_->WriteInteger(kSectionPosition, kIdentTop, r.top);
  settings_->WriteInteger(kSectionPosition, kIdentLeft, r.left);
}

void TfrmTray::StoreLauncherPosition() {
  // A launcher that never appeared in this run sits at its design position;
  // storing that would throw away where the user last put it.
  if (!launcherShown_) return;
  FormHide();
}

bool TfrmTray::FormCloseQuery() {
  IEditorCloseQuery* editor = Forms().editorQuery;
  return editor ? editor->EditorAllowsClose() : true;
}

void TfrmTray::CloseWindowsForExit() {
  AppForms& f = Forms();
  StoreLauncherPosition();
  for (Form* form : {f.frmPendra, f.frmEditor, f.frmQuickie, f.frmMain, f.frmToDo})
    if (form) form->Close();
}

void TfrmTray::FormClose() {
  CloseWindowsForExit();
  TrayApi().postQuit(0);
}

namespace {

std::string CouldNotSave(const std::vector<std::string>& errors) {
  std::string reason = "Pendra could not save:";
  for (const std::string& error : errors) reason += " " + error;
  return reason;
}

}  // namespace

// The end of the session asks first, and everything an exit would save is
// saved here, while the answer can still keep the session going. A save that
// fails answers no, with a reason the system shows the user; no box is shown
// meanwhile, since it would hold up the logoff until someone answers it.
//
// An installer that has to replace the program asks the same way, only for
// this program (ENDSESSION_CLOSEAPP). It is refused while a reminder waits for
// its answer: the program would end with it unread, and it is not announced
// again that day.
bool TfrmTray::QueryEndSession(bool closeApp) {
  sessionSaved_ = false;
  std::string refusal;
  bool saveFailed = false;
  IReminderPanels* reminders = Forms().reminderPanels;
  if (closeApp && reminders && reminders->AnnouncementWaiting()) {
    refusal = kReminderUnansweredReason;
  } else {
    QuietErrors errors;
    bool allowed = false;
    Guarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
      // The user cancelled the editor's question, or its save failed.
      saveFailed = !errors.Texts().empty();
      refusal = saveFailed ? CouldNotSave(errors.Texts()) : kEditorUnsavedReason;
    } else if (!SaveWindowsForSessionEnd() || !errors.Texts().empty()) {
      // A save that only reported its error (a list left as it is, since it
      // could not be read) counts as failed too.
      saveFailed = true;
      refusal = CouldNotSave(errors.Texts());
    }
  }
  SetSessionBlock(refusal);
  if (refusal.empty()) {
    sessionSaved_ = true;
    return true;
  }
  // Once the system has the answer, the same text in the program's own box,
  // for systems that show no reason.
  if (saveFailed) {
    sessionRefusal_ = refusal;
    PostMessageA(Handle(), kSessionRefusedMessage, 0, 0);
  }
  return false;
}

// Every window saves as its close would, without being hidden; one that
// fails does not keep the others from saving. False when any failed; the
// errors go to the general handler.
bool TfrmTray::SaveWindowsForSessionEnd() {
  AppForms& f = Forms();
  bool saved = Guarded([&] { StoreLauncherPosition(); });
  for (Form* form : {f.frmPendra, f.frmEditor, f.frmQuickie, f.frmMain, f.frmToDo})
    if (form && !Guarded([&] { form->SaveForSessionEnd(); })) saved = false;
  return saved;
}

void TfrmTray::EndSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  sessionRefusal_.clear();  // a box now would only hold up the end
  // The system may end the session without a query that saved (the user
  // chose to leave regardless): one more try, quietly, since nobody could
  // answer a box now.
  {
    QuietErrors errors;
    if (!sessionSaved_) SaveWindowsForSessionEnd();
    AppForms& f = Forms();
    for (Form* form : {f.frmPendra, f.frmEditor, f.frmQuickie, f.frmMain, f.frmToDo})
      if (form) Guarded([&] { form->FinishSessionEnd(); });
  }
  RemoveTrayIcon();
  TrayApi().postQuit(0);
}

void TfrmTray::SessionGoesOn() {
  sessionSaved_ = false;
  SetSessionBlock({});
}

void TfrmTray::SetSessionBlock(const std::string& reason) {
  if (reason == sessionBlock_) return;
  sessionBlock_ = reason;
  TrayApi().blockReason(Handle(), reason);
  PublishEndRefusal(reason);
}

// The reason is also left where the installer that asked can read it: Windows
// keeps the one given above only for its own shutdown screen.
void TfrmTray::PublishEndRefusal(const std::string& reason) {
  if (HANDLE old = RemovePropA(Handle(), kEndRefusalProperty))
    GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(old)));
  if (reason.empty()) return;
  constexpr std::size_t kAtomLength = 255;
  if (const ATOM atom = GlobalAddAtomA(reason.substr(0, kAtomLength).c_str()))
    SetPropA(Handle(), kEndRefusalProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

void TfrmTray::mnuPendraClick() { ShowForm(Forms().frmPendra); }
void TfrmTray::Editor1Click() { ShowForm(Forms().frmEditor); }
void TfrmTray::QuickNotes1Click() { ShowForm(Forms().frmQuickie); }
void TfrmTray::Reminders1Click() { ShowForm(Forms().frmMain); }
void TfrmTray::ToDoClick() { ShowForm(Forms().frmToDo); }
void TfrmTray::AboutPendra1Click() { ShowForm(Forms().AboutBox); }

void TfrmTray::Hide1Click() {
  if (MenuCaption(kHide1) == kCaptionHideLauncher) {
    settings_->WriteBool(kSectionTrayIcon, kIdentNotShowWrite, true);
    SetCaption(kHide1, kCaptionShowLauncher);
    Hide();
    // Hiding the launcher always brings the icon back, so one face stays.
    AddTrayIcon();
    settings_->WriteBool(kSectionTrayIcon, kIdentTrayShow, true);
    SetCaption(kDoNotShowInTray1, kCaptionHideIcon);
  } else {
    settings_->WriteBool(kSectionTrayIcon, kIdentNotShowWrite, false);
    SetCaption(kHide1, kCaptionHideLauncher);
    Show();
  }
}

void TfrmTray::DoNotShowInTray1Click() {
  if (MenuCaption(kDoNotShowInTray1) == kCaptionHideIcon) {
    settings_->WriteBool(kSectionTrayIcon, kIdentTrayShow, false);
    SetCaption(kDoNotShowInTray1, kCaptionShowIcon);
    SetCaption(kHide1, kCaptionHideLauncher);
    Show();
    RemoveTrayIcon();
  } else {
    settings_->WriteBool(kSectionTrayIcon, kIdentTrayShow, true);
    SetCaption(kDoNotShowInTray1, kCaptionHideIcon);
    AddTrayIcon();
  }
}

// Turning it on also clears a turn-off made in Task Manager or Settings, which
// would otherwise keep Windows from starting the program all the same.
void TfrmTray::Windows1Click() {
  if (MenuCaption(kWindows1) == kCaptionStartWithWindows) {
    SetCaption(kWindows1, kCaptionNoStartWithWindows);
    WriteRunValue();
    settings_->WriteBool(kSectionStart, kIdentStartWithWindows, true);
  } else {
    SetCaption(kWindows1, kCaptionStartWithWindows);
    Svc().registry->DeleteValue(kRunKey, kRunValueName);
    settings_->WriteBool(kSectionStart, kIdentStartWithWindows, false);
  }
  Svc().registry->DeleteValue(kStartupApprovedKey, kRunValueName);
}

// A Run key that cannot be opened is passed over; the choice is still recorded.
void TfrmTray::WriteRunValue() {
  try {
    Svc().registry->WriteText(kRunKey, kRunValueName, RunCommand(Svc().exePath));
  } catch (const Error&) {
  }
}

// True when Windows starts this copy at logon. The Run value belongs to the
// copy that wrote it: another copy (on a stick, unpacked to try) leaves it
// alone, and one removed outside Pendra stays removed. It is rewritten only
// when it names a file that is gone, the user having turned Start With
// Windows on: this copy was moved. A value of another type is not Pendra's.
bool TfrmTray::StartsWithWindows(bool chosen) {
  std::string command;
  if (Svc().registry->Read(kRunKey, kRunValueName, command) != ValueKind::Text) return false;
  if (!RunNamesThisCopy(command)) {
    // The registry holds the path in the code page; the file functions take UTF-8.
    if (!chosen || FileExists(Utf8FromCodePage(RunCommandPath(std::string_view(command))))) return false;
    WriteRunValue();
  }
  const std::optional<std::string> approved = Svc().registry->ReadBytes(kStartupApprovedKey, kRunValueName);
  return !approved || approved->empty() || (static_cast<unsigned char>(approved->front()) & 1) == 0;
}

bool TfrmTray::RunNamesThisCopy(const std::string& command) const {
  if (RunCommandNames(command, Svc().exePath)) return true;
  const std::wstring path = Widen(CP_ACP, RunCommandPath(std::string_view(command)));
  return SameFileW(path.c_str(), Widen(CP_ACP, Svc().exePath).c_str());
}

void TfrmTray::Help1Click() { ShowHelp(nullptr, HelpTopic::Contents); }

void TfrmTray::mnuCloseClick() {
  Guarded([&] {
    // The entry panels are cleared only once the exit goes ahead: an exit
    // stopped by the editor's question or by a save keeps what the user was
    // typing. Nothing is lost by clearing them after the saves, since a list
    // is saved with an entry taken out for editing back at its place.
    if (Close() && Forms().reminderPanels) Forms().reminderPanels->CancelPanelsForExit();
  });
}

void TfrmTray::TrayMessage(UINT mouseEvent) {
  if (!IsWindowEnabled(Handle())) {
    if (mouseEvent == WM_LBUTTONDBLCLK || mouseEvent == WM_RBUTTONUP) BringModalBoxForward();
    return;
  }
  switch (mouseEvent) {
    case WM_LBUTTONDBLCLK:
      mnuPendraClick();
      break;
    case WM_RBUTTONUP: {
      POINT at{};
      GetCursorPos(&at);
      PopupMenuAt(at);
      break;
    }
    default:
      break;
  }
}

void TfrmTray::imgStartMouseDown(int x, int y) {
  SetCapture(Handle());
  screenDC_ = GetDC(nullptr);
  pressPoint_ = POINT{x, y};
  lastPoint_ = pressPoint_;
  dragRect_ = WindowRectOf(Handle());
  DrawFocusRect(screenDC_, &dragRect_);
  dragging_ = true;
}

void TfrmTray::imgStartMouseMove(int x, int y) {
  if (!dragging_) return;
  DrawFocusRect(screenDC_, &dragRect_);
  lastPoint_ = POINT{x, y};
  RECT bounds = WindowRectOf(Handle());
  const LONG dx = x - pressPoint_.x;
  const LONG dy = y - pressPoint_.y;
  dragRect_ = RECT{bounds.left + dx, bounds.top + dy, bounds.right + dx, bounds.bottom + dy};
  DrawFocusRect(screenDC_, &dragRect_);
}

void TfrmTray::imgStartMouseUp(int x, int y) {
  if (!dragging_) return;
  // Cleared first: releasing the capture reports a capture change, which must
  // not be taken for a lost drag.
  dragging_ = false;
  ReleaseCapture();
  DrawFocusRect(screenDC_, &dragRect_);
  RECT bounds = WindowRectOf(Handle());
  SetWindowPos(Handle(), nullptr, x + bounds.left - pressPoint_.x, y + bounds.top - pressPoint_.y,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ReleaseDC(nullptr, screenDC_);
  screenDC_ = nullptr;
}

void TfrmTray::CancelDrag() {
  // The capture went elsewhere (another window took it): the release will not
  // come, so wipe the rectangle and give the screen's context back.
  if (!dragging_) return;
  dragging_ = false;
  DrawFocusRect(screenDC_, &dragRect_);
  ReleaseDC(nullptr, screenDC_);
  screenDC_ = nullptr;
}

void TfrmTray::DpiChanged(UINT) {
  // The launcher takes the system's suggested size; its face is drawn anew
  // from the icon's picture of that size.
  imgStart_ = LoadProgramIcon(Px(kLauncherSize));
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmTray::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  DrawIconEx(dc, 0, 0, imgStart_, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  EndPaint(Handle(), &ps);
}

LRESULT TfrmTray::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // The shell restarted and forgot every icon.
    if (IconShown()) AddTrayIcon();
    return 0;
  }
  switch (msg) {
    case kTrayCallback:
      TrayMessage(LOWORD(lp));
      return 0;
    case kIconAddedMessage:
      WaitForIconAdd();  // the thread is ending: take its answer
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      imgStartMouseDown(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_MOUSEMOVE:
      // The hint's tooltip window is made when the mouse first comes over the
      // launcher, which keeps it out of the program's start.
      if (!hint_ && !hintText_.empty()) CreateHintWindow();
      imgStartMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
      imgStartMouseUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONDBLCLK:
      mnuPendraClick();
      return 0;
    case WM_RBUTTONDOWN: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(Handle(), &at);
      PopupMenuAt(at);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != Handle()) CancelDrag();
      return 0;
    case WM_TIMER:
      if (wp != kIconRetryTimer) break;
      if (IconShown())
        AddTrayIcon();
      else
        KillTimer(Handle(), kIconRetryTimer);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) != 0 || lp != 0) break;
      switch (LOWORD(wp)) {
        case kMnuPendra: mnuPendraClick(); return 0;
        case kEditor1: Editor1Click(); return 0;
        case kQuickNotes1: QuickNotes1Click(); return 0;
        case kReminders1: Reminders1Click(); return 0;
        case kToDo: ToDoClick(); return 0;
        case kHide1: Hide1Click(); return 0;
        case kDoNotShowInTray1: DoNotShowInTray1Click(); return 0;
        case kWindows1: Windows1Click(); return 0;
        case kHelp1: Help1Click(); return 0;
        case kAboutPendra1: AboutPendra1Click(); return 0;
        case kMnuClose: mnuCloseClick(); return 0;
        default: break;
      }
      break;
    case WM_QUERYENDSESSION:
      return QueryEndSession((lp & ENDSESSION_CLOSEAPP) != 0) ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wp)
        EndSession();
      else
        SessionGoesOn();
      return 0;
    case kSessionRefusedMessage:
      if (!sessionRefusal_.empty()) ReportError(std::exchange(sessionRefusal_, {}));
      return 0;
    case WM_DESTROY:
      CancelDrag();
      RemoveTrayIcon();
      PublishEndRefusal({});
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
