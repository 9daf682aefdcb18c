#include <gtest/gtest.h>

#include "notes/print_layout.h"

namespace pendra {
namespace {

// Ten characters of 10 units to a line, three lines of 10 units to a page.
PrintMetrics Metrics() {
  PrintMetrics m;
  m.pageWidth = 100;
  m.pageHeight = 30;
  m.lineHeight = 10;
  m.averageCharWidth = 10;
  m.charWidths.fill(10);
  return m;
}

using Pages = std::vector<PrintPage>;

Pages Lay(std::string_view text, LineBreaks breaks = LineBreaks::AtCharacter) {
  return LayOutPages(text, Metrics(), breaks);
}

TEST(PrintLayout, LineEndsOfEveryKindAndAFullPageMoveOn) {
  EXPECT_EQ(Lay("ab\r\ncd\ref\ngh"),
            (Pages{{{0, 0, "ab"}, {0, 10, "cd"}, {0, 20, "ef"}}, {{0, 0, "gh"}}}));
  EXPECT_EQ(Lay("\r\n\r\nx"), (Pages{{{0, 20, "x"}}}));
  // A page filled by its last line does not leave an empty page behind.
  EXPECT_EQ(Lay("a\r\nb\r\nc\r\n").size(), 1u);
  EXPECT_EQ(Lay("").size(), 1u);
}

TEST(PrintLayout, ALineWiderThanThePageContinuesOnTheNext) {
  EXPECT_EQ(Lay("abcdefghijklm"), (Pages{{{0, 0, "abcdefghij"}, {0, 10, "klm"}}}));
  // The formatted printout wraps at the last blank instead.
  EXPECT_EQ(Lay("hello world again", LineBreaks::AtWord),
            (Pages{{{0, 0, "hello "}, {0, 10, "world "}, {0, 20, "again"}}}));
  EXPECT_EQ(Lay("abcdefghijkl", LineBreaks::AtWord), Lay("abcdefghijkl"));
}

TEST(PrintLayout, ADoubleByteCharacterIsNeverCutAtALinesEnd) {
  PrintMetrics m = Metrics();
  m.codePage = CodePage(932);
  const std::string tei = "\x92\xE8";  // 定, two bytes of 10 units each
  std::string text = "a";
  for (int i = 0; i < 5; ++i) text += tei;
  // At 90 units the fifth character would end at 110: it goes whole to the next line.
  EXPECT_EQ(LayOutPages(text, m, LineBreaks::AtCharacter),
            (Pages{{{0, 0, text.substr(0, 9)}, {0, 10, tei}}}));
  // Its width as the font gives it.
  m.doubleByteWidth = [](std::string_view c) { return c.size() == 2 ? 15 : 0; };
  EXPECT_EQ(LayOutPages(text.substr(1) + tei + tei, m, LineBreaks::AtWord),
            (Pages{{{0, 0, text.substr(1) + tei}, {0, 10, tei}}}));
}

TEST(PrintLayout, TabsAdvanceToTheNextMultipleOfEightAverageWidths) {
  EXPECT_EQ(NextTabStop(0, 10), 80);
  EXPECT_EQ(NextTabStop(79, 10), 80);
  EXPECT_EQ(NextTabStop(80, 10), 160);
  EXPECT_EQ(Lay("a\tb"), (Pages{{{0, 0, "a"}, {80, 0, "b"}}}));
  // A stop beyond the page's edge moves to the next line.
  EXPECT_EQ(Lay("abcdefgh\tx"), (Pages{{{0, 0, "abcdefgh"}, {0, 10, "x"}}}));
}

TEST(PrintLayout, AFormFeedStartsANewPageButNotASecondOneAfterAFullPage) {
  EXPECT_EQ(Lay("a\fb"), (Pages{{{0, 0, "a"}}, {{0, 0, "b"}}}));
  EXPECT_EQ(Lay("a\r\nb\r\nc\r\n\fd"),
            (Pages{{{0, 0, "a"}, {0, 10, "b"}, {0, 20, "c"}}, {{0, 0, "d"}}}));
  EXPECT_EQ(Lay("\f\f").size(), 3u);
}

}  // namespace
}  // namespace pendra
