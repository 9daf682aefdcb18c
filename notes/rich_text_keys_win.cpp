// The keyboard and mouse of the text controls, taken before the control's
// own handling: the paste keys paste plain text, AltGr types its character,
// a character the code page cannot hold goes in whole.
#include <richedit.h>

#include <cstring>
#include <cwchar>

#include "notes/rich_text_win.h"
#include "platform/window_win.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

// Ctrl+V (with or without Shift) and Shift+Insert: the keys the control
// pastes by.
bool IsPasteKey(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  if (GetKeyState(VK_MENU) < 0) return false;
  return (key == 'V' && ctrl) || (key == VK_INSERT && shift && !ctrl);
}

// A key with Ctrl and Alt held, as AltGr sends it, that is no key of the
// caret's: a letter, a digit or a sign.
bool IsAltGrKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) >= 0) return false;
  return (key >= '0' && key <= 'Z') || (key >= VK_OEM_1 && key <= VK_OEM_102);
}

}  // namespace

LRESULT CALLBACK RichTextControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<RichTextControl*>(GetPropA(hwnd, kSelfProp));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  const WNDPROC base = self->baseProc_;
  if (msg == WM_NCDESTROY) {
    // Destroyed with its parent: the object outlives its window.
    RemovePropA(hwnd, kSelfProp);
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    self->hwnd_ = nullptr;
    return CallWindowProcA(base, hwnd, msg, wp, lp);
  }
  switch (msg) {
    case WM_GETDLGCODE:
      // A text pad takes every key itself: Tab types a tab, Enter a line
      // break, Esc nothing. Asked with the dialog manager's message, the rich
      // edit control would go into its own dialog mode, in which Tab also
      // moves the focus on and Esc closes the window; and with DLGC_HASSETSEL
      // the whole text would be selected when the focus came back by the
      // keyboard, for the next key to replace. So the control is never asked.
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
    case WM_PASTE:
      // The 2.0 control's own paste replaces the whole text in plain-text
      // mode, wherever the caret is; the plain-text paste replaces only the
      // selection.
      try {
        self->PasteFromClipboard();
      } catch (...) {
        ShowCaughtError();
      }
      return 0;
    default: break;
  }
  bool handled = false;
  try {
    switch (msg) {
      case WM_MOUSEMOVE:
        if (self->onMouseMove) self->onMouseMove(LOWORD(lp), HIWORD(lp));
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        if (self->onMouseDown)
          self->onMouseDown(ButtonOf(msg), static_cast<short>(LOWORD(lp)),
                            static_cast<short>(HIWORD(lp)));
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (self->onKeyDown) self->onKeyDown(wp);
        if (msg != WM_KEYDOWN || self->hwnd_ != hwnd) break;
        if (IsPasteKey(wp)) {
          handled = true;
          self->PasteFromClipboard();
        } else if (IsAltGrKey(wp)) {
          // Ctrl+Alt is AltGr: its character follows as WM_CHAR. The
          // control would take the key for its own Ctrl shortcut (Ctrl+V
          // there replaces the whole text).
          handled = true;
        } else if (wp == VK_INSERT && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0) {
          self->overtype_ = !self->overtype_;  // as the control turns its own
        }
        break;
      default: break;
    }
  } catch (...) {
    // The handlers' errors end their action only; the control still gets the
    // message.
    ShowCaughtError();
  }
  if (handled) {
    if (self->hwnd_ == hwnd && self->HoldsUnicode()) self->TakeTypedCharacter();
    return 0;
  }
  const LRESULT result = CallWindowProcA(base, hwnd, msg, wp, lp);
  if ((msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP) && self->hwnd_ == hwnd &&
      self->HoldsUnicode())
    self->TakeTypedCharacter();
  return result;
}

void RichTextControl::TakeTypedCharacter() {
  // The character a key makes waits in the queue in Unicode; an ANSI message
  // loop would hand it on in the code page, as "?" where the code page has no
  // such character, and cut into bytes where UTF-8 is the code page. Such a
  // character goes into the text whole instead.
  MSG next;
  if (!PeekMessageW(&next, hwnd_, WM_CHAR, WM_CHAR, PM_NOREMOVE) || next.wParam < 0x80) return;
  wchar_t typed[3] = {static_cast<wchar_t>(next.wParam), 0, 0};
  const bool pair = typed[0] >= 0xD800 && typed[0] <= 0xDBFF;
  const bool outside = pair || GetACP() == CP_UTF8 || !InAnsiCodePage(std::wstring_view(typed, 1));
  if (!outside || ReadOnly()) return;
  PeekMessageW(&next, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE);
  if (pair && PeekMessageW(&next, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE)) typed[1] = static_cast<wchar_t>(next.wParam);
  if (overtype_ && SelLength() == 0) {
    // In overtype the character takes the place of the one after the caret,
    // as the control's own typing does, but never of a line's end.
    const int at = SelStart();
    Select(at, 2);
    const std::wstring after = GetWide(2, GT_SELECTION);
    const bool lineEnd = after.empty() || after[0] == L'\r' || after[0] == L'\n';
    Select(at, lineEnd ? 0 : after.size() == 2 && after[0] >= 0xD800 && after[0] <= 0xDBFF ? 2 : 1);
  }
  SETTEXTEX how{ST_SELECTION | ST_KEEPUNDO, 1200};
  SendMessageA(hwnd_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(typed));
}

void RichTextControl::PasteFromClipboard() {
  // Only the plain text, in place of the selection: no formatting comes along.
  // A control that holds Unicode takes the clipboard's Unicode text, so that
  // no character outside the code page is lost on the way.
  if (!hwnd_ || ReadOnly()) return;
  const bool wide = HoldsUnicode() && IsClipboardFormatAvailable(CF_UNICODETEXT);
  if ((!wide && !IsClipboardFormatAvailable(CF_TEXT)) || !OpenClipboard(hwnd_)) return;
  std::string text;
  std::wstring wideText;
  if (HANDLE data = GetClipboardData(wide ? CF_UNICODETEXT : CF_TEXT)) {
    if (const void* locked = GlobalLock(data)) {
      if (wide) {
        const auto* chars = static_cast<const wchar_t*>(locked);
        wideText.assign(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
      } else {
        const auto* chars = static_cast<const char*>(locked);
        text.assign(chars, strnlen(chars, GlobalSize(data)));
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!wide) {
    SetSelText(text);
    return;
  }
  SETTEXTEX how{ST_SELECTION | ST_KEEPUNDO, 1200};
  SendMessageA(hwnd_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(wideText.c_str()));
}

}  // namespace pendra
