#pragma once
// The tray icon and the desktop launcher: the program's main window. Closing it
// ends the program.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "app/single_instance_win.h"
#include "platform/on_demand_win.h"
#include "platform/window_win.h"
#include "settings/reg_ini.h"

namespace pendra {

// The tray icon's callback message.
inline constexpr UINT kTrayCallback = WM_USER + 100;
// Posted by the thread that adds the icon at start when the shell answered.
inline constexpr UINT kIconAddedMessage = WM_APP + 0x100;
// Posted when the end of the session was refused because a save failed: the
// reason is then shown in a box, once the system has had its answer.
inline constexpr UINT kSessionRefusedMessage = WM_APP + 0x101;

// Given to the system when the editor's question kept the session going.
inline constexpr const char* kEditorUnsavedReason = "Pendra: the changes in the editor are not saved.";
// Given to an installer that asked the program to end while a reminder waits
// for its answer.
inline constexpr const char* kReminderUnansweredReason = "Pendra: a reminder is shown and not yet answered.";

// Command ids of the program menu pmnSysTrayEx.
enum TrayMenuId : int {
  kMnuPendra = 101,
  kEditor1,
  kQuickNotes1,
  kReminders1,
  kToDo,
  kHide1,
  kDoNotShowInTray1,
  kWindows1,
  kHelp1,
  kAboutPendra1,
  kMnuClose,
};

// Captions of the two-state items; each names the action of the next click.
inline constexpr const char* kCaptionHideLauncher = "&Do Not Show On Desktop";
inline constexpr const char* kCaptionShowLauncher = "&Show On Desktop";
inline constexpr const char* kCaptionHideIcon = "Do &Not Show In Tray";
inline constexpr const char* kCaptionShowIcon = "Show In &Tray";
inline constexpr const char* kCaptionStartWithWindows = "Start With &Windows";
inline constexpr const char* kCaptionNoStartWithWindows = "D&o not Start With Windows";

// The calls into the shell and the menu loop, replaceable so that tests can
// count icon adds and removals and look at a menu without a modal loop.
struct TrayPlatform {
  std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)> notifyIcon = Shell_NotifyIconA;
  // Pops the menu up at a screen point; its command arrives as WM_COMMAND.
  std::function<void(HWND owner, HMENU menu, POINT at)> popupMenu;
  std::function<void(int exitCode)> postQuit = PostQuitMessage;
  // Why the window holds up the end of the session; an empty text withdraws it.
  std::function<bool(HWND window, const std::string& reason)> blockReason = SetShutdownBlockReason;
};
TrayPlatform& TrayApi();

class TfrmTray : public Form {
 public:
  // Tries the icon's add again while the shell has not taken it.
  static constexpr UINT_PTR kIconRetryTimer = 1;
  static constexpr UINT kIconRetryMs = 2000;

  TfrmTray();
  ~TfrmTray() override;

  HMENU pmnSysTrayEx() const { return pmnSysTrayEx_; }
  // The start adds the icon on a thread of its own, since the shell may be
  // slow to answer (at logon for seconds). Waits until that add is done and
  // takes its result; every later change of the icon, and the exit, wait
  // for it first.
  void WaitForIconAdd();
  std::string MenuCaption(int id) const;
  std::string Hint() const;  // the launcher's current hint text
  bool IconShown() const;    // the tray face is on (read from the menu)
  // What the system was last told holds up the end of the session; empty
  // while nothing does.
  const std::string& SessionBlockReason() const { return sessionBlock_; }

  // Menu handlers, also reached through WM_COMMAND.
  void mnuPendraClick();
  void Editor1Click();
  void QuickNotes1Click();
  void Reminders1Click();
  void ToDoClick();
  void Hide1Click();
  void DoNotShowInTray1Click();
  void Windows1Click();
  void Help1Click();
  void AboutPendra1Click();
  void mnuCloseClick();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormShow() override;
  void FormHide() override;
  bool FormCloseQuery() override;
  void FormClose() override;
  void DpiChanged(UINT oldDpi) override;

 private:
  void FormCreate();
  void BuildMenu();
  void CreateHintWindow();
  void SetCaption(int id, const char* caption);
  void WriteRunValue();
  bool StartsWithWindows(bool chosen);
  bool RunNamesThisCopy(const std::string& command) const;
  void AddTrayIcon();
  void AddTrayIconInBackground();
  // The shell took the icon, or it is tried again every kIconRetryMs.
  void IconAddAnswered(bool taken);
  void RemoveTrayIcon();
  void BringModalBoxForward();
  void PopupMenuAt(POINT screenPoint);
  void StoreLauncherPosition();
  void CloseWindowsForExit();
  bool QueryEndSession(bool closeApp);
  bool SaveWindowsForSessionEnd();
  void EndSession();
  void SessionGoesOn();
  void SetSessionBlock(const std::string& reason);
  void PublishEndRefusal(const std::string& reason);

  void imgStartMouseDown(int x, int y);
  void imgStartMouseMove(int x, int y);
  void imgStartMouseUp(int x, int y);
  void CancelDrag();
  void TrayMessage(UINT mouseEvent);
  void Paint();

  // Runs the single-instance check before anything else of the tray exists;
  // it ends the process when another instance is running.
  TPBJustOne PBJustOne1;

  HICON imgStart_ = nullptr;   // the launcher's face, the size of the client area
  HICON imgPendra_ = nullptr;  // the same picture at the tray's small size
  HMENU pmnSysTrayEx_ = nullptr;
  HWND hint_ = nullptr;
  std::string hintText_;  // the launcher's hint, set at every show
  NOTIFYICONDATAA trayIcon_{};
  UINT taskbarCreated_ = 0;
  // The start's add while it runs: its thread and the record it hands the shell.
  HANDLE iconAdder_ = nullptr;
  NOTIFYICONDATAA iconAdderData_{};

  bool dragging_ = false;
  HDC screenDC_ = nullptr;
  POINT pressPoint_{};
  POINT lastPoint_{};
  RECT dragRect_{};

  // Whether the launcher was visible at some time in this run: only then is
  // its position worth storing at exit.
  bool launcherShown_ = false;
  // The last end-of-session query saved everything; the end itself then has
  // nothing left to do but leave.
  bool sessionSaved_ = false;
  bool sessionEnded_ = false;
  std::string sessionBlock_;
  std::string sessionRefusal_;  // shown by kSessionRefusedMessage

  std::unique_ptr<TRegIniFile> settings_;
};

}  // namespace pendra
