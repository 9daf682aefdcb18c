#pragma once
// The program's message loops: the main loop, the keyboard of every window,
// and what the thread does while a modal box is under way.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace pendra {

// Dispatches one message as every loop of the program does. The keys that
// move about a window (Tab, the arrow keys, the access keys of the captions,
// Enter and Esc) go first to the dialog manager of the message's top-level
// window, so any window of the program answers them as a dialog does (a
// control that asks for every key, as the text controls of the notebook, the
// editor and quick notes do, gets them all itself); Enter presses a focused
// push button; Ctrl+Tab and Ctrl+Page Up/Down turn the pages of the window's
// page control.
// A key pressed with Ctrl (and without Alt) is first offered to the
// top-level window as kShortcutKeyMessage, so the shortcuts of its menus work
// wherever in the window the keyboard is.
void DispatchProgramMessage(MSG& msg);

// wParam: the key; lParam: the window the key went to. A window answers
// nonzero when it ran a command for the key, and the key goes no further.
inline constexpr UINT kShortcutKeyMessage = WM_APP + 0x200;

// A folder (not its subfolders) watched for files made, renamed, deleted,
// written or resized, by any program, Pendra too. A folder that cannot be
// watched (a network share without change notifications) is not watched.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Signalled when the folder has changed; nullptr while not watched.
  HANDLE Signal() const { return handle_; }
  // After a signal: waits for the next change, or stops watching when the
  // folder cannot be watched any more.
  void Rearm();

 private:
  HANDLE handle_ = nullptr;
};

// Runs the loop until WM_QUIT and returns its exit code. While `watch`
// watches, `changed` runs, under the general error handler, after each change
// of its folder, with how long ago, in milliseconds, the change may have come
// at the earliest: the folder was known unchanged until then. The loop sleeps
// until a message or a change comes, so the watch costs nothing at idle. A
// change during a modal loop (a message box, a menu) is seen when the loop
// runs again, and is told as that old.
int RunMessageLoop(FolderWatch* watch = nullptr, const std::function<void(unsigned long)>& changed = {});

// While one lives, every enabled top-level window of this thread except the
// application window is disabled, as the owner of a modal box is on Windows;
// the application window owns the boxes, which disable it themselves. At the
// end the windows are enabled again and the window that was active gets the
// activation back. Scopes nest.
class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // A top-level window made while a scope lives (one first shown from the
  // tray under a box) is disabled as the others were, and enabled again when
  // the outermost scope ends.
  static void Adopt(HWND window);
  // Whether a scope lives: a box or dialog of the program is up.
  static bool Open();

 private:
  std::vector<HWND> disabled_;
  HWND active_ = nullptr;
  HWND focus_ = nullptr;
};

}  // namespace pendra
