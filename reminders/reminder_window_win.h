#pragma once
#include "platform/window_win.h"

namespace pendra {

// The reminder window.
class TfrmMain : public Form {
 public:
  TfrmMain();
};

// The start-up data module: announces the reminders missed since the last run.
class TBootCode {
 public:
  explicit TBootCode(TfrmMain& frmMain);
};

}  // namespace pendra
