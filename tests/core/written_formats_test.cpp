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

const LocaleFormats kDayFirst{"d/M/yyyy", "h:mm:ss tt"};
const LocaleFormats k24h{"M/d/yyyy", "HH:mm:ss", "", ""};

// A stored field is read the way it was written: by the set its list (or the
// date of the last close) was written with, and only where it does not read
// that way, by the current formats.
TEST(StoredFormats, AFieldIsReadByTheFormatsItWasWrittenWith) {
  const std::string us = FormatsValue(Sets({kUs}));
  const std::string dayFirst = FormatsValue(Sets({kDayFirst}));
  struct Case {
    std::string value;  // as stored
    LocaleFormats current;
    std::size_t slot;
    std::string text;
    std::optional<Date> date;
    std::optional<TimeOfDay> time;
  };
  const Case cases[] = {
      // M/d/yyyy to d/M/yyyy, on a day of 12 or less and on one above.
      {us, kDayFirst, 0, "12/8/2026", Date{2026, 12, 8}, {}},
      {us, kDayFirst, kLastBootSlot, "12/8/2026", Date{2026, 12, 8}, {}},
      {us, kDayFirst, 2, "12/25/2026", Date{2026, 12, 25}, {}},
      {us, kDayFirst, 2, "25/12/2026", Date{2026, 12, 25}, {}},  // hand-written: the current ones
      // And back.
      {dayFirst, kUs, 0, "8/12/2026", Date{2026, 12, 8}, {}},
      {dayFirst, kUs, 3, "25/12/2026", Date{2026, 12, 25}, {}},
      // 12 h to 24 h.
      {us, k24h, 1, "1:05:00 PM", {}, TimeOfDay{13, 5, 0}},
      {FormatsValue(Sets({k24h})), kUs, 1, "13:05:00", {}, TimeOfDay{13, 5, 0}},
      // Which set each was written with, where the order alone cannot say.
      {dayFirst + ";" + us + ";written=1,0,0,0,1", kDayFirst, 0, "12/8/2026", Date{2026, 12, 8}, {}},
      {dayFirst + ";" + us + ";written=1,0,0,0,1", kDayFirst, 2, "12/8/2026", Date{2026, 8, 12}, {}},
      {dayFirst + ";" + us + ";written=1,0,0,0,1", kDayFirst, kLastBootSlot, "12/8/2026", Date{2026, 12, 8}, {}},
      // A place that names no set spoils the part: the newest set for all.
      {dayFirst + ";" + us + ";written=1,0,7,0,1", kUs, 0, "12/8/2026", Date{2026, 8, 12}, {}},
      // One past the last set: read past the sets, a start fails or reads
      // the lists by garbage.
      {dayFirst + ";" + us + ";written=1,0,2,0,1", kUs, 0, "12/8/2026", Date{2026, 8, 12}, {}},
      // Copied lists, formats unknown: the current ones first, as before.
      {"", kDayFirst, 0, "12/8/2026", Date{2026, 8, 12}, {}},
      // Five fields are not a set.
      {"M/d/yyyy|h:mm:ss tt|AM|PM|x", kDayFirst, 0, "12/8/2026", Date{2026, 8, 12}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value + " slot " + std::to_string(c.slot) + " " + c.text);
    StoredFormats stored;
    stored.Load(c.value);
    const TextReader reader = stored.Reader(c.slot, c.current);
    EXPECT_EQ(reader.Current(), c.current);
    if (c.date) EXPECT_EQ(reader.ReadDate(c.text), c.date);
    if (c.time) EXPECT_EQ(reader.ReadTime(c.text), c.time);
  }
}

// The formats change while the program runs: what was read until then was
// written with the old ones, and a list written since with the new ones.
TEST(StoredFormats, AFormatChangeWhileRunningIsRecordedAtTheNextWrite) {
  StoredFormats stored;
  stored.Load("");
  stored.Follow(WrittenFormats::Of(kUs));
  stored.Follow(WrittenFormats::Of(kDayFirst));
  EXPECT_EQ(stored.Reader(0, kDayFirst).ReadDate("12/8/2026"), (Date{2026, 12, 8}));
  stored.Wrote(2, WrittenFormats::Of(kDayFirst));
  EXPECT_EQ(stored.Reader(2, kDayFirst).ReadDate("12/8/2026"), (Date{2026, 8, 12}));
  const std::string value = stored.Value();
  EXPECT_EQ(value, FormatsValue(Sets({kDayFirst, kUs})) + ";written=1,1,0,1,1");
  StoredFormats back;
  back.Load(value);
  EXPECT_EQ(back.Reader(0, kDayFirst).ReadDate("12/8/2026"), (Date{2026, 12, 8}));
  EXPECT_EQ(back.Reader(2, kDayFirst).ReadDate("12/8/2026"), (Date{2026, 8, 12}));
  // The sets alone still read for a reader of "Formats" that knows no more.
  EXPECT_EQ(ParseFormatsValue(value), Sets({kDayFirst, kUs}));

  // Lists whose formats were not known were read with those in force.
  StoredFormats copied;
  copied.Load("");
  copied.Follow(WrittenFormats::Of(kUs));
  copied.Wrote(kLastBootSlot, WrittenFormats::Of(kUs));
  EXPECT_EQ(copied.Value(), FormatsValue(Sets({kUs})) + ";written=0,0,0,0,0");
}

// The formats recorded for a list hold for the content Pendra wrote with
// them: a list rewritten elsewhere (while Pendra was closed) is of unknown
// formats, read by those in force first. A value without contents, from an
// earlier version, holds for the list as first read.
TEST(StoredFormats, TheFormatsHoldForTheContentTheyWereWrittenAs) {
  const std::string us = FormatsValue(Sets({kUs})) + ";written=0,0,0,0,0";
  StoredFormats wrote;
  wrote.Load(us);
  wrote.Wrote(2, WrittenFormats::Of(kUs), 0xABCDEFull);
  const std::string written = wrote.Value();
  EXPECT_EQ(written, us + ";content=,,0000000000abcdef,,");
  const struct {
    std::string value;
    std::vector<std::uint64_t> held;  // the contents read, in turn
    Date date;                        // of "3/4/2026" in list 2, under d/M/yyyy
  } cases[] = {
      {written, {0xABCDEF}, {2026, 3, 4}},          {written, {0x123}, {2026, 4, 3}},
      {written, {0xABCDEF, 0x123}, {2026, 4, 3}},  // read again, changed
      {us, {0x123}, {2026, 3, 4}},                  {us, {0x123, 0x456}, {2026, 4, 3}},
      {us + ";content=,,xyz,,", {0x123}, {2026, 3, 4}},  // spoilt: as none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value + " " + std::to_string(c.held.size()));
    StoredFormats stored;
    stored.Load(c.value);
    for (std::uint64_t content : c.held) stored.Held(2, content);
    EXPECT_EQ(stored.Reader(2, kDayFirst).ReadDate("3/4/2026"), c.date);
    EXPECT_EQ(stored.Reader(1, kDayFirst).ReadDate("3/4/2026"), (Date{2026, 3, 4}));
  }
}

TEST(StoredFormats, AnEntryIsWrittenAnewInTheCurrentFormats) {
  StoredFormats stored;
  stored.Load(FormatsValue(Sets({kUs})));
  const LocaleFormats now{"d/M/yyyy", "HH:mm:ss", "", ""};
  const TextReader reader = stored.Reader(0, now);
  EXPECT_EQ(EntryInFormats(Kind::OneTime, "1:05:00 PM-12/8/2026--a - b -- c", reader),
            "13:05:00-8/12/2026--a - b -- c");
  EXPECT_EQ(EntryInFormats(Kind::Weekly, "7:00:00 AM-Monday--w", reader), "07:00:00-Monday--w");
  // A daily list changed after the switch: its beginning dates are written
  // anew too, or 12 August would begin on 8 December.
  EXPECT_EQ(EntryInFormats(Kind::Daily, "7:00:00 AM-8/12/2026--d", reader), "07:00:00-12/8/2026--d");
  EXPECT_EQ(EntryInFormats(Kind::Daily, "soon-someday--kept", reader), "soon-someday--kept");
  EXPECT_EQ(EntryInFormats(Kind::Daily, "not an entry", reader), "not an entry");
}

TEST(RememberedFormats, TheLastCloseIsComparedAsADate) {
  const TextReader reader(kIso, Sets({kUs}));
  EXPECT_FALSE(FirstStartToday(reader, {2000, 6, 19}, "6/19/2000"));
  EXPECT_TRUE(FirstStartToday(reader, {2000, 6, 19}, "6/18/2000"));
  EXPECT_FALSE(FirstStartToday(LocaleFormats{"'day' d", "HH:mm:ss"}, {2000, 6, 19}, "day 19"));
}

// What the catch-up of a list read late leaves to the kind's next check:
// the seconds from the one after its last run, and the text the clock shows
// at the first of them. The check ran while the list was not read yet.
TEST(LateCatchUp, TodaysRemindersTheNextCheckWillNotExamine) {
  constexpr Date kMonday{2000, 6, 19};
  const Lines daily{"8:59:59 AM-6/1/2000--before", "9:00:00 AM-6/1/2000--at the minute",
                    "9:00:30 AM-6/1/2000--this second", "9:01:00 AM-6/1/2000--later",
                    "7:00:00 AM-6/20/2000--not begun"};
  const Lines oneTime{"7:00:00 AM-6/19/2000--one-time"};
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
    ReminderBook book;
    ReminderScheduler scheduler(book);
    if (c.lastCheck)
      scheduler.CheckSecond(c.kind, *c.lastCheck, c.formats, 1, TodayRefs::For(c.lastCheck->date));
    book.Replace(Kind::Daily, daily);
    book.Replace(Kind::OneTime, oneTime);
    Strings got;
    for (const auto& d : scheduler.CatchUpLate(c.kind, {kMonday, {9, 0, 30}}, c.formats, 1,
                                               TodayRefs::For(kMonday), c.interval))
      got.push_back(d.message);
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
}  // namespace pendra
