#include "platform/message_loop_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/application_win.h"
#include "platform/window_win.h"

namespace pendra {
namespace {

bool OwnWindow(HWND hwnd) {
  return hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

BOOL CALLBACK FindPageControl(HWND hwnd, LPARAM lp) {
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, WC_TABCONTROLA) == 0 && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up go to the next or
// the previous page, with the notifications a click on the tab sends.
bool TurnPage(HWND root, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return false;
  int step = 0;
  if (msg.wParam == VK_TAB) step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
  if (msg.wParam == VK_NEXT) step = 1;
  if (msg.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  HWND tabs = nullptr;
  EnumChildWindows(root, FindPageControl, reinterpret_cast<LPARAM>(&tabs));
  if (!tabs) return false;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  if (count < 2) return true;
  const int current = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
  const int next = ((current < 0 ? 0 : current) + step + count) % count;
  HWND parent = GetParent(tabs);
  NMHDR hdr{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGING)};
  if (SendMessageA(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr))) return true;
  SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  hdr.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageA(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
  // The focus left on the page turned away goes to the new page.
  HWND focus = GetFocus();
  if (!focus || !IsWindowVisible(focus)) {
    HWND first = GetNextDlgTabItem(root, nullptr, FALSE);
    if (first) SetFocus(first);
  }
  return true;
}

// Enter on a focused push button presses it, as in a dialog.
bool PressFocusedButton(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  HWND focus = GetFocus();
  if (!focus || focus != msg.hwnd) return false;
  const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return false;
  SendMessageA(focus, BM_CLICK, 0, 0);
  return true;
}

bool OfferShortcut(HWND root, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
    return false;
  return SendMessageA(root, kShortcutKeyMessage, msg.wParam, reinterpret_cast<LPARAM>(msg.hwnd)) != 0;
}

BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM lp) {
  if (hwnd != ApplicationWindow() && IsWindowEnabled(hwnd))
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

}  // namespace

void DispatchProgramMessage(MSG& msg) {
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (OwnWindow(root) && IsWindowVisible(root) && IsWindowEnabled(root)) {
      if (TurnPage(root, msg) || PressFocusedButton(msg) || OfferShortcut(root, msg)) return;
      if (IsDialogMessageA(root, &msg)) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

FolderWatch::FolderWatch(const std::string& folder) {
  const HANDLE handle = FindFirstChangeNotificationA(
      folder.c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
  if (handle != INVALID_HANDLE_VALUE) handle_ = handle;
}

FolderWatch::~FolderWatch() {
  if (handle_) FindCloseChangeNotification(handle_);
}

void FolderWatch::Rearm() {
  if (!handle_ || FindNextChangeNotification(handle_)) return;
  FindCloseChangeNotification(handle_);
  handle_ = nullptr;
}

int RunMessageLoop(FolderWatch* watch, const std::function<void(unsigned long)>& changed) {
  // The last moment the folder was known unchanged: the wait reports a change
  // before messages, so its handle was not signalled when a wait ended for
  // messages, nor while a wait went on.
  DWORD unchangedAt = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      DispatchProgramMessage(msg);
    }
    HANDLE signal = watch ? watch->Signal() : nullptr;
    const DWORD handles = signal ? 1 : 0;
    const DWORD waitFrom = GetTickCount();
    const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &signal, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    const DWORD wokeAt = GetTickCount();
    if (woke == WAIT_FAILED) return 1;
    if (handles && woke == WAIT_OBJECT_0) {
      // A wait that went on saw the change come; one that ended at once found
      // one made while the messages before it were handled (a box's modal
      // loop, perhaps).
      const unsigned long age = wokeAt != waitFrom ? 0 : wokeAt - unchangedAt;
      // Watching again first: a change made while the windows look is seen too.
      watch->Rearm();
      unchangedAt = wokeAt;
      Guarded([&] { changed(age); });
    } else {
      unchangedAt = wokeAt;
    }
  }
}

namespace {

// The scopes alive, outermost first.
std::vector<ModalScope*>& LiveScopes() {
  static std::vector<ModalScope*> scopes;
  return scopes;
}

}  // namespace

bool ModalScope::Open() { return !LiveScopes().empty(); }

void ModalScope::Adopt(HWND window) {
  if (LiveScopes().empty() || !window || !IsWindowEnabled(window)) return;
  EnableWindow(window, FALSE);
  LiveScopes().front()->disabled_.push_back(window);
}

ModalScope::ModalScope() {
  LiveScopes().push_back(this);
  HWND active = GetActiveWindow();
  if (OwnWindow(active) && IsWindowVisible(active)) active_ = active;
  HWND focus = GetFocus();
  if (active_ && focus && IsChild(active_, focus)) focus_ = focus;
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled_));
  for (HWND hwnd : disabled_) EnableWindow(hwnd, FALSE);
}

ModalScope::~ModalScope() {
  auto& scopes = LiveScopes();
  scopes.erase(std::find(scopes.begin(), scopes.end(), this));
  for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
    if (IsWindow(*it)) EnableWindow(*it, TRUE);
  // The box's end gave the activation to its hidden owner or to another
  // program; the window the user was working in takes it back.
  if (active_ && IsWindow(active_) && IsWindowVisible(active_) && IsWindowEnabled(active_) &&
      GetActiveWindow() != active_) {
    HWND foreground = GetForegroundWindow();
    if (!foreground || OwnWindow(foreground)) SetForegroundWindow(active_);
    else SetActiveWindow(active_);
  }
  // A disabled window loses the keyboard focus; the control that had it gets
  // it back when its window is still the active one.
  if (focus_ && IsWindow(focus_) && GetActiveWindow() == active_ &&
      (!GetFocus() || GetFocus() == active_) &&
      IsWindowVisible(focus_) && IsWindowEnabled(focus_))
    SetFocus(focus_);
}

}  // namespace pendra
