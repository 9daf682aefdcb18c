#pragma once
#include "platform/window_win.h"

namespace pendra {

// The tray icon and desktop launcher; the program's main window.
class TfrmTray : public Form {
 public:
  TfrmTray();
};

}  // namespace pendra
