#pragma once
// Small window base classes. The static window procedure keeps `this` in
// GWLP_USERDATA and dispatches to HandleMessage; it is also the one place where
// an error escaping a handler is caught and shown, so no exception ever
// crosses into Windows.
#include <windows.h>

#include <string>

namespace pendra {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }

  // Registers the class on first use (default cursor, no background brush
  // unless given, the program icon unless another is given) and creates the
  // window.
  void CreateWnd(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, HWND parentOrOwner, HMENU menu = nullptr,
                 UINT classStyle = CS_DBLCLKS, HBRUSH background = nullptr, HICON icon = nullptr);

 protected:
  // Runs for every message; the default passes it to DefWindowProc.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// Runs an action under the general error handler: an error ends the action and
// is shown in the "Pendra" stop box. Returns false when the action failed.
template <class F>
bool Guarded(F&& action);

void ShowCaughtError();  // shows the exception being handled

template <class F>
bool Guarded(F&& action) {
  try {
    action();
    return true;
  } catch (...) {
    ShowCaughtError();
    return false;
  }
}

// A top-level window that is only shown and hidden while the program runs:
// "show" makes it visible and brings it to the front; closing runs the close
// handler and hides it. The events mirror the form events of the program's
// windows (FormShow, FormHide, FormCloseQuery, FormClose).
class Form : public Window {
 public:
  void Show();   // visible and to the front; builds what was put off first
  // Visible, on top of its z-order band, and leaves the keyboard where it
  // is: for a window that appears by itself rather than at the user's word.
  void ShowInactive();
  void Hide();   // runs FormHide when it was visible
  // Runs the close query, then FormClose, then hides. Errors propagate to the
  // caller (the tray's exit stops at the first failing window). Returns false
  // when the close query refused.
  bool Close();
  // The end of the session is asked: saves what closing would (the close
  // handler) but leaves the window as it is, since the session may yet go on.
  // Errors propagate to the caller.
  virtual void SaveForSessionEnd();
  // The session ends: what hiding stores besides, for a window still visible.
  virtual void FinishSessionEnd();
  bool Visible() const;

  // The window's DPI; before the window exists, the system's.
  UINT Dpi() const;
  // A design value (pixels at 96 DPI) at the window's DPI.
  int Px(int designValue) const;

 protected:
  // Runs at the start of every Show, before FormShow: a window that puts off
  // creating its window or controls until it is first needed builds them here.
  virtual void BeforeShow() {}
  virtual void FormShow() {}
  virtual void FormHide() {}
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose() {}
  // The window moved to a monitor of another DPI (WM_DPICHANGED): Dpi() gives
  // the new value and the children have been rescaled from the old one. Fonts
  // and whatever else depends on the DPI are made anew here; the window then
  // takes the size the system suggests, and its size handler lays it out.
  virtual void DpiChanged(UINT /*oldDpi*/) {}
  // WM_CLOSE runs Close() under the general error handler. On activation the
  // control that last had the keyboard focus gets it back (at first, the
  // first control Tab reaches), as in a dialog.
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void RestoreFocus();
  HWND lastFocus_ = nullptr;
  UINT dpi_ = 0;  // 0: the window does not exist yet
};

// Small helpers. GetText and SetText take the text in the code page, as the
// ANSI calls do; the Utf8 pair takes UTF-8 through the wide calls, for the
// texts Pendra holds so (list texts, locale texts, box texts). A control
// shows every character of it only when it was made by the wide calls
// (CreateWideControl); a static text or a caption shows it whatever made it.
std::string GetText(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);
std::string GetTextUtf8(HWND hwnd);
void SetTextUtf8(HWND hwnd, const std::string& text);
RECT WindowRectOf(HWND hwnd);

}  // namespace pendra
