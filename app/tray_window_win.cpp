#include "app/tray_window_win.h"

#include "app/application_win.h"

namespace pendra {

TfrmTray::TfrmTray() {
  CreateWnd("TfrmTray", "frmTray", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 343, 252, 32, 32,
            ApplicationWindow());
  ShowWindow(Handle(), SW_SHOW);
}

}  // namespace pendra
