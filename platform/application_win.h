#pragma once
// The hidden application window and the table of the program's ten objects,
// through which windows show one another and the tray ends the program.
#include <windows.h>

namespace pendra {

class Form;
class TfrmTray;
class TBootCode;

// The hidden top-level window (class "TApplication", title "Pendra") that owns
// every window of the program, so that none of them has a taskbar button.
inline constexpr const char* kApplicationClass = "TApplication";
HWND ApplicationWindow();
void CreateApplicationWindow();

// Asked by the tray's close query: the editor's save-changes question. True
// when the close may go on.
class IEditorCloseQuery {
 public:
  virtual ~IEditorCloseQuery() = default;
  virtual bool EditorAllowsClose() = 0;
};

// Asked by "Exit Pendra" once the windows have closed and saved: the reminder
// window cancels its four entry panels. Asked by an installer's request to
// end: whether an announcement is up or waits behind another box.
class IReminderPanels {
 public:
  virtual ~IReminderPanels() = default;
  virtual void CancelPanelsForExit() = 0;
  virtual bool AnnouncementWaiting() const = 0;
};

// The objects created at start, in creation order. Windows reach each other
// only through this table (to show one another, and at exit).
struct AppForms {
  TfrmTray* frmTray = nullptr;
  Form* frmPendra = nullptr;
  Form* frmEditor = nullptr;
  Form* frmAddTabs = nullptr;
  Form* frmQuickie = nullptr;
  Form* AboutBox = nullptr;
  Form* frmToDo = nullptr;
  Form* frmAddToDo = nullptr;
  Form* frmMain = nullptr;
  TBootCode* BootCode = nullptr;
  IEditorCloseQuery* editorQuery = nullptr;
  IReminderPanels* reminderPanels = nullptr;
};
AppForms& Forms();

}  // namespace pendra
