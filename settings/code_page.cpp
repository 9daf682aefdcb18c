#include "settings/code_page.h"

namespace pendra {
namespace {

// The lowest second byte of any double-byte code page.
constexpr unsigned char kLowestTrailByte = 0x40;

}  // namespace

CodePage::CodePage(unsigned number) : number_(number) {
  switch (number) {
    case 932: {
      constexpr unsigned char ranges[] = {0x81, 0x9F, 0xE0, 0xFC};
      *this = CodePage(number, ranges);
      break;
    }
    case 936: case 949: case 950: {
      constexpr unsigned char ranges[] = {0x81, 0xFE};
      *this = CodePage(number, ranges);
      break;
    }
    default: break;
  }
}

CodePage::CodePage(unsigned number, std::span<const unsigned char> leadByteRanges) : number_(number) {
  for (std::size_t i = 0; i + 1 < leadByteRanges.size(); i += 2)
    for (unsigned b = leadByteRanges[i]; b <= leadByteRanges[i + 1] && b < 256; ++b) lead_[b] = true;
}

std::size_t CodePage::Utf8CharSize(std::string_view text, std::size_t at) const {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t size = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  if (lead > 0xF4 || at + size > text.size()) return 1;
  for (std::size_t i = 1; i < size; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  return size;
}

std::size_t CodePage::CharSize(std::string_view text, std::size_t at) const {
  if (number_ == kUtf8) return Utf8CharSize(text, at);
  return IsLeadByte(text[at]) && at + 1 < text.size() &&
                 static_cast<unsigned char>(text[at + 1]) >= kLowestTrailByte
             ? 2
             : 1;
}

std::size_t CodePage::CharCount(std::string_view text) const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharSize(text, i)) ++count;
  return count;
}

std::string_view CodePage::Cut(std::string_view text, std::size_t bytes) const {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharSize(text, end);
    if (next > bytes) break;
    end = next;
  }
  return text.substr(0, end);
}

std::size_t CodePage::WideCount(std::string_view text) const {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t size = CharSize(text, i);
    count += size == 4 ? 2 : 1;
    i += size;
  }
  return count;
}

const CodePage& Utf8CodePage() {
  static const CodePage utf8(CodePage::kUtf8);
  return utf8;
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::size_t FileNameStart(std::string_view path, const CodePage& codePage) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t size = codePage.CharSize(path, i);
    if (size == 1 && (path[i] == '\\' || path[i] == '/')) start = i + 1;
    i += size;
  }
  return start;
}

}  // namespace pendra
