#pragma once
// The system's 8-bit code page, as far as text rules need it: which bytes
// begin a character of two bytes. Under the double-byte code pages (Japanese
// 932, Chinese 936 and 950, Korean 949) the second byte of a character is any
// of 0x40-0xFE, among them '\' and '|', so a rule that looks at single bytes
// would take the second half of a character for a separator, or cut a
// character in two. Under UTF-8 as the code page (65001) a character takes
// up to four bytes, none of them below 0x80 but the first of a plain one.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pendra {

class CodePage {
 public:
  // A single-byte code page: every byte is one character.
  CodePage() = default;
  // The code page with that number; 932, 936, 949 and 950 know their lead
  // bytes, 65001 is UTF-8, any other number is taken as single-byte.
  explicit CodePage(unsigned number);
  // As the system describes it: its number and its lead-byte ranges, pairs of
  // first and last byte.
  CodePage(unsigned number, std::span<const unsigned char> leadByteRanges);

  unsigned Number() const { return number_; }
  bool IsLeadByte(char c) const { return lead_[static_cast<unsigned char>(c)]; }
  static constexpr unsigned kUtf8 = 65001;
  // Bytes of the character at `at`: two for a lead byte followed by a second
  // byte. Every second byte is 0x40 or above, so a lead byte before a lower
  // byte (a separator, a control character) or at the end stands alone. In
  // UTF-8, a whole sequence; a byte that begins none stands alone.
  std::size_t CharSize(std::string_view text, std::size_t at) const;
  std::size_t CharCount(std::string_view text) const;
  // The longest beginning of `text` of at most `bytes` bytes that does not
  // end inside a character.
  std::string_view Cut(std::string_view text, std::size_t bytes) const;
  // The characters as the system's wide functions count them, in UTF-16
  // units: a character beyond the Basic Multilingual Plane, which only UTF-8
  // holds here, counts twice.
  std::size_t WideCount(std::string_view text) const;
  // Whether 0xB9, 0xB2 and 0xB3 are the superscript digits 1, 2 and 3, which
  // the system counts as digits in device names (the Western code pages).
  bool HasSuperscriptDigits() const { return number_ >= 1252 && number_ <= 1258; }

 private:
  std::size_t Utf8CharSize(std::string_view text, std::size_t at) const;

  unsigned number_ = 1252;
  std::array<bool, 256> lead_{};
};

// Where the file name in `path` begins: after its last '\' or '/' that is a
// character of its own; 0 when there is none.
std::size_t FileNameStart(std::string_view path, const CodePage& codePage);

// The system's ANSI code page (platform layer; single-byte off Windows).
const CodePage& AnsiCodePage();

// UTF-8: how Pendra holds the texts of its lists and the paths of its data
// files in memory, whatever the system's code page.
const CodePage& Utf8CodePage();

bool IsAscii(std::string_view text);

// Text in the system's code page as UTF-8 (platform layer; off Windows the
// code page is 1252). Bytes the code page gives no character (a lead byte
// without its second byte) come out as the system's stand-in for them.
std::string Utf8FromCodePage(std::string_view bytes);
// UTF-8 text in the system's code page (platform layer): whole when every
// character has its equal there, else with "?" where one has none.
struct CodePageText {
  std::string bytes;
  bool whole = true;
};
CodePageText CodePageFromUtf8(std::string_view text);

}  // namespace pendra
