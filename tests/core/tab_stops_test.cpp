#include <gtest/gtest.h>

#include <climits>

#include "reminders/tab_stops.h"

namespace pendra {
namespace {

TabStops Stops(std::initializer_list<int> values) {
  TabStops s{};
  std::size_t i = 0;
  for (int v : values) s[i++] = v;
  return s;
}

TEST(TabsString, FormatsEveryPositionWithItsSemicolon) {
  EXPECT_EQ(FormatTabsString(DefaultTabStops()), "0;100;200;300;400;500;600;700;800;900;");
  EXPECT_EQ(FormatTabsString(TabStops{}), "0;0;0;0;0;0;0;0;0;0;");
  EXPECT_EQ(FormatTabsString(Stops({-5, 7})), "-5;7;0;0;0;0;0;0;0;0;");
}

TEST(TabsString, ReadsOnlyNumbersFollowedBySemicolon) {
  EXPECT_EQ(ParseTabsString("0;50;"), Stops({0, 50}));
  EXPECT_EQ(ParseTabsString("0;50"), Stops({0}));
  EXPECT_EQ(ParseTabsString("0;100"), Stops({0}));
  EXPECT_EQ(ParseTabsString(""), TabStops{});
  const std::string tens = "10;20;30;40;50;60;70;80;90;100;";
  EXPECT_EQ(FormatTabsString(ParseTabsString(tens)), tens);
  EXPECT_EQ(ParseTabsString(tens + "110;"), ParseTabsString(tens));  // an eleventh is ignored
}

TEST(TabsString, TextThatIsNotANumberGivesZero) {
  EXPECT_EQ(ParseTabsString("x;  7;+3;-4;7 ;;1e2;99999999999;-;5;"),
            Stops({0, 7, 3, -4, 0, 0, 0, 0, 0, 5}));
  EXPECT_EQ(ParseTabsString("2147483647;-2147483648;2147483648;"),
            Stops({INT_MAX, INT_MIN, 0}));
}

TEST(ListTabUnits, QuartersOfTheAverageCharacterWidth) {
  EXPECT_EQ(ToListTabUnits(DefaultTabStops(), 364),
            Stops({0, 57, 114, 171, 228, 285, 342, 400, 457, 514}));
  // 415 / 52 leaves a remainder that is dropped: average 7 as well.
  EXPECT_EQ(ToListTabUnits(DefaultTabStops(), 415), ToListTabUnits(DefaultTabStops(), 364));
  // Negative positions round towards zero.
  EXPECT_EQ(ToListTabUnits(Stops({-10, -1}), 364)[0], -5);
  EXPECT_EQ(ToListTabUnits(Stops({-10, -1}), 364)[1], 0);
}

TEST(ListTabUnits, FontsNarrowerThanOnePixelPerLetterDoNotDivideByZero) {
  for (int width : {51, 1, 0, -3}) {
    EXPECT_EQ(ToListTabUnits(Stops({0, 100, 25}), width), Stops({0, 400, 100})) << width;
  }
  // Extreme positions stay within range instead of overflowing.
  EXPECT_EQ(ToListTabUnits(Stops({INT_MAX, INT_MIN}), 0), Stops({INT_MAX, INT_MIN}));
}

}  // namespace
}  // namespace pendra
