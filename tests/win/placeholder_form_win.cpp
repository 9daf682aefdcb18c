#include "tests/win/placeholder_form_win.h"

namespace pendra {

PlaceholderForm::PlaceholderForm(const char* className, const char* caption, HWND owner,
                                 int width, int height, bool captionBar)
    : className_(className),
      caption_(caption),
      owner_(owner),
      width_(width),
      height_(height),
      captionBar_(captionBar) {}

void PlaceholderForm::BeforeShow() {
  if (Handle()) return;
  DWORD style = captionBar_ ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_BORDER);
  CreateWnd(className_.c_str(), caption_.c_str(), style, 0, CW_USEDEFAULT, CW_USEDEFAULT, width_,
            height_, owner_, nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace pendra
