#include "platform/application_win.h"

#include "platform/services.h"
#include "platform/window_win.h"

namespace pendra {
namespace {

class ApplicationWnd final : public Window {
 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SETTINGCHANGE && Svc().locale) Svc().locale->Refresh();
    return Window::HandleMessage(msg, wp, lp);
  }
};

ApplicationWnd& AppWnd() {
  static ApplicationWnd wnd;
  return wnd;
}

}  // namespace

HWND ApplicationWindow() { return AppWnd().Handle(); }

void CreateApplicationWindow() {
  if (AppWnd().Handle()) return;
  // Zero-sized and never shown: it exists to own the other windows and to be
  // found by a second start.
  AppWnd().CreateWnd(kApplicationClass, kAppTitle,
                     WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                     WS_EX_TOOLWINDOW, GetSystemMetrics(SM_CXSCREEN) / 2,
                     GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, CS_DBLCLKS, nullptr,
                     LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
  ShowWindow(ApplicationWindow(), SW_HIDE);
}

AppForms& Forms() {
  static AppForms forms;
  return forms;
}

}  // namespace pendra
