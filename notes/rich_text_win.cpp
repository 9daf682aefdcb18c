#include "notes/rich_text_win.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "notes/text_print_win.h"
#include "platform/on_demand_win.h"
#include "platform/window_win.h"
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
  // A CR LF cut between two pieces reaches some controls (Wine's 2.0 one) as
  // two line ends; a piece that would end in CR leaves it to the next.
  if (n < left && n > 1 && (*in->bytes)[in->pos + n - 1] == '\r') --n;
  std::copy_n(in->bytes->data() + in->pos, n, buffer);
  in->pos += n;
  *got = static_cast<LONG>(n);
  return 0;
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

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return MouseButton::Right;
    case WM_MBUTTONDOWN: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
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
  if (!pendingText_.empty()) {
    ++quiet_;
    StreamIn(pendingText_);
    --quiet_;
    pendingText_.clear();
  }
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
        break;
      default: break;
    }
  } catch (...) {
    // The handlers' errors end their action only; the control still gets the
    // message.
    ShowCaughtError();
  }
  return CallWindowProcA(base, hwnd, msg, wp, lp);
}

bool RichTextControl::HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!hwnd_ || msg != WM_COMMAND || reinterpret_cast<HWND>(lp) != hwnd_) return false;
  if (HIWORD(wp) == EN_CHANGE && quiet_ == 0) FireChange();
  result = 0;
  return true;
}

void RichTextControl::FireChange() {
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

std::string RichTextControl::Text() const {
  return hwnd_ ? StreamOut(SF_TEXT) : pendingText_;
}

void RichTextControl::SetText(const std::string& text) {
  if (hwnd_) {
    if (TextLength() > kRenewAbove) Renew();
    ++quiet_;
    StreamIn(text);
    --quiet_;
  } else {
    pendingText_ = text;
  }
  FireChange();
}

int RichTextControl::TextLength() const {
  return hwnd_ ? GetWindowTextLengthA(hwnd_) : static_cast<int>(pendingText_.size());
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
  const int length = SelLength();
  if (length <= 0) return {};
  // Two bytes a character is room enough for any code page.
  std::string text(static_cast<std::size_t>(length) * 2 + 1, '\0');
  const LRESULT got = SendMessageA(hwnd_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
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

void RichTextControl::CutToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_CUT, 0, 0);
}

void RichTextControl::CopyToClipboard() {
  if (hwnd_) SendMessageA(hwnd_, WM_COPY, 0, 0);
}

void RichTextControl::PasteFromClipboard() {
  // Only the plain text, in place of the selection: no formatting comes along.
  if (!hwnd_ || !IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(hwnd_)) return;
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      text.assign(chars, strnlen(chars, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  SetSelText(text);
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
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
      (static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) > kMaxTextFileBytes)
    throw Error("Cannot open file " + path + ". It is larger than " +
                std::to_string(kMaxTextFileBytes >> 20) + " MB, more than Pendra can show.");
  return ReadWholeFile(path);
}

TextLoad RichTextControl::LoadFromFile(const std::string& path) {
  const std::string bytes = ReadTextFile(path);
  SetText(bytes);
  return {Text() == bytes};
}

std::string RichTextControl::SavedBytes(TextFormat format) const {
  if (!hwnd_) return format == TextFormat::PlainText ? pendingText_ : std::string{};
  return StreamOut(format == TextFormat::RichText ? SF_RTF : SF_TEXT);
}

void RichTextControl::SaveToFile(const std::string& path, TextFormat format) const {
  if (!hwnd_ && format == TextFormat::RichText)
    throw Error("Cannot create file " + path);  // no control to write it
  WriteWholeFile(path, SavedBytes(format));
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
      std::string url(static_cast<std::size_t>(link->chrg.cpMax - link->chrg.cpMin) * 2 + 1, '\0');
      TEXTRANGEA range{link->chrg, url.data()};
      const LRESULT got = SendMessageA(hwnd_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
      url.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
      onUrlClick(url, ButtonOf(link->msg));
      break;
    }
    default: break;
  }
  return true;
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
