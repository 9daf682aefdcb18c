#include "notes/rich_text_win.h"

#include <richedit.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/window_win.h"
#include "settings/errors.h"
#include "settings/wide_text_win.h"

namespace pendra {

const char* const RichTextControl::kSelfProp = "PendraRichText";

namespace {

constexpr int kMaxLineLength = 4096;
// Above this many characters a text is replaced in a new window rather than
// emptied in place: 16,000 characters empty in about 10 ms under Wine, a
// megabyte takes minutes.
constexpr int kRenewAbove = 16 * 1024;

}  // namespace

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

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
  if (readOnly_) SendMessageA(hwnd_, EM_SETREADONLY, TRUE, 0);
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
  return readOnly_ || (hwnd_ && ((GetWindowLongA(hwnd_, GWL_STYLE) & ES_READONLY) ||
                                 (SendMessageA(hwnd_, EM_GETOPTIONS, 0, 0) & ECO_READONLY)));
}

void RichTextControl::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (hwnd_) SendMessageA(hwnd_, EM_SETREADONLY, readOnly, 0);
}

void RichTextControl::CutToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_CUT, 0, 0);
}

void RichTextControl::CopyToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_COPY, 0, 0);
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

}  // namespace pendra
