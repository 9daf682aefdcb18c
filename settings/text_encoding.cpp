#include "settings/text_encoding.h"

namespace pendra {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kUtf32LeMark("\xFF\xFE\0\0", 4), kUtf32BeMark("\0\0\xFE\xFF", 4);

template <class Char>
bool OnlyCrLf(std::basic_string_view<Char> text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 == text.size() || text[i + 1] != '\n') return false;
      ++i;
    } else if (text[i] == '\n') {
      return false;
    }
  }
  return true;
}

template <class Char>
std::basic_string<Char> CrLf(std::basic_string_view<Char> text) {
  std::basic_string<Char> out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    if (c == '\r' || c == '\n') {
      out += '\r';
      out += '\n';
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string_view MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom: return kUtf8Bom;
    case TextEncoding::Utf16Le: return kUtf16LeMark;
    case TextEncoding::Utf16Be: return kUtf16BeMark;
    case TextEncoding::Utf32Le: return kUtf32LeMark;
    case TextEncoding::Utf32Be: return kUtf32BeMark;
    default: return {};
  }
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    int more;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
      return false;  // a continuation byte, C0, C1 or F5 and above
    }
    if (end - p <= more) return false;
    if (p[1] < low || p[1] > high) return false;
    for (int i = 2; i <= more; ++i)
      if ((p[i] & 0xC0) != 0x80) return false;
    p += more + 1;
  }
  return true;
}

TextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf32LeMark)) return TextEncoding::Utf32Le;
  if (bytes.starts_with(kUtf32BeMark)) return TextEncoding::Utf32Be;
  // At any length: an odd one read as the code page would be spoiled by the
  // first save; read so, it is shown read-only.
  if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::Utf16Le;
  if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::Utf16Be;
  if (bytes.starts_with(kUtf8Bom))
    return IsValidUtf8(bytes.substr(kUtf8Bom.size())) ? TextEncoding::Utf8Bom : TextEncoding::CodePage;
  bool beyondAscii = false;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      beyondAscii = true;
      break;
    }
  }
  return beyondAscii && IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::CodePage;
}

std::string_view WhyReadOnly(std::string_view bytes, TextEncoding encoding) {
  if (IsUtf32(encoding)) return "it is stored as UTF-32, which Pendra does not write";
  if (IsUtf16(encoding) && bytes.size() % 2 != 0)
    return "it is stored as UTF-16 but ends in half a character, which no save could keep";
  return {};
}

std::string_view TextOfFile(std::string_view bytes, TextEncoding encoding) {
  const std::string_view mark = MarkOf(encoding);
  if (!mark.empty() && bytes.starts_with(mark)) bytes.remove_prefix(mark.size());
  return bytes;
}

std::u16string FromUtf16Bytes(std::string_view bytes, TextEncoding encoding) {
  const int high = encoding == TextEncoding::Utf16Be ? 0 : 1;
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i + high]) << 8 |
                                    static_cast<unsigned char>(bytes[2 * i + 1 - high]));
  return text;
}

std::string ToUtf16Bytes(std::u16string_view text, TextEncoding encoding) {
  const int high = encoding == TextEncoding::Utf16Be ? 0 : 1;
  std::string bytes(text.size() * 2, '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i + high] = static_cast<char>(text[i] >> 8);
    bytes[2 * i + 1 - high] = static_cast<char>(text[i] & 0xFF);
  }
  return bytes;
}

std::u16string FromUtf32Bytes(std::string_view bytes, TextEncoding encoding) {
  const bool big = encoding == TextEncoding::Utf32Be;
  std::u16string text;
  text.reserve(bytes.size() / 4);
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    char32_t c = 0;
    for (int b = 0; b < 4; ++b)
      c |= static_cast<char32_t>(static_cast<unsigned char>(bytes[i + b])) << (8 * (big ? 3 - b : b));
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(c);
    }
  }
  return text;
}

TextEncoding EncodingToSave(TextEncoding loaded, bool fitsCodePage) {
  if (loaded != TextEncoding::CodePage) return loaded;
  return fitsCodePage ? TextEncoding::CodePage : TextEncoding::Utf8Bom;
}

bool FitsCodePage(std::u16string_view text, std::u16string_view backFromCodePage, bool usedDefaultChar) {
  return !usedDefaultChar && text == backFromCodePage;
}

bool HasOnlyCrLfLineEnds(std::string_view text) { return OnlyCrLf(text); }
bool HasOnlyCrLfLineEnds(std::u16string_view text) { return OnlyCrLf(text); }
std::string WithCrLfLineEnds(std::string_view text) { return CrLf(text); }
std::u16string WithCrLfLineEnds(std::u16string_view text) { return CrLf(text); }

}  // namespace pendra
