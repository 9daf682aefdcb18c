// Program entry: one instance per desktop, the ten objects created in order,
// then the message loop until the tray window closes.
#include <windows.h>

#include <memory>

#include "app/application_win.h"
#include "app/tray_window_win.h"
#include "platform/placeholder_form_win.h"
#include "platform/real_services_win.h"
#include "platform/services.h"
#include "reminders/reminder_window_win.h"

using namespace pendra;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The handle is kept for the life of the process.
  CreateMutexA(nullptr, FALSE, "Pendra");
  const bool mutexExisted = GetLastError() == ERROR_ALREADY_EXISTS;
  if (FindWindowA("TfrmTray", "frmTray")) return 0;

  InstallRealServices();
  CreateApplicationWindow();

  AppForms& f = Forms();
  auto tray = std::make_unique<TfrmTray>();
  (void)mutexExisted;
  f.frmTray = tray.get();
  HWND owner = ApplicationWindow();
  auto pendraWnd = std::make_unique<PlaceholderForm>("TfrmPendra", "Pendra", owner);
  auto editor = std::make_unique<PlaceholderForm>("TfrmEditor", "Editor", owner);
  auto addTabs = std::make_unique<PlaceholderForm>("TfrmAddTabs", "Edit Tabs", owner);
  auto quickie = std::make_unique<PlaceholderForm>("TfrmQuickie", "Quick Notes", owner);
  auto about = std::make_unique<PlaceholderForm>("TAboutBox", "About", owner);
  auto toDo = std::make_unique<PlaceholderForm>("TfrmToDo", "Things To Do ", owner);
  auto addToDo = std::make_unique<PlaceholderForm>("TfrmAddToDo", "", owner);
  f.frmPendra = pendraWnd.get();
  f.frmEditor = editor.get();
  f.frmAddTabs = addTabs.get();
  f.frmQuickie = quickie.get();
  f.AboutBox = about.get();
  f.frmToDo = toDo.get();
  f.frmAddToDo = addToDo.get();
  auto reminder = std::make_unique<TfrmMain>();
  f.frmMain = reminder.get();
  auto boot = std::make_unique<TBootCode>(*reminder);
  f.BootCode = boot.get();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
