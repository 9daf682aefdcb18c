#include <gtest/gtest.h>

#include "settings/code_page.h"

namespace pendra {
namespace {

TEST(CodePage, DoubleByteCharactersAreCountedCutAndSkippedWhole) {
  struct Case {
    unsigned codePage;
    std::string text;
    std::size_t chars;
    std::size_t cutAt;
    std::string cut;
    std::size_t nameStart;
  } cases[] = {
      // 表 is 95 5C: its second byte is no separator in 932.
      {1252, "C:\\d\\\x95\x5C.pnd", 11, 6, "C:\\d\\\x95", 7},
      {932, "C:\\d\\\x95\x5C.pnd", 10, 6, "C:\\d\\", 5},
      {932, "\x95\x5C\x95\x5C", 2, 3, "\x95\x5C", 0},
      // A lead byte at the end, or before a byte below 0x40, stands alone.
      {932, "ab\x95", 3, 2, "ab", 0},
      {932, "a\x95/b", 4, 2, "a\x95", 3},
      {932, "\xA0\x5C", 2, 1, "\xA0", 2},  // 0xA0 begins no character in 932
      {936, "a\\\xFE\x5C", 3, 3, "a\\", 2},
      {950, "\x81\x7Cx", 2, 2, "\x81\x7C", 0},
      // UTF-8 as the code page: 日 is E6 97 A5; a sequence cut short is bytes.
      {65001, "C:\\\xE6\x97\xA5\\a", 6, 6, "C:\\\xE6\x97\xA5", 7},
      {65001, "\xF0\x9F\x98\x80\xE6\x97", 3, 3, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << c.text);
    const CodePage codePage(c.codePage);
    EXPECT_EQ(codePage.CharCount(c.text), c.chars);
    EXPECT_EQ(codePage.Cut(c.text, c.cutAt), c.cut);
    EXPECT_EQ(FileNameStart(c.text, codePage), c.nameStart);
  }
}

}  // namespace
}  // namespace pendra
