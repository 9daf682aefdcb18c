// Program entry: one instance per desktop, the ten objects created in order,
// then the message loop until the tray window closes.
#include <windows.h>

#include <memory>

#include "about/about_box_win.h"
#include "app/program_folder_win.h"
#include "app/program_place_win.h"
#include "app/single_instance_win.h"
#include "app/tray_window_win.h"
#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "notes/tab_list_dialog_win.h"
#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "platform/on_demand_win.h"
#include "platform/real_services_win.h"
#include "platform/services.h"
#include "platform/window_win.h"
#include "reminders/reminder_window_win.h"
#include "settings/code_page.h"
#include "settings/data_folder.h"
#include "todo/todo_window_win.h"

using namespace pendra;

namespace {

// The objects live until the message loop ends; they are destroyed in the
// reverse order of their creation.
struct Objects {
  std::unique_ptr<TfrmTray> tray;
  std::unique_ptr<TfrmPendra> pendra;
  std::unique_ptr<TfrmEditor> editor;
  std::unique_ptr<TfrmAddTabs> addTabs;
  std::unique_ptr<TfrmQuickie> quickie;
  std::unique_ptr<TAboutBox> about;
  std::unique_ptr<TfrmToDo> toDo;
  std::unique_ptr<TfrmAddToDo> addToDo;
  std::unique_ptr<TfrmMain> reminder;
  std::unique_ptr<TBootCode> boot;
};

void CreateObjects(Objects& o) {
  AppForms& f = Forms();
  // The single-instance check runs first, inside the tray's construction.
  o.tray = std::make_unique<TfrmTray>();
  f.frmTray = o.tray.get();
  o.pendra = std::make_unique<TfrmPendra>();
  f.frmPendra = o.pendra.get();
  o.editor = std::make_unique<TfrmEditor>();
  f.frmEditor = o.editor.get();
  f.editorQuery = o.editor.get();
  o.addTabs = std::make_unique<TfrmAddTabs>(*o.pendra);
  f.frmAddTabs = o.addTabs.get();
  o.quickie = std::make_unique<TfrmQuickie>();
  f.frmQuickie = o.quickie.get();
  // A version record it cannot make sense of stops the start here.
  o.about = std::make_unique<TAboutBox>();
  f.AboutBox = o.about.get();
  o.toDo = std::make_unique<TfrmToDo>();
  f.frmToDo = o.toDo.get();
  o.addToDo = std::make_unique<TfrmAddToDo>(*o.toDo);
  f.frmAddToDo = o.addToDo.get();
  o.reminder = std::make_unique<TfrmMain>();
  f.frmMain = o.reminder.get();
  f.reminderPanels = o.reminder.get();
  o.boot = std::make_unique<TBootCode>(*o.reminder);
  f.BootCode = o.boot.get();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CreateInstanceMutex();
  // The first instance is running: leave without touching anything.
  if (FindWindowA("TfrmTray", "frmTray")) return 0;

  InstallRealServices();
  if (ToldToUnpackFirst()) return 0;
  // Hidden for good: the program never has a taskbar button.
  CreateApplicationWindow();
  CheckProgramFolder();

  // Every read, save and delete of a data file goes through it.
  DataFolder data(Utf8FromCodePage(Svc().programFolder), [] { return Svc().clock->Now(); });
  Svc().data = &data;

  Objects objects;
  try {
    CreateObjects(objects);
  } catch (...) {
    // An object that cannot be built stops the start with its message; the
    // start failed, so the exit code says so.
    ShowCaughtError();
    return 1;
  }
  // Said once the program is there, tray icon and all: it runs on, saving
  // nothing, until the user moves it.
  TellReadOnlyProgramFolder();
  SayUntoldNotices();
  // An installer that has to replace the program closes it, saving as at
  // the end of a session, and starts it again.
  RegisterForRestart();

  // Files another program writes in the program folder are seen as they
  // change: a reminder list goes off, the to-do list shown shows it.
  FolderWatch watch(Svc().programFolder);
  RunMessageLoop(&watch, [&](unsigned long sinceMs) {
    objects.reminder->ProgramFolderChanged(sinceMs);
    objects.toDo->ProgramFolderChanged();
  });
  return 0;
}
