#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "reminders/scheduler.h"
#include "reminders/written_formats.h"

namespace pendra {
namespace {

const LocaleFormats kUs;  // "M/d/yyyy", "h:mm:ss tt"
const LocaleFormats kIso{"yyyy-MM-dd", "HH:mm:ss", "", ""};
const LocaleFormats kGerman{"d.M.yyyy", "HH:mm:ss", "", ""};
const LocaleFormats kBritish{"dd/MM/yyyy", "HH:mm:ss"};
const LocaleFormats kFinnish{"d.M.yyyy", "H.mm.ss", "ap.", "ip."};

std::vector<WrittenFormats> Sets(std::initializer_list<LocaleFormats> formats) {
  std::vector<WrittenFormats> out;
  for (const auto& f : formats) out.push_back(WrittenFormats::Of(f));
  return out;
}

TEST(TextReader, CurrentFormatsFirstThenTheRememberedNewestFirst) {
  struct Case {
    LocaleFormats current;
    std::vector<WrittenFormats> remembered;
    std::string text;
    std::optional<Date> date;
    std::optional<TimeOfDay> time;
  };
  const Case cases[] = {
      {kIso, Sets({kUs}), "4/5/2026", Date{2026, 4, 5}, {}},
      {kUs, Sets({kIso}), "2026-04-05", Date{2026, 4, 5}, {}},
      {kIso, {}, "4/5/2026", {}, {}},  // nothing remembered: as before
      // Both read 3/4: the current formats win, then the newest remembered.
      {kBritish, Sets({kUs}), "03/04/2026", Date{2026, 4, 3}, {}},
      {kIso, Sets({kBritish, kUs}), "03/04/2026", Date{2026, 4, 3}, {}},
      {kIso, Sets({kUs, kBritish}), "03/04/2026", Date{2026, 3, 4}, {}},
      {kIso, Sets({kUs, kBritish}), "25/12/2026", Date{2026, 12, 25}, {}},
      {kIso, Sets({kUs, kGerman}), "Christmas", {}, {}},
      // Times: another separator, other designators.
      {kFinnish, Sets({kUs}), "1:05:00 PM", {}, TimeOfDay{13, 5, 0}},
      {kUs, Sets({kFinnish}), "1.05.00 ip.", {}, TimeOfDay{13, 5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current.shortDate + " " + c.text);
    const TextReader reader(c.current, c.remembered);
    if (c.date || !c.time) EXPECT_EQ(reader.ReadDate(c.text), c.date);
    if (c.time || !c.date) EXPECT_EQ(reader.ReadTime(c.text), c.time);
  }
}

TEST(FormatsValue, NewestFirstWithoutRepeatsAndGarbageReadsAsNone) {
  const auto sets = PutFirst(WrittenFormats::Of(kIso), Sets({kUs, kIso, kGerman}));
  const std::string value = FormatsValue(sets);
  EXPECT_EQ(value, "yyyy-MM-dd|HH:mm:ss||;M/d/yyyy|h:mm:ss tt|AM|PM;d.M.yyyy|HH:mm:ss||");
  EXPECT_EQ(ParseFormatsValue(value), sets);
  // Sets that cannot read back what they write, or that the value cannot
  // hold, are left out; the rest of the value still counts.
  EXPECT_EQ(ParseFormatsValue("garbage;d/M|h:mm|AM|PM;M/d/yyyy|h:mm:ss tt|AM|PM;x|y"), Sets({kUs}));
  for (const std::string& bad :
       std::vector<std::string>{"", "|||", "yyyy|HH|x|y", std::string(5000, ';')})
    EXPECT_TRUE(ParseFormatsValue(bad).empty()) << bad.substr(0, 20);
  EXPECT_EQ(PutFirst(WrittenFormats::Of(LocaleFormats{"M/d/yyyy '|'", "HH:mm:ss"}), Sets({kUs})),
            Sets({kUs}));
  // The oldest go once eight are remembered.
  std::vector<WrittenFormats> many(10, WrittenFormats::Of(kIso));
  for (std::size_t i = 0; i < many.size(); ++i) many[i].shortDate += std::string(i, ' ');
  EXPECT_EQ(PutFirst(WrittenFormats::Of(kUs), many).back(), many[6]);
}

TEST(RememberedFormats, TheLastCloseIsComparedAsADate) {
  const TextReader reader(kIso, Sets({kUs}));
  EXPECT_FALSE(FirstStartToday(reader, {2000, 6, 19}, "6/19/2000"));
  EXPECT_TRUE(FirstStartToday(reader, {2000, 6, 19}, "6/18/2000"));
  EXPECT_FALSE(FirstStartToday(LocaleFormats{"'day' d", "HH:mm:ss"}, {2000, 6, 19}, "day 19"));
}

// What the catch-up of a list read late leaves to the kind's next check:
// the seconds from the one after its last run, and the text the clock shows
// at the first of them.
TEST(LateCatchUp, TodaysRemindersTheNextCheckWillNotExamine) {
  constexpr Date kMonday{2000, 6, 19};
  ReminderBook book;
  book.Replace(Kind::Daily, {"8:59:59 AM-6/1/2000--before", "9:00:00 AM-6/1/2000--at the minute",
                             "9:00:30 AM-6/1/2000--this second", "9:01:00 AM-6/1/2000--later",
                             "7:00:00 AM-6/20/2000--not begun"});
  book.Replace(Kind::OneTime, {"7:00:00 AM-6/19/2000--one-time"});
  const LocaleFormats minutes{"M/d/yyyy", "h:mm tt"};
  using Strings = std::vector<std::string>;
  struct Case {
    Kind kind;
    LocaleFormats formats;
    std::optional<DateTime> lastCheck;
    int interval;
    Strings expected;
  };
  const Case cases[] = {
      {Kind::Daily, kUs, {}, 0, {"before", "at the minute"}},
      {Kind::Daily, kUs, DateTime{kMonday, {9, 0, 30}}, 0, {"before", "at the minute", "this second"}},
      {Kind::Daily, kUs, DateTime{kMonday, {8, 59, 58}}, 0, {}},  // a late tick: the check's
      {Kind::Daily, kUs, DateTime{{2000, 6, 18}, {23, 0, 0}}, 0, {}},  // today from midnight
      {Kind::Daily, minutes, {}, 0, {"before"}},  // 9:00 AM still shows: the check's
      {Kind::OneTime, kUs, {}, 0, {"one-time"}},
      {Kind::OneTime, kUs, {}, 15, {}},  // left to the repeats
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formats.longTime + " " + std::to_string(c.interval));
    ReminderScheduler scheduler(book);
    if (c.lastCheck)
      scheduler.CheckSecond(c.kind, *c.lastCheck, c.formats, 1, TodayRefs::For(c.lastCheck->date));
    Strings got;
    for (const auto& d : scheduler.CatchUpLate(c.kind, {kMonday, {9, 0, 30}}, c.formats, 1,
                                               TodayRefs::For(kMonday), c.interval))
      got.push_back(d.message);
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
}  // namespace pendra
