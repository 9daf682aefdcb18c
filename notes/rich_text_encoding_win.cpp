// The text of the controls as it comes from and goes to a file's bytes: the
// streams in and out of the control, and the encodings of the files.
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "notes/rich_text_win.h"
#include "settings/code_page.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

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
  if (IsUtf32(encoding)) return FromUtf16(FromUtf32Bytes(text, encoding));
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

}  // namespace

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

TextLoad RichTextControl::LoadText(const std::string& bytes) {
  // The 1.0 control takes its limit afresh from a load: no file is cut short.
  if (hwnd_) SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, kTextLimit);
  const TextEncoding stored = DetectEncoding(bytes);
  TextLoad load{true, stored, WhyReadOnly(bytes, stored)};
  const std::string_view text = TextOfFile(bytes, load.stored);
  if (HoldsUnicode()) {
    // The control would make every line end CR LF in its own way (CR CR LF
    // a blank); made so first, each line end of the file stays one.
    std::wstring wide = WideOfFile(text, load.stored);
    load.faithful = HasOnlyCrLfLineEnds(Utf16(wide));
    if (!load.faithful) wide = FromUtf16(WithCrLfLineEnds(Utf16(wide)));
    PutWide(std::move(wide));
    // UTF-32 is never written: saved elsewhere, the text goes as a new one.
    encoding_ = IsUtf32(load.stored) ? TextEncoding::CodePage : load.stored;
  } else {
    // Held in the code page only: UTF-16 and UTF-32 come in converted to it,
    // and can never be saved as they were.
    const bool wide = IsUtf16(load.stored) || IsUtf32(load.stored);
    PutText(wide ? Narrow(CP_ACP, WideOfFile(text, load.stored)) : bytes);
    encoding_ = TextEncoding::CodePage;
    load.faithful = !wide && Text() == bytes;
  }
  if (hwnd_) SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, kTextLimit);
  SetReadOnly(!load.readOnlyBecause.empty());
  FireChange();
  modified_ = false;
  return load;
}

SavedText RichTextControl::PlainTextToSave() const {
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

void RichTextControl::MarkStored(TextEncoding encoding) {
  encoding_ = encoding;
  modified_ = false;
}

}  // namespace pendra
