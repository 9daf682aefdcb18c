#include "notes/rich_text_win.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <string_view>
#include <utility>

#include "notes/text_print_win.h"
#include "notes/text_rules.h"
#include "platform/on_demand_win.h"
#include "platform/wide_text_win.h"
#include "platform/window_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/list_file.h"

namespace pendra {
namespace {

constexpr const char* kSelfProp = "PendraRichText";
constexpr LPARAM kTextLimit = 0x7FFFFFF0;
constexpr int kMaxLineLength = 4096;
// Above this many characters a text is replaced in a new window rather than
// emptied in place: 16,000 characters empty in about 10 ms under Wine, a
// megabyte takes minutes.
constexpr int kRenewAbove = 16 * 1024;

struct InStream {
  const std::string* bytes;
  std::size_t pos;
};

DWORD CALLBACK ReadIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* in = reinterpret_cast<InStream*>(cookie);
  const std::size_t left = in->bytes->size() - in->pos;
  std::size_t n = std::min(left, static_cast<std::size_t>(size));
  // The control converts each piece alone: one that ended inside a character
  // of two bytes (or of UTF-8) would cut it, and the rest of the piece after it.
  if (n < left) {
    const std::string_view rest(in->bytes->data() + in->pos, left);
    n = std::max<std::size_t>(AnsiCodePage().Cut(rest, n).size(), 1);
  }
  // A CR LF cut between two pieces reaches some controls (Wine's 2.0 one) as
  // two line ends; a piece that would end in CR leaves it to the next.
  if (n < left && n > 1 && (*in->bytes)[in->pos + n - 1] == '\r') --n;
  std::copy_n(in->bytes->data() + in->pos, n, buffer);
  in->pos += n;
  *got = static_cast<LONG>(n);
  return 0;
}

struct WideInStream {
  const std::wstring* text;
  std::size_t pos;  // in characters
};

DWORD CALLBACK ReadInWide(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* in = reinterpret_cast<WideInStream*>(cookie);
  const std::size_t left = in->text->size() - in->pos;
  std::size_t n = std::min(left, static_cast<std::size_t>(size) / sizeof(wchar_t));
  // As for bytes: a piece ends neither between CR and LF nor inside a
  // surrogate pair.
  if (n < left && n > 1) {
    const wchar_t last = (*in->text)[in->pos + n - 1];
    if (last == L'\r' || (last >= 0xD800 && last <= 0xDBFF)) --n;
  }
  std::memcpy(buffer, in->text->data() + in->pos, n * sizeof(wchar_t));
  in->pos += n;
  *got = static_cast<LONG>(n * sizeof(wchar_t));
  return 0;
}

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::u16string_view Utf16(std::wstring_view text) {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

std::wstring FromUtf16(std::u16string_view text) { return {reinterpret_cast<const wchar_t*>(text.data()), text.size()}; }

// A file's text (without its mark) as characters.
std::wstring WideOfFile(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf16Le) {  // the system's own byte order: copied as it is
    std::wstring wide(text.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), text.data(), wide.size() * sizeof(wchar_t));
    return wide;
  }
  if (encoding == TextEncoding::Utf16Be) return FromUtf16(FromUtf16Bytes(text, encoding));
  return Widen(IsUtf8(encoding) ? CP_UTF8 : CP_ACP, text);
}

struct OutStream {
  std::string* out;
  bool outOfMemory;
};

DWORD CALLBACK WriteOut(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* stream = reinterpret_cast<OutStream*>(cookie);
  // No exception may cross the control's own code: a text too large to copy
  // ends the stream, and the failure is raised once the control has returned.
  try {
    stream->out->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    stream->outOfMemory = true;
    *got = 0;
    return 1;
  }
  *got = size;
  return 0;
}

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

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

// A file over the most a control takes is not read at all.
void CheckTextFileSize(const std::string& path) {
  const std::optional<FileFacts> facts = FactsOf(path);
  if (facts && facts->size > kMaxTextFileBytes)
    throw Error("Cannot open file " + path + ". It is larger than " +
                std::to_string(kMaxTextFileBytes >> 20) + " MB, more than Pendra can show.");
}

}  // namespace

RichTextControl::~RichTextControl() {
  if (hwnd_ && IsWindow(hwnd_)) {
    Unsubclass();
    DestroyWindow(hwnd_);
  }
}

void RichTextControl::Unsubclass() {
  RemovePropA(hwnd_, kSelfProp);
  SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(baseProc_));
}

void RichTextControl::Renew() {
  const HWND old = hwnd_;
  const HWND parent = GetParent(old);
  const int id = GetDlgCtrlID(old);
  const HWND before = GetWindow(old, GW_HWNDPREV);
  const bool focused = GetFocus() == old;
  RECT bounds = WindowRectOf(old);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  Unsubclass();
  hwnd_ = nullptr;
  DestroyWindow(old);
  Create(parent, id, bounds, designed_);
  SetWindowPos(hwnd_, before ? before : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (focused) ::SetFocus(hwnd_);
}

void RichTextControl::Create(HWND parent, int id, const RECT& bounds, const FontSpec& designed) {
  if (hwnd_) return;
  if (!LoadLibraryOnce()) throw Error(std::string("Cannot load the text control ") + ClassName());
  hwnd_ = CreateWindowExA(WS_EX_CLIENTEDGE, ClassName(), "",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN |
                              ES_NOHIDESEL | ExtraStyle(),
                          bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) throw Error(std::string("Cannot create the text control ") + ClassName());
  SetPropA(hwnd_, kSelfProp, this);
  overtype_ = false;  // a new window types in insert mode
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, kTextLimit);
  Configure();
  designed_ = designed;
  if (colors_) SendMessageA(hwnd_, EM_SETBKGNDCOLOR, 0, colors_->background);

  // A font given before the window existed is kept, in the designed face
  // when it names none.
  designedSize_ = designed.size > 0 ? designed.size : designedSize_;
  if (!fontSet_) {
    font_ = designed;
  } else if (font_.name.empty()) {
    font_.name = designed.name;
  }
  ApplyFont();
  if (!pendingText_.empty()) PutText(std::exchange(pendingText_, {}));
  if (!pendingWide_.empty()) PutWide(std::exchange(pendingWide_, {}));
}

void RichTextControl::SetBounds(const RECT& r) {
  if (hwnd_) MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void RichTextControl::SetColors(const ColorPair& colors) {
  // Colours come again with every change of the system's settings; a text of
  // megabytes is formatted anew only when they differ.
  if (colors_ == colors) return;
  colors_ = colors;
  if (!hwnd_) return;
  SendMessageA(hwnd_, EM_SETBKGNDCOLOR, 0, colors.background);
  ApplyFont();
}

void RichTextControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

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

bool RichTextControl::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!hwnd_ || msg != WM_COMMAND || reinterpret_cast<HWND>(lp) != hwnd_) return false;
  if (HIWORD(wp) == EN_CHANGE && quiet_ == 0) FireChange();
  result = 0;
  return true;
}

void RichTextControl::FireChange() {
  modified_ = true;
  if (onChange) onChange();
}

std::string RichTextControl::StreamOut(UINT format) const {
  std::string out;
  if (format == SF_TEXT) {
    // Room for the whole text at once: a string that grows by doubling needs
    // twice a large text's size, more than a 32-bit process may find.
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    const LRESULT bytes = SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (bytes > 0) out.reserve(static_cast<std::size_t>(bytes));
  }
  OutStream sink{&out, false};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&sink), 0, WriteOut};
  SendMessageA(hwnd_, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  if (sink.outOfMemory) throw std::bad_alloc();
  return out;
}

void RichTextControl::StreamIn(const std::string& bytes) {
  InStream in{&bytes, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadIn};
  SendMessageA(hwnd_, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

void RichTextControl::StreamInWide(const std::wstring& text) {
  WideInStream in{&text, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadInWide};
  SendMessageA(hwnd_, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

void RichTextControl::PutText(const std::string& text) {
  if (!hwnd_) {
    pendingText_ = text;
    return;
  }
  if (TextLength() > kRenewAbove) Renew();
  ++quiet_;
  StreamIn(text);
  --quiet_;
}

void RichTextControl::PutWide(std::wstring text) {
  if (!hwnd_) {
    pendingWide_ = std::move(text);
    return;
  }
  // Every text goes in as UTF-16: the control converts a stream of bytes
  // piece by piece, and cuts a character of two bytes, or of UTF-8, where a
  // piece ends.
  if (TextLength() > kRenewAbove) Renew();
  ++quiet_;
  StreamInWide(text);
  --quiet_;
}

std::string RichTextControl::Text() const {
  if (hwnd_) return StreamOut(SF_TEXT);
  return HoldsUnicode() ? Narrow(CP_ACP, pendingWide_) : pendingText_;
}

void RichTextControl::SetText(const std::string& text) {
  if (HoldsUnicode()) {
    PutWide(Widen(CP_ACP, text));
  } else {
    PutText(text);
  }
  FireChange();
}

std::wstring RichTextControl::WideText() const {
  if (!hwnd_) return HoldsUnicode() ? pendingWide_ : Widen(CP_ACP, pendingText_);
  if (!HoldsUnicode()) return Widen(CP_ACP, Text());
  GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT chars = SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  return chars > 0 ? GetWide(static_cast<std::size_t>(chars), GT_USECRLF) : std::wstring();
}

std::wstring RichTextControl::GetWide(std::size_t chars, DWORD flags) const {
  std::wstring text(chars + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = flags;
  get.codepage = 1200;
  const LRESULT got = SendMessageA(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, static_cast<LRESULT>(chars))));
  return text;
}

int RichTextControl::TextLength() const {
  if (hwnd_) return GetWindowTextLengthA(hwnd_);
  return static_cast<int>(HoldsUnicode() ? pendingWide_.size() : pendingText_.size());
}

int RichTextControl::SelStart() const {
  if (!hwnd_) return 0;
  CHARRANGE r{};
  SendMessageA(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  return r.cpMin;
}

int RichTextControl::SelLength() const {
  if (!hwnd_) return 0;
  CHARRANGE r{};
  SendMessageA(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  return r.cpMax - r.cpMin;
}

std::string RichTextControl::SelText() const {
  if (SelLength() <= 0) return {};
  // Read wide, or streamed: read into a buffer in the code page, the control
  // stops at two bytes a character, short of UTF-8's four.
  if (HoldsUnicode()) return Narrow(CP_ACP, GetWide(static_cast<std::size_t>(SelLength()), GT_SELECTION));
  std::string text = StreamOut(SF_TEXT | SFF_SELECTION);
  // A selection past the text's last character streams the line end that
  // closes the text too.
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT chars = SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (text.ends_with("\r\n") && chars > 0 && SelStart() + SelLength() > chars) text.resize(text.size() - 2);
  return text;
}

void RichTextControl::SetSelText(const std::string& text) {
  if (hwnd_) SendMessageA(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void RichTextControl::Select(int start, int length) {
  if (!hwnd_) return;
  CHARRANGE r{start, length < 0 ? -1 : start + length};
  SendMessageA(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

bool RichTextControl::ReadOnly() const {
  return hwnd_ && ((GetWindowLongA(hwnd_, GWL_STYLE) & ES_READONLY) ||
                   (SendMessageA(hwnd_, EM_GETOPTIONS, 0, 0) & ECO_READONLY));
}

void RichTextControl::CutToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_CUT, 0, 0);
}

void RichTextControl::CopyToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_COPY, 0, 0);
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

void RichTextControl::SetFont(const FontSpec& font) {
  font_ = font;
  fontSet_ = true;
  if (hwnd_) ApplyFont();
}

FontSpec RichTextControl::DisplayFont() const {
  // The largest size the control takes (1638 points); a stored size beyond it,
  // from a hand-edited setting, is shown at that size rather than overflowing.
  constexpr int kLargestPointSize = 1638;
  FontSpec shown = font_;
  if (shown.size <= 0) shown.size = designedSize_;
  shown.size = std::min(shown.size, kLargestPointSize);
  return shown;
}

void RichTextControl::ApplyFont() {
  const FontSpec shown = DisplayFont();
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
              CFM_STRIKEOUT;
  cf.dwEffects = (shown.style.bold ? CFE_BOLD : 0) | (shown.style.italic ? CFE_ITALIC : 0) |
                 (shown.style.underline ? CFE_UNDERLINE : 0) |
                 (shown.style.strikeOut ? CFE_STRIKEOUT : 0);
  cf.yHeight = shown.size * 20;
  cf.crTextColor = static_cast<COLORREF>(colors_ ? colors_->text : shown.color) & 0xFFFFFF;
  shown.name.copy(cf.szFaceName, sizeof cf.szFaceName - 1);
  // A font is no change of the text: the editor's modified flag must not see it.
  ++quiet_;
  SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  --quiet_;
}

std::string ReadTextFile(const std::string& path) {
  CheckTextFileSize(path);
  return ReadWholeFile(path);
}

TextLoad RichTextControl::LoadFromFile(const std::string& path) {
  return LoadText(ReadTextFile(Utf8FromCodePage(path)));
}

TextLoad RichTextControl::LoadText(const std::string& bytes) {
  TextLoad load{true, DetectEncoding(bytes)};
  const std::string_view text = TextOfFile(bytes, load.stored);
  if (HoldsUnicode()) {
    // The control would make every line end CR LF in its own way (CR CR LF
    // a blank); made so first, each line end of the file stays one.
    std::wstring wide = WideOfFile(text, load.stored);
    load.faithful = HasOnlyCrLfLineEnds(Utf16(wide));
    if (!load.faithful) wide = FromUtf16(WithCrLfLineEnds(Utf16(wide)));
    PutWide(std::move(wide));
    encoding_ = load.stored;
  } else {
    // Held in the code page only: UTF-16 comes in converted to it, and can
    // never be saved as it was.
    const bool utf16 = IsUtf16(load.stored);
    PutText(utf16 ? Narrow(CP_ACP, WideOfFile(text, load.stored)) : bytes);
    encoding_ = TextEncoding::CodePage;
    load.faithful = !utf16 && Text() == bytes;
  }
  FireChange();
  modified_ = false;
  return load;
}

RichTextControl::Saved RichTextControl::PlainTextToSave() const {
  if (!HoldsUnicode()) return {hwnd_ ? StreamOut(SF_TEXT) : pendingText_, TextEncoding::CodePage};
  const std::wstring wide = WideText();
  std::string bytes;
  bool fits = true;
  if (encoding_ == TextEncoding::CodePage) {
    bool usedDefault = false;
    bytes = Narrow(CP_ACP, wide, &usedDefault);
    fits = FitsCodePage(Utf16(wide), Utf16(Widen(CP_ACP, bytes)), usedDefault);
  }
  const TextEncoding encoding = EncodingToSave(encoding_, fits);
  if (encoding != TextEncoding::CodePage) {
    bytes = MarkOf(encoding);
    bytes += IsUtf16(encoding) ? ToUtf16Bytes(Utf16(wide), encoding) : Narrow(CP_UTF8, wide);
  }
  return {std::move(bytes), encoding};
}

std::string RichTextControl::SavedBytes(TextFormat format) const {
  if (format == TextFormat::PlainText) return PlainTextToSave().bytes;
  return hwnd_ ? StreamOut(SF_RTF) : std::string{};
}

void RichTextControl::SaveToFile(const std::string& path, TextFormat format) const {
  if (!hwnd_ && format == TextFormat::RichText)
    throw Error("Cannot create file " + Utf8FromCodePage(path));  // no control to write it
  WriteWholeFile(Utf8FromCodePage(path), SavedBytes(format));
}

TextLoad RichTextControl::LoadFrom(DataFile& file) {
  CheckTextFileSize(file.Path());
  return LoadText(file.Read());
}

DataOutcome RichTextControl::StoreTo(DataFile& file) {
  const Saved saved = PlainTextToSave();
  DataOutcome outcome = file.Write(saved.bytes);
  if (outcome.result == SaveResult::ChangedElsewhere) {
    ReloadQuietly(file);
    return outcome;
  }
  encoding_ = saved.encoding;
  modified_ = false;
  return outcome;
}

void RichTextControl::RefreshFrom(DataFile& file) {
  if (!modified_ && file.ChangedOnDisk()) ReloadQuietly(file);
}

void RichTextControl::ReloadQuietly(DataFile& file) {
  try {
    LoadFrom(file);
  } catch (const Error&) {
    // Locked or spoiled for now: what is shown stays, and no save writes
    // over a file it could not read.
  }
}

std::vector<std::string> RichTextControl::DisplayLines() const {
  std::vector<std::string> lines;
  if (!hwnd_) return lines;
  const int count = static_cast<int>(SendMessageA(hwnd_, EM_GETLINECOUNT, 0, 0));
  std::string buffer(kMaxLineLength + 1, '\0');
  for (int i = 0; i < count; ++i) {
    *reinterpret_cast<WORD*>(buffer.data()) = kMaxLineLength;
    const LRESULT got = SendMessageA(hwnd_, EM_GETLINE, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(buffer.data()));
    std::string line(buffer.data(), static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, kMaxLineLength)));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

int RichTextControl::CharCount() const { return TextLength(); }

// ---- TRxRichEdit --------------------------------------------------------------

bool TRxRichEdit::LoadLibraryOnce() const { return EnsureRichEdit20(); }

void TRxRichEdit::Configure() {
  SendMessageA(hwnd_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageA(hwnd_, EM_AUTOURLDETECT, TRUE, 0);
  SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_LINK);
}

int TRxRichEdit::FindText(const std::string& text, int start, int length) const {
  if (!hwnd_) return -1;
  FINDTEXTEXA find{};
  find.chrg = {start, start + length};
  find.lpstrText = text.c_str();
  return static_cast<int>(
      SendMessageA(hwnd_, EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
}

int TRxRichEdit::CharCount() const {
  if (!hwnd_) return TextLength();
  GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int>(
      SendMessageA(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0));
}

bool TRxRichEdit::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY) return RichTextControl::HandleParentMessage(msg, wp, lp, result);
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  if (!hwnd_ || hdr->hwndFrom != hwnd_ || hdr->code != EN_LINK) return false;
  const auto* link = reinterpret_cast<const ENLINK*>(lp);
  result = 0;  // the control goes on handling the mouse
  switch (link->msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      pressedMin_ = link->chrg.cpMin;
      pressedMax_ = link->chrg.cpMax;
      pressedButton_ = link->msg;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const UINT down = link->msg == WM_LBUTTONUP ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
      const bool same = pressedMin_ == link->chrg.cpMin && pressedMax_ == link->chrg.cpMax &&
                        pressedButton_ == down;
      pressedMin_ = pressedMax_ = -1;
      pressedButton_ = 0;
      if (!same || !onUrlClick) break;
      onUrlClick(LinkAddress(link->chrg.cpMin, link->chrg.cpMax), ButtonOf(link->msg));
      break;
    }
    default: break;
  }
  return true;
}

std::string TRxRichEdit::LinkAddress(LONG start, LONG end) const {
  // Read wide, from the start of the text without its line ends made CR LF,
  // so that positions are the control's; a character the code page cannot
  // hold is sent as UTF-8, not as "?".
  const std::wstring upTo = GetWide(static_cast<std::size_t>(std::max<LONG>(end, 0)), GT_DEFAULT);
  const std::wstring_view link =
      std::wstring_view(upTo).substr(std::min(static_cast<std::size_t>(std::max<LONG>(start, 0)), upTo.size()));
  std::string url;
  for (std::size_t i = 0; i < link.size();) {
    const std::size_t size = link[i] >= 0xD800 && link[i] <= 0xDBFF && i + 1 < link.size() ? 2 : 1;
    const std::wstring_view character = link.substr(i, size);
    const std::optional<std::string> ansi = InAnsiCodePage(character);
    url += ansi ? *ansi : PercentEncoded(Narrow(CP_UTF8, character));
    i += size;
  }
  return url;
}

// ---- TTavrinREDIT -------------------------------------------------------------

bool TTavrinREDIT::LoadLibraryOnce() const { return EnsureRichEdit10(); }

void TTavrinREDIT::Configure() { SendMessageA(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE); }

int TTavrinREDIT::FindText(const std::string& text, int start, int length) const {
  if (!hwnd_) return -1;
  FINDTEXTA find{};
  find.chrg = {start, start + length};
  find.lpstrText = text.c_str();
  return static_cast<int>(
      SendMessageA(hwnd_, EM_FINDTEXT, FR_DOWN, reinterpret_cast<LPARAM>(&find)));
}

TextLoad TTavrinREDIT::LoadFromFile(const std::string& path) {
  if (hwnd_) SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, kTextLimit);
  const TextLoad load = RichTextControl::LoadFromFile(path);
  if (hwnd_) SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, kTextLimit);
  return load;
}

void TTavrinREDIT::PrintSelectedText() const { PrintPlainText(SelText() + "\r\n", DisplayFont()); }

}  // namespace pendra
