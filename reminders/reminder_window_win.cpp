#include "reminders/reminder_window_win.h"

#include "app/application_win.h"

namespace pendra {

TfrmMain::TfrmMain() {
  CreateWnd("TfrmMain", "Reminder", WS_OVERLAPPEDWINDOW, 0, 80, 114, 775, 506, ApplicationWindow());
}

void TfrmMain::CancelPanelsForExit() {}

TBootCode::TBootCode(TfrmMain&) {}

}  // namespace pendra
