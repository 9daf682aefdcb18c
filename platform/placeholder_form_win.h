#pragma once
// A plain window with its class name and caption, standing in for a window
// whose behaviour is not built yet. It is only shown and hidden; its window
// is created the first time it is shown, so an unused one costs nothing at
// start-up.
#include <windows.h>

#include <string>

#include "platform/window_win.h"

namespace pendra {

class PlaceholderForm : public Form {
 public:
  PlaceholderForm(const char* className, const char* caption, HWND owner, int width = 420,
                  int height = 300, bool captionBar = true);

 protected:
  void BeforeShow() override;

 private:
  std::string className_;
  std::string caption_;
  HWND owner_;
  int width_;
  int height_;
  bool captionBar_;
};

}  // namespace pendra
