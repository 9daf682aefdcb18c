#include "notes/text_encoding.h"

namespace pendra {

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

std::string_view TextOfFile(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8Bom && bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return bytes;
}

TextEncoding EncodingToSave(TextEncoding loaded, bool fitsCodePage) {
  if (loaded != TextEncoding::CodePage) return loaded;
  return fitsCodePage ? TextEncoding::CodePage : TextEncoding::Utf8Bom;
}

bool FitsCodePage(std::u16string_view text, std::u16string_view backFromCodePage, bool usedDefaultChar) {
  return !usedDefaultChar && text == backFromCodePage;
}

bool HasOnlyCrLfLineEnds(std::string_view text) {
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

std::string WithCrLfLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace pendra
