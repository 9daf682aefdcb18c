#pragma once
// The system's colours for the windows: read through the display seam, the
// messages after which they may have changed, and a brush that follows a
// colour.
#include <windows.h>

#include "platform/colors.h"

namespace pendra {

// Plain colours, high contrast off, while no display is installed.
SystemColors CurrentSystemColors();

// WM_SYSCOLORCHANGE and WM_SETTINGCHANGE (high contrast is switched by the
// latter): a window that paints in colours of its own takes them again.
inline bool ColorsMayHaveChanged(UINT msg) {
  return msg == WM_SYSCOLORCHANGE || msg == WM_SETTINGCHANGE;
}

// A solid brush of one colour, made anew when the colour changes.
class ColorBrush {
 public:
  ColorBrush() = default;
  ColorBrush(const ColorBrush&) = delete;
  ColorBrush& operator=(const ColorBrush&) = delete;
  ~ColorBrush();
  HBRUSH Of(int color);

 private:
  HBRUSH brush_ = nullptr;
  int color_ = -1;
};

// Sets a control's text and background colours in the colour question
// (WM_CTLCOLOR...) and gives the brush to answer it with.
LRESULT AnswerColors(HDC dc, const ColorPair& colors, ColorBrush& brush);

}  // namespace pendra
