#include "platform/window_win.h"

#include <exception>

#include "platform/services.h"

namespace pendra {

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::CreateWnd(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                       int y, int width, int height, HWND parentOrOwner, HMENU menu,
                       UINT classStyle, HBRUSH background, HICON icon) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  if (!GetClassInfoExA(instance, className, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
  }
  CreateWindowExA(exStyle, className, title, style, x, y, width, height, parentOrOwner, menu,
                  instance, this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    LRESULT result = self->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  } catch (...) {
    ShowCaughtError();
    return 0;
  }
}

void ShowCaughtError() {
  try {
    throw;
  } catch (const std::exception& e) {
    ReportError(e.what());
  } catch (...) {
    ReportError("Unexpected error");
  }
}

void Form::Show() {
  BeforeShow();
  if (!Visible()) {
    FormShow();
    ShowWindow(Handle(), SW_SHOW);
  }
  BringWindowToTop(Handle());
  SetForegroundWindow(Handle());
}

void Form::Hide() {
  if (Visible()) {
    FormHide();
    ShowWindow(Handle(), SW_HIDE);
  }
}

bool Form::Close() {
  if (!FormCloseQuery()) return false;
  FormClose();
  Hide();
  return true;
}

bool Form::Visible() const { return Handle() && IsWindowVisible(Handle()); }

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    Guarded([&] { Close(); });
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

std::string GetText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

void SetText(HWND hwnd, const std::string& text) { SetWindowTextA(hwnd, text.c_str()); }

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace pendra
