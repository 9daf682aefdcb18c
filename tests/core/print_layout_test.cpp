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
