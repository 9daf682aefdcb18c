#pragma once
// A plain window with a class name and caption, for tests that need one of
// the program's other windows to show, hide or close. Its window is created
// the first time it is shown.
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
