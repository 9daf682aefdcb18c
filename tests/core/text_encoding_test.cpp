#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "settings/text_encoding.h"

namespace pendra {
namespace {

using E = TextEncoding;

TEST(TextEncoding, FilesAreReadAsUtf8OnlyWhenTheirBytesSaySo) {
  const struct {
    const char* what;
    std::string bytes;
    E read;
    bool readOnly = false;  // no save could give these bytes back
  } cases[] = {
      {"empty", "", E::CodePage},
      {"plain ASCII", "one\r\ntwo", E::CodePage},
      {"the mark alone", "\xEF\xBB\xBF", E::Utf8Bom},
      {"the mark and ASCII", "\xEF\xBB\xBFone", E::Utf8Bom},
      {"Western and euro", "Caf\xC3\xA9 au lait \xE2\x82\xAC" "3", E::Utf8},
      {"Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", E::Utf8},
      {"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", E::Utf8},
      {"four bytes, the last character", "\xF4\x8F\xBF\xBF", E::Utf8},
      {"code page 1252", "Caf\xE9 \x80" "3", E::CodePage},
      {"code page 932", "\x97\x5C\x92\xE8\x95\x5C", E::CodePage},
      {"overlong slash", "a\xC0\xAF", E::CodePage},
      {"overlong three bytes", "\xE0\x80\xAF", E::CodePage},
      {"overlong four bytes", "\xF0\x80\x80\xAF", E::CodePage},
      {"a surrogate", "\xED\xA0\x80", E::CodePage},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", E::CodePage},
      {"F5 lead byte", "\xF5\x80\x80\x80", E::CodePage},
      {"cut short at the end", "caf\xC3", E::CodePage},
      {"cut short before ASCII", "\xE2\x82x", E::CodePage},
      {"a lone continuation byte", "\x80", E::CodePage},
      // A damaged file after the mark keeps its bytes in the code page.
      {"the mark and 1252", "\xEF\xBB\xBF" "Caf\xE9", E::CodePage},
      {"UTF-16 LE", std::string("\xFF\xFEH\0\n\0", 6), E::Utf16Le},
      {"UTF-16 BE", std::string("\xFE\xFF\0H\0\r", 6), E::Utf16Be},
      {"the UTF-16 mark alone", "\xFF\xFE", E::Utf16Le},
      {"UTF-16 LE, odd length", std::string("\xFF\xFEH\0\n", 5), E::Utf16Le, true},
      {"UTF-16 BE, odd length", std::string("\xFE\xFF\0H\0", 5), E::Utf16Be, true},
      {"UTF-32 LE", std::string("\xFF\xFE\0\0H\0\0\0", 8), E::Utf32Le, true},
      {"UTF-32 BE", std::string("\0\0\xFE\xFF\0\0\0H", 8), E::Utf32Be, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DetectEncoding(c.bytes), c.read) << c.what;
    EXPECT_EQ(WhyReadOnly(c.bytes, c.read).empty(), !c.readOnly) << c.what;
  }
  EXPECT_EQ(TextOfFile("\xEF\xBB\xBFone", E::Utf8Bom), "one");
  EXPECT_EQ(TextOfFile("\xEF\xBB\xBFone", E::CodePage), "\xEF\xBB\xBFone");
  // UTF-16 in either byte order, a pair of surrogates and CR LF among it.
  const std::u16string text = u"H\u00E9\u65E5\U0001F600\r\n";
  const std::string le("H\0\xE9\0\xE5\x65\x3D\xD8\x00\xDE\r\0\n\0", 14);
  std::string be = le;
  for (std::size_t i = 0; i < be.size(); i += 2) std::swap(be[i], be[i + 1]);
  for (const auto& [encoding, bytes] : {std::pair{E::Utf16Le, le}, std::pair{E::Utf16Be, be}}) {
    const std::string file = std::string(MarkOf(encoding)) + bytes;
    EXPECT_EQ(DetectEncoding(file), encoding);
    EXPECT_EQ(FromUtf16Bytes(TextOfFile(file, encoding), encoding), text);
    EXPECT_EQ(ToUtf16Bytes(text, encoding), bytes);
  }
  // UTF-32 shown: U+FFFD for no character, a value cut short left out.
  EXPECT_EQ(FromUtf32Bytes(std::string("H\0\0\0\0\xF6\x01\0\0\xD8\0\0\x01", 13), E::Utf32Le), u"H\U0001F600\uFFFD");
  EXPECT_EQ(FromUtf32Bytes(std::string("\0\0\0H\0\x01\xF6\0\0\0\xD8\0\x01", 13), E::Utf32Be), u"H\U0001F600\uFFFD");
}

TEST(TextEncoding, AUtf8FileStaysUtf8AndACodePageTextGoesToUtf8OnlyWhenItDoesNotFit) {
  const struct {
    E loaded;
    bool fits;
    E saved;
  } cases[] = {
      {E::CodePage, true, E::CodePage}, {E::CodePage, false, E::Utf8Bom}, {E::Utf8, true, E::Utf8},
      {E::Utf8, false, E::Utf8},        {E::Utf8Bom, true, E::Utf8Bom},   {E::Utf8Bom, false, E::Utf8Bom},
      {E::Utf16Le, true, E::Utf16Le},   {E::Utf16Be, false, E::Utf16Be},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodingToSave(c.loaded, c.fits), c.saved);

  EXPECT_TRUE(FitsCodePage(u"Caf\u00E9 ?", u"Caf\u00E9 ?", false));  // a typed "?" is no loss
  EXPECT_FALSE(FitsCodePage(u"\u0416", u"?", true));
  EXPECT_FALSE(FitsCodePage(u"\u0101", u"a", false));  // a best-fit stand-in
}

TEST(TextEncoding, LineEndsBecomeCrLfAsAListFileReadsThem) {
  const struct {
    std::string text, crlf;
  } cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb"},  // not one line end with a blank
      {"a\n\rb", "a\r\n\r\nb"},
      {"a\r", "a\r\n"},
      {"\xD0\x96\r\xE2\x82\xAC\n", "\xD0\x96\r\n\xE2\x82\xAC\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithCrLfLineEnds(c.text), c.crlf) << c.text;
    EXPECT_EQ(HasOnlyCrLfLineEnds(c.text), c.text == c.crlf) << c.text;
    // The same for wide text, byte for character.
    const std::u16string wide(c.text.begin(), c.text.end());
    EXPECT_EQ(WithCrLfLineEnds(wide), std::u16string(c.crlf.begin(), c.crlf.end())) << c.text;
    EXPECT_EQ(HasOnlyCrLfLineEnds(wide), c.text == c.crlf) << c.text;
  }
}

}  // namespace
}  // namespace pendra
