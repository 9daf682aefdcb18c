#pragma once
#include "platform/window_win.h"

namespace pendra {

// The reminder window.
class TfrmMain : public Form {
 public:
  TfrmMain();
  // "Exit Pendra" runs the Cancel of the four entry panels first, in the order
  // weekly, one-time, daily, monthly.
  void CancelPanelsForExit();
};

// The start-up data module: announces the reminders missed since the last run.
class TBootCode {
 public:
  explicit TBootCode(TfrmMain& frmMain);
};

}  // namespace pendra
