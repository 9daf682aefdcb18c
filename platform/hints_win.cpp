#include "platform/hints_win.h"

#include <commctrl.h>

namespace pendra {
namespace {

TTTOOLINFOA ToolOf(HWND control) {
  TTTOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;  // accepted by every common-controls version
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = GetParent(control);
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  return ti;
}

}  // namespace

void Hints::Create(HWND owner) {
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
}

void Hints::Add(HWND control, const char* text) {
  if (!tooltip_ || !control) return;
  TTTOOLINFOA ti = ToolOf(control);
  ti.uFlags |= TTF_SUBCLASS;
  ti.lpszText = const_cast<char*>(text);
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

std::string Hints::Of(HWND control) const {
  if (!tooltip_ || !control) return {};
  char buffer[256] = {};
  TTTOOLINFOA ti = ToolOf(control);
  ti.lpszText = buffer;
  if (!SendMessageA(tooltip_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ti))) return {};
  SendMessageA(tooltip_, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  return buffer;
}

}  // namespace pendra
