#pragma once
// The yardstick of the notebook benchmarks: a plain rich edit control of the
// page's size and font, in a window of its own just below the notebook, for
// the control's own load of the same text.
#include <windows.h>

#include "notes/notebook_window_win.h"
#include "notes/rich_text_win.h"
#include "platform/application_win.h"
#include "platform/window_win.h"

namespace pendra::bench {

class PageYardstick : public Window {
 public:
  explicit PageYardstick(TfrmPendra& notebook) {
    RECT page{};
    GetWindowRect(notebook.redtPendra().Handle(), &page);
    MapWindowPoints(nullptr, notebook.Handle(), reinterpret_cast<POINT*>(&page), 2);
    RECT frame = WindowRectOf(notebook.Handle());
    OffsetRect(&frame, 0, frame.bottom - frame.top + 10);
    CreateWnd("PendraBenchYardstick", "Control", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, frame.left,
              frame.top, frame.right - frame.left, frame.bottom - frame.top, ApplicationWindow());
    const FontSpec font = notebook.redtPendra().Font();
    control.Create(Handle(), 1, page, font);
    control.SetFont(font);
  }
  TRxRichEdit control;
};

}  // namespace pendra::bench
