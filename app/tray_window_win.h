#pragma once
#include "platform/window_win.h"

namespace pendra {

// The tray icon and desktop launcher; the program's main window.
class TfrmTray : public Form {
 public:
  TfrmTray();

 protected:
  void FormClose() override { PostQuitMessage(0); }
};

}  // namespace pendra
