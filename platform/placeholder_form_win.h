#pragma once
// A plain window with its class name and caption, standing in for a window
// whose behaviour is not built yet. It is only shown and hidden.
#include <string>

#include "platform/window_win.h"

namespace pendra {

class PlaceholderForm : public Form {
 public:
  PlaceholderForm(const char* className, const char* caption, HWND owner, int width = 420,
                  int height = 300, bool captionBar = true);
};

}  // namespace pendra
