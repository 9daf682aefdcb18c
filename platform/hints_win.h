#pragma once
// A window's hints: one tooltip window that shows a text over each control
// given one. The tooltip belongs to the window and goes with it.
#include <windows.h>

#include <string>

namespace pendra {

class Hints {
 public:
  // Makes the tooltip window; call once the owner exists (common controls loaded).
  void Create(HWND owner);
  void Add(HWND control, const char* text);
  // The control's hint text; empty when it has none.
  std::string Of(HWND control) const;

 private:
  HWND tooltip_ = nullptr;
};

}  // namespace pendra
