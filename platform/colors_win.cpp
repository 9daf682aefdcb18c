#include "platform/colors_win.h"

#include "platform/services.h"

namespace pendra {

SystemColors CurrentSystemColors() {
  return Svc().display ? Svc().display->Colors() : SystemColors{};
}

ColorBrush::~ColorBrush() {
  if (brush_) DeleteObject(brush_);
}

HBRUSH ColorBrush::Of(int color) {
  if (!brush_ || color != color_) {
    if (brush_) DeleteObject(brush_);
    brush_ = CreateSolidBrush(static_cast<COLORREF>(color));
    color_ = color;
  }
  return brush_;
}

LRESULT AnswerColors(HDC dc, const ColorPair& colors, ColorBrush& brush) {
  SetTextColor(dc, static_cast<COLORREF>(colors.text));
  SetBkColor(dc, static_cast<COLORREF>(colors.background));
  return reinterpret_cast<LRESULT>(brush.Of(colors.background));
}

}  // namespace pendra
