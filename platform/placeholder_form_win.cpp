#include "platform/placeholder_form_win.h"

namespace pendra {

PlaceholderForm::PlaceholderForm(const char* className, const char* caption, HWND owner,
                                 int width, int height, bool captionBar) {
  DWORD style = captionBar ? WS_OVERLAPPEDWINDOW : (WS_POPUP | WS_BORDER);
  CreateWnd(className, caption, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, width, height, owner,
            nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace pendra
