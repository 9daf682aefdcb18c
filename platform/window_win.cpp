#include "platform/window_win.h"

#include <exception>
#include <new>

#include "platform/dpi_win.h"
#include "platform/message_loop_win.h"
#include "platform/services.h"
#include "settings/wide_text_win.h"

namespace pendra {

namespace {

// Shared: loaded once, never destroyed. Null when the module has none.
HICON ProgramIcon(int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, size, size,
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

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
    wc.hbrBackground = background;
    // A message-only window is never seen: no cursor, no icon.
    if (parentOrOwner != HWND_MESSAGE) {
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      // The program icon, unless another is given: its large and its small
      // picture for the title bar and the task switcher.
      wc.hIcon = icon ? icon : ProgramIcon(GetSystemMetrics(SM_CXICON));
      wc.hIconSm = icon ? nullptr : ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    }
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
  }
  CreateWindowExA(exStyle, className, title, style, x, y, width, height, parentOrOwner, menu,
                  instance, this);
  if (!(style & WS_CHILD) && parentOrOwner != HWND_MESSAGE) ModalScope::Adopt(hwnd_);
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
  } catch (const std::bad_alloc&) {
    ReportError("Out of memory");
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
  // A minimised window comes back to where it was.
  if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
  BringWindowToTop(Handle());
  SetForegroundWindow(Handle());
}

void Form::ShowInactive() {
  BeforeShow();
  if (Visible()) return;
  FormShow();
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
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

void Form::SaveForSessionEnd() { FormClose(); }

void Form::FinishSessionEnd() {
  if (Visible()) FormHide();
}

bool Form::Visible() const { return Handle() && IsWindowVisible(Handle()); }

UINT Form::Dpi() const { return dpi_ ? dpi_ : SystemDpi(); }

int Form::Px(int designValue) const { return ScaleToDpi(designValue, Dpi()); }

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      dpi_ = WindowDpi(Handle());
      break;
    case WM_DPICHANGED: {
      const UINT oldDpi = Dpi();
      const UINT newDpi = LOWORD(wp);
      if (newDpi == 0 || newDpi == oldDpi) return 0;
      dpi_ = newDpi;
      Guarded([&] {
        RescaleChildren(Handle(), oldDpi, newDpi);
        DpiChanged(oldDpi);
      });
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      if (suggested)
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      Guarded([&] { Close(); });
      return 0;
    case WM_NEXTDLGCTL: {
      // The keyboard handling of the message loop moves the focus through
      // this, as in a dialog: to the control given, or to the next or the
      // previous one; an edit reached this way has its text selected.
      HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp)
                               : GetNextDlgTabItem(Handle(), GetFocus(), wp != 0);
      if (target && IsChild(Handle(), target)) {
        if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
          SendMessageA(target, EM_SETSEL, 0, -1);
        SetFocus(target);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        Window::HandleMessage(msg, wp, lp);  // the focus goes to the window itself
        RestoreFocus();
        return 0;
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

void Form::RestoreFocus() {
  HWND focus = lastFocus_;
  if (!focus || !IsWindow(focus) || !IsChild(Handle(), focus) || !IsWindowVisible(focus) ||
      !IsWindowEnabled(focus))
    focus = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  if (focus && IsChild(Handle(), focus)) SetFocus(focus);
}

std::string GetText(HWND hwnd) {
  int n = GetWindowTextLengthA(hwnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

void SetText(HWND hwnd, const std::string& text) { SetWindowTextA(hwnd, text.c_str()); }

std::string GetTextUtf8(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, s.data(), n + 1);
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return Utf8OfWide(s);
}

void SetTextUtf8(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Widen(CP_UTF8, text).c_str()); }

RECT WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

}  // namespace pendra
