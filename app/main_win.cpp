// Program entry: one instance per desktop, the ten objects created in order,
// then the message loop until the tray window closes.
#include <windows.h>

#include <memory>

#include "platform/application_win.h"
#include "app/single_instance_win.h"
#include "app/tray_window_win.h"
#include "notes/editor_window_win.h"
#include "notes/quick_notes_win.h"
#include "platform/placeholder_form_win.h"
#include "platform/real_services_win.h"
#include "platform/services.h"
#include "platform/window_win.h"
#include "reminders/reminder_window_win.h"

using namespace pendra;

namespace {

// The objects live until the message loop ends; they are destroyed in the
// reverse order of their creation.
struct Objects {
  std::unique_ptr<TfrmTray> tray;
  std::unique_ptr<PlaceholderForm> pendra;
  std::unique_ptr<TfrmEditor> editor;
  std::unique_ptr<PlaceholderForm> addTabs;
  std::unique_ptr<TfrmQuickie> quickie;
  std::unique_ptr<PlaceholderForm> about, toDo, addToDo;
  std::unique_ptr<TfrmMain> reminder;
  std::unique_ptr<TBootCode> boot;
};

void CreateObjects(Objects& o) {
  AppForms& f = Forms();
  HWND owner = ApplicationWindow();
  // The single-instance check runs first, inside the tray's construction.
  o.tray = std::make_unique<TfrmTray>();
  f.frmTray = o.tray.get();
  o.pendra = std::make_unique<PlaceholderForm>("TfrmPendra", "Pendra", owner);
  f.frmPendra = o.pendra.get();
  o.editor = std::make_unique<TfrmEditor>();
  f.frmEditor = o.editor.get();
  f.editorQuery = o.editor.get();
  o.addTabs = std::make_unique<PlaceholderForm>("TfrmAddTabs", "Edit Tabs", owner);
  f.frmAddTabs = o.addTabs.get();
  o.quickie = std::make_unique<TfrmQuickie>();
  f.frmQuickie = o.quickie.get();
  o.about = std::make_unique<PlaceholderForm>("TAboutBox", "About", owner);
  f.AboutBox = o.about.get();
  o.toDo = std::make_unique<PlaceholderForm>("TfrmToDo", "Things To Do ", owner);
  f.frmToDo = o.toDo.get();
  o.addToDo = std::make_unique<PlaceholderForm>("TfrmAddToDo", "", owner);
  f.frmAddToDo = o.addToDo.get();
  o.reminder = std::make_unique<TfrmMain>();
  f.frmMain = o.reminder.get();
  o.boot = std::make_unique<TBootCode>(*o.reminder);
  f.BootCode = o.boot.get();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CreateInstanceMutex();
  // The first instance is running: leave without touching anything.
  if (FindWindowA("TfrmTray", "frmTray")) return 0;

  InstallRealServices();
  // Hidden for good: the program never has a taskbar button.
  CreateApplicationWindow();

  Objects objects;
  try {
    CreateObjects(objects);
  } catch (...) {
    // An object that cannot be built stops the start with its message; the
    // start failed, so the exit code says so.
    ShowCaughtError();
    return 1;
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
