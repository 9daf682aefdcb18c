#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reminders/scheduler.h"

namespace pendra {
namespace {

DateTime At(Date d, int h, int m, int s) { return DateTime{d, TimeOfDay{h, m, s}}; }

constexpr Date kMonday{2000, 6, 19};  // a Monday in a 30-day month
constexpr Date kTuesday{2000, 6, 20};

std::vector<std::string> Messages(const std::vector<DueReminder>& due) {
  std::vector<std::string> out;
  for (const auto& d : due) out.push_back(d.message);
  return out;
}

class SchedulerTest : public ::testing::Test {
 protected:
  // One check of a fresh scheduler: it examines the current second only.
  std::vector<std::string> DueAt(Kind kind, const DateTime& now) {
    ReminderScheduler scheduler(book);
    return Messages(scheduler.CheckSecond(kind, now, formats, 0, TodayRefs::For(now.date)));
  }
  std::vector<std::string> Tick(Kind kind, const DateTime& now) {
    return Messages(scheduler.CheckSecond(kind, now, formats, generation, TodayRefs::For(now.date)));
  }

  ReminderBook book;
  LocaleFormats formats;  // "M/d/yyyy", "h:mm:ss tt"
  unsigned generation = 0;
  ReminderScheduler scheduler{book};
};

using Strings = std::vector<std::string>;

TEST_F(SchedulerTest, EachKindIsDueInItsOwnSecondOnly) {
  book.Replace(Kind::OneTime, {"9:00:00 AM-6/19/2000--today", "9:00:00 AM-6/18/2000--yesterday",
                               "9:00:00 AM-6/20/2000--tomorrow"});
  book.Replace(Kind::Weekly, {"9:00:00 AM-Monday--weekly", "9:00:00 AM-monday--lower"});
  book.Replace(Kind::Daily, {"9:00:00 AM-6/19/2000--begins today",
                             "9:00:00 AM-6/1/2000--began", "9:00:00 AM-6/20/2000--begins later"});
  book.Replace(Kind::Monthly, {"9:00:00 AM-19--monthly", "9:00:00 AM-019--padded"});

  EXPECT_EQ(DueAt(Kind::OneTime, At(kMonday, 9, 0, 0)), Strings{"today"});
  EXPECT_EQ(DueAt(Kind::Weekly, At(kMonday, 9, 0, 0)), Strings{"weekly"});
  EXPECT_EQ(DueAt(Kind::Daily, At(kMonday, 9, 0, 0)), (Strings{"begins today", "began"}));
  EXPECT_EQ(DueAt(Kind::Monthly, At(kMonday, 9, 0, 0)), Strings{"monthly"});
  for (Kind k : kAllKinds) {
    EXPECT_EQ(DueAt(k, At(kMonday, 8, 59, 59)), Strings{});
    EXPECT_EQ(DueAt(k, At(kMonday, 9, 0, 1)), Strings{});
    EXPECT_EQ(DueAt(k, At(kMonday, 21, 0, 0)), Strings{});  // PM
  }
  EXPECT_EQ(DueAt(Kind::OneTime, At(kTuesday, 9, 0, 0)), Strings{"tomorrow"});
  EXPECT_EQ(DueAt(Kind::Weekly, At(kTuesday, 9, 0, 0)), Strings{});
  EXPECT_EQ(DueAt(Kind::Daily, At(kTuesday, 9, 0, 0)),
            (Strings{"begins today", "began", "begins later"}));
}

TEST_F(SchedulerTest, DayThirtyOneIsNeverDueInAThirtyDayMonth) {
  book.Replace(Kind::Monthly, {"9:00:00 AM-31--end of month"});
  for (int day = 1; day <= 30; ++day) {
    EXPECT_EQ(DueAt(Kind::Monthly, At(Date{2000, 6, day}, 9, 0, 0)), Strings{}) << day;
  }
  EXPECT_EQ(DueAt(Kind::Monthly, At(Date{2000, 7, 31}, 9, 0, 0)), Strings{"end of month"});
  EXPECT_EQ(TodayRefs::For(Date{2000, 7, 1}).monthStr, "1");
  EXPECT_EQ(TodayRefs::For(kMonday).dayStr, "Monday");
}

TEST_F(SchedulerTest, OnlyTheOneSecondOneTimeCheckUsesASingleBreak) {
  book.Replace(Kind::OneTime, {"9:00:00 AM-6/19/2000--a"});
  book.Replace(Kind::Weekly, {"9:00:00 AM-Monday--b"});
  ReminderScheduler s(book);
  const auto oneTime = s.CheckSecond(Kind::OneTime, At(kMonday, 9, 0, 0), formats, 0,
                                     TodayRefs::For(kMonday));
  ASSERT_EQ(oneTime.size(), 1u);
  EXPECT_EQ(oneTime[0].spacing, MessageSpacing::SingleBreak);
  EXPECT_EQ(oneTime[0].entry, "9:00:00 AM-6/19/2000--a");
  EXPECT_EQ(oneTime[0].kind, Kind::OneTime);
  const auto weekly = s.CheckSecond(Kind::Weekly, At(kMonday, 9, 0, 0), formats, 0,
                                    TodayRefs::For(kMonday));
  ASSERT_EQ(weekly.size(), 1u);
  EXPECT_EQ(weekly[0].spacing, MessageSpacing::EmptyLine);
  const auto repeat = s.CheckRepeat(At(kMonday, 9, 30, 0), formats, 0);
  ASSERT_EQ(repeat.size(), 1u);
  EXPECT_EQ(repeat[0].spacing, MessageSpacing::EmptyLine);
}

TEST_F(SchedulerTest, ALateTickDoesNotLoseTheSecondsItMissed) {
  book.Replace(Kind::Daily, {"9:00:01 AM-6/1/2000--second", "9:00:00 AM-6/1/2000--first",
                             "9:00:03 AM-6/1/2000--third"});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 8, 59, 59)), Strings{});
  // A sound blocked the thread for three seconds.
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 2)), (Strings{"first", "second"}));
  // A second tick within the same second and the next ones announce nothing twice.
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 2)), Strings{});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 3)), Strings{"third"});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 4)), Strings{});
  // Each check keeps its own span.
  book.Replace(Kind::Weekly, {"9:00:00 AM-Monday--weekly"});
  EXPECT_EQ(Tick(Kind::Weekly, At(kMonday, 9, 0, 5)), Strings{});
}

TEST_F(SchedulerTest, AMinuteFormatAnnouncesOnceWhenTheMinuteBegins) {
  formats.longTime = "h:mm tt";
  book.Replace(Kind::OneTime, {"9:05 AM-6/19/2000--once"});
  int announced = 0;
  for (int s = SecondsOfDay({9, 4, 50}); s <= SecondsOfDay({9, 6, 10}); ++s) {
    announced += static_cast<int>(Tick(Kind::OneTime, DateTime{kMonday, TimeFromSeconds(s)}).size());
  }
  EXPECT_EQ(announced, 1);

  // Missing the minute's first second still announces it, once.
  ReminderScheduler late(book);
  const TodayRefs refs = TodayRefs::For(kMonday);
  EXPECT_TRUE(late.CheckSecond(Kind::OneTime, At(kMonday, 9, 4, 59), formats, 0, refs).empty());
  EXPECT_EQ(late.CheckSecond(Kind::OneTime, At(kMonday, 9, 5, 3), formats, 0, refs).size(), 1u);
  EXPECT_TRUE(late.CheckSecond(Kind::OneTime, At(kMonday, 9, 5, 4), formats, 0, refs).empty());

}

TEST_F(SchedulerTest, AMinuteFormatAnnouncesOnceAlsoWhenCheckingStartsInsideTheMinute) {
  formats.longTime = "h:mm tt";
  book.Replace(Kind::OneTime, {"9:00 AM-6/19/2000--started late"});
  std::size_t announced = 0;
  for (int s = SecondsOfDay({9, 0, 30}); s <= SecondsOfDay({9, 1, 30}); ++s)
    announced += Tick(Kind::OneTime, DateTime{kMonday, TimeFromSeconds(s)}).size();
  EXPECT_EQ(announced, 1u);

  // Added inside its minute, as OK does: once, and only the added row.
  book.Append(Kind::OneTime, "9:02 AM-6/19/2000--added");
  book.Append(Kind::OneTime, "9:02 AM-6/19/2000--added");
  EXPECT_EQ(Tick(Kind::OneTime, At(kMonday, 9, 2, 0)), (Strings{"added", "added"}));
  EXPECT_EQ(Tick(Kind::OneTime, At(kMonday, 9, 2, 10)), Strings{});
  book.Append(Kind::OneTime, "9:02 AM-6/19/2000--added");
  book.Append(Kind::OneTime, "9:02:40 AM-6/19/2000--seconds ignored");
  EXPECT_EQ(Tick(Kind::OneTime, At(kMonday, 9, 2, 20)), (Strings{"added", "seconds ignored"}));
  EXPECT_EQ(Tick(Kind::OneTime, At(kMonday, 9, 2, 20)), Strings{});
  EXPECT_EQ(Tick(Kind::OneTime, At(kMonday, 9, 2, 59)), Strings{});
}

TEST_F(SchedulerTest, TimesMatchAsTimesOfDayUnderAChangedTimeFormat) {
  book.Replace(Kind::Weekly, {"1:05:02 PM-Monday--twelve-hour", "13:05:02-Monday--24-hour",
                              "01:05:02 PM-Monday--leading zero", "1:05:02 PM-monday--lower case",
                              "1:05:02 Uhr-Monday--no time"});
  EXPECT_EQ(DueAt(Kind::Weekly, At(kMonday, 13, 5, 2)),
            (Strings{"twelve-hour", "24-hour", "leading zero"}));
  formats.longTime = "HH:mm:ss";
  EXPECT_EQ(DueAt(Kind::Weekly, At(kMonday, 13, 5, 2)),
            (Strings{"twelve-hour", "24-hour", "leading zero"}));
  EXPECT_EQ(DueAt(Kind::Weekly, At(kMonday, 1, 5, 2)), Strings{});
  // A field that reads as no time still meets the very same clock text.
  formats.longTime = "h:mm:ss 'Uhr'";
  EXPECT_EQ(DueAt(Kind::Weekly, At(kMonday, 13, 5, 2)),
            (Strings{"twelve-hour", "24-hour", "leading zero", "no time"}));
}

TEST_F(SchedulerTest, ASpanStartsAtMidnightAndCountsEachEntryOnce) {
  book.Replace(Kind::Daily, {"11:59:59 PM-6/1/2000--late yesterday",
                             "12:00:00 AM-6/1/2000--midnight", "12:00:02 AM-6/1/2000--after"});
  EXPECT_EQ(Tick(Kind::Daily, At(Date{2000, 6, 18}, 23, 59, 58)), Strings{});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 0, 0, 1)), Strings{"midnight"});

  // Woken after hours asleep: every entry of today since then, once each,
  // even where a 12-hour format without AM/PM shows its texts twice.
  formats.longTime = "h:mm:ss";
  generation = 1;
  book.Replace(Kind::Daily, {"9:00:00-6/1/2000--nine", "1:00:00-6/1/2000--one"});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 0, 30, 0)), Strings{});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 23, 0, 0)), (Strings{"one", "nine"}));
}

TEST_F(SchedulerTest, AClockSetBackExaminesOnlyTheCurrentSecond) {
  book.Replace(Kind::Weekly, {"9:30:00 AM-Monday--half past", "9:00:00 AM-Monday--nine"});
  EXPECT_EQ(Tick(Kind::Weekly, At(kMonday, 10, 0, 0)), Strings{});
  EXPECT_EQ(Tick(Kind::Weekly, At(kMonday, 9, 0, 0)), Strings{"nine"});
  EXPECT_EQ(Tick(Kind::Weekly, At(kMonday, 9, 0, 1)), Strings{});
  // Set back to yesterday: no span reaching over into another day.
  EXPECT_EQ(Tick(Kind::Weekly, At(Date{2000, 6, 18}, 9, 40, 0)), Strings{});
}

// A clock set back (the end of daylight saving time, a user, the time
// service) shows times again; what was announced at one of them is not
// announced again. A 12-hour format without AM/PM shows each text at two
// moments a day: due at both, once each.
TEST_F(SchedulerTest, EachMomentAnEntryFallsDueAnnouncesItOnce) {
  auto at = [](int h, int m, int s) { return SecondsOfDay({h, m, s}); };
  const struct {
    const char *name, *longTime, *entry;
    std::vector<int> ticks;  // seconds of the day, in order
    std::size_t announced;
  } cases[] = {
      {"an hour back over it", "h:mm:ss tt", "3:41:00 PM",
       {at(15, 40, 59), at(15, 41, 0), at(16, 29, 59), at(15, 30, 0), at(15, 40, 59), at(15, 41, 0), at(15, 41, 1)}, 1},
      {"back into its second", "h:mm:ss tt", "3:41:00 PM", {at(15, 41, 0), at(15, 41, 1), at(15, 41, 0)}, 1},
      {"a late tick, then back", "h:mm:ss tt", "3:41:00 PM", {at(15, 40, 0), at(15, 42, 0), at(15, 40, 30), at(15, 41, 30)}, 1},
      {"back inside its minute", "h:mm tt", "3:41 PM", {at(15, 41, 10), at(15, 41, 20), at(15, 41, 5), at(15, 40, 50), at(15, 41, 0)}, 1},
      {"no AM/PM: morning and afternoon", "h:mm:ss", "3:41:00",
       {at(3, 41, 0), at(3, 30, 0), at(3, 41, 0), at(15, 41, 0), at(15, 30, 0), at(15, 41, 0)}, 2},
      // Jumping forward over it (the start of daylight saving time): once.
      {"an hour forward over it", "h:mm:ss tt", "3:41:00 PM", {at(15, 30, 0), at(16, 30, 0), at(16, 30, 1)}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    formats.longTime = c.longTime;
    book.Replace(Kind::Weekly, {std::string(c.entry) + "-Monday--w"});
    ReminderScheduler fresh(book);
    std::size_t announced = 0;
    for (int second : c.ticks)
      announced += fresh.CheckSecond(Kind::Weekly, DateTime{kMonday, TimeFromSeconds(second)}, formats, 0,
                                     TodayRefs::For(kMonday)).size();
    EXPECT_EQ(announced, c.announced);
  }
}

// A list read again after another program rewrote it: what fell due since
// the file was last known unchanged and was not announced is caught up; what
// was announced stays announced, also rewritten in other formats or with its
// message edited; an entry the list held earlier that day never comes again.
class ReadAgainTest : public SchedulerTest {
 protected:
  Strings Run(int from, int to) {
    Strings all;
    for (int s = from; s <= to; ++s)
      for (const auto& m : Tick(Kind::Daily, DateTime{kMonday, TimeFromSeconds(s)})) all.push_back(m);
    return all;
  }
  // Another program's version read at `now`, its file last known unchanged at `since`.
  Strings ReadAgain(const Lines& theirs, int now, int since) {
    scheduler.Saw(Kind::Daily, book.List(Kind::Daily), kMonday);
    book.Replace(Kind::Daily, theirs);
    const auto due = scheduler.CatchUpLate(Kind::Daily, DateTime{kMonday, TimeFromSeconds(now)}, formats, 0,
                                           TodayRefs::For(kMonday), 0, DateTime{kMonday, TimeFromSeconds(since)});
    scheduler.Saw(Kind::Daily, theirs, kMonday);
    return Messages(due);
  }
  static int At(int h, int m, int s = 0) { return SecondsOfDay({h, m, s}); }
};

TEST_F(ReadAgainTest, WhatFellDueSinceTheLastLookIsCaughtUpOnce) {
  book.Replace(Kind::Daily, {"1:00:00 PM-6/1/2000--held"});
  EXPECT_EQ(Run(At(12, 59), At(13, 0, 5)), Strings{"held"});
  // Emptied in place and read so, then written again, also with what passed
  // before the look, fell due while the file settled, or is still to come.
  EXPECT_EQ(ReadAgain({}, At(13, 0, 5), At(13, 0, 1)), Strings{});
  EXPECT_EQ(ReadAgain({"1:00:00 PM-6/1/2000--held", "12:30:00 PM-6/1/2000--passed before the look",
                       "1:00:02 PM-6/1/2000--due while it settled", "1:00:06 PM-6/1/2000--the check's",
                       "9:00:00 AM-6/20/2000--tomorrow"},
                      At(13, 0, 5), At(13, 0, 1)),
            Strings{"due while it settled"});
  // Also where the file was last known unchanged long before.
  EXPECT_EQ(ReadAgain({"1:00:00 PM-6/1/2000--held", "1:00:06 PM-6/1/2000--the check's"}, At(13, 0, 5), At(9, 0)),
            Strings{});
  EXPECT_EQ(Run(At(13, 0, 6), At(13, 1)), Strings{"the check's"});
  // Taken out before its time and brought back after it: the list had it today.
  book.Replace(Kind::Daily, {"1:05:00 PM-6/1/2000--taken out"});
  EXPECT_EQ(ReadAgain({}, At(13, 1, 1), At(13, 1)), Strings{});
  EXPECT_EQ(Run(At(13, 1, 1), At(13, 5, 2)), Strings{});
  EXPECT_EQ(ReadAgain({"1:05:00 PM-6/1/2000--taken out", "1:05:01 PM-6/1/2000--new"}, At(13, 5, 3), At(13, 4)),
            Strings{"new"});
}

TEST_F(ReadAgainTest, AnEntryRewrittenOrEditedKeepsItsAnnouncement) {
  formats.longTime = "h:mm tt";
  book.Replace(Kind::Daily, {"1:00 PM-6/1/2000--meeting", "1:00 PM-6/1/2000--call", "2:00 PM-6/1/2000--later"});
  EXPECT_EQ(Run(At(12, 59, 50), At(13, 0, 10)), (Strings{"meeting", "call"}));
  // Another PC writes the list in its own formats, with one reminder more for
  // the minute under way, and then edits one message.
  StoredFormats theirs;
  theirs.Load(FormatsValue({WrittenFormats::Of(LocaleFormats{"yyyy-MM-dd", "h:mm:ss tt"})}));
  scheduler.SetStoredFormats(theirs);
  Lines rewritten{"1:00:00 PM-2000-06-01--new", "1:00:00 PM-2000-06-01--meeting",
                  "1:00:00 PM-2000-06-01--call", "2:00:00 PM-2000-06-01--later"};
  EXPECT_EQ(ReadAgain(rewritten, At(13, 0, 20), At(13, 0, 15)), Strings{});
  EXPECT_EQ(Run(At(13, 0, 21), At(13, 0, 30)), Strings{"new"});
  rewritten[1] += " in room 4";
  EXPECT_EQ(ReadAgain(rewritten, At(13, 0, 40), At(13, 0, 35)), Strings{});
  EXPECT_EQ(Run(At(13, 0, 41), At(14, 0, 0)), Strings{"later"});
}

TEST_F(SchedulerTest, EntriesThatDoNotCutOrConvertArePassedOver) {
  const Lines oneTime{"garbage", "9:00:00 AM-June 19th--bad date", "9:00:00 AM-6/19/2000--good",
                      "", "9:00:00 AM", "nine-6/19/2000--bad time"};
  book.Replace(Kind::OneTime, oneTime);
  book.Replace(Kind::Daily, {"9:00:00 AM-2000-06-01--iso", "9:00:00 AM-6/1/2000--ok"});
  EXPECT_EQ(DueAt(Kind::OneTime, At(kMonday, 9, 0, 0)), Strings{"good"});
  EXPECT_EQ(DueAt(Kind::Daily, At(kMonday, 9, 0, 0)), Strings{"ok"});
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kMonday, 10, 0, 0), formats, 0)), Strings{"good"});
  EXPECT_EQ(book.List(Kind::OneTime), oneTime);
}

TEST_F(SchedulerTest, ChangesToTheListOrTheFormatsAreSeen) {
  book.Replace(Kind::Daily, {"09:00:00-2000-06-01--iso"});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 0)), Strings{});
  formats.longTime = "HH:mm:ss";
  formats.shortDate = "yyyy-MM-dd";
  generation = 2;
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 1)), Strings{});
  book.Append(Kind::Daily, "09:00:02-2000-06-19--added");
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 2)), Strings{"added"});
  book.Replace(Kind::Daily, {"09:00:03-2000-06-01--reloaded"});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 3)), Strings{"reloaded"});
  // The formats changed without a new generation (another locale object).
  formats.shortDate = "M/d/yyyy";
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 4)), Strings{});
  EXPECT_EQ(Tick(Kind::Daily, At(kMonday, 9, 0, 3)), Strings{});  // clock set back to its second
}

TEST_F(SchedulerTest, RepeatsTodaysOneTimeEntriesFromTheirTimeOn) {
  book.Replace(Kind::OneTime, {"9:00:00 AM-6/19/2000--nine", "2:00:00 PM-6/19/2000--two",
                               "9:00:00 AM-6/18/2000--yesterday", "8:00:00 AM-6/19/2000--eight"});
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kMonday, 8, 59, 59), formats, 0)), Strings{"eight"});
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kMonday, 9, 0, 0), formats, 0)),
            (Strings{"nine", "eight"}));
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kMonday, 10, 30, 0), formats, 0)),
            (Strings{"nine", "eight"}));
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kMonday, 23, 59, 59), formats, 0)),
            (Strings{"nine", "two", "eight"}));
  EXPECT_EQ(Messages(scheduler.CheckRepeat(At(kTuesday, 10, 0, 0), formats, 0)), Strings{});
}

TEST(MidnightRefresh, RunsOnTheFirstTickOfANewDayWhateverItsTime) {
  ReminderBook book;
  ReminderScheduler scheduler(book);
  scheduler.SetRefreshDate(kMonday);
  EXPECT_FALSE(scheduler.TakeMidnightRefresh(kMonday));
  // The tick at 00:00:01 was missed (asleep); the first tick of the day at
  // 00:00:05 or at 07:30 refreshes, once. No time text is involved, so a
  // 24-hour format refreshes as well.
  EXPECT_TRUE(scheduler.TakeMidnightRefresh(kTuesday));
  EXPECT_FALSE(scheduler.TakeMidnightRefresh(kTuesday));
  EXPECT_TRUE(scheduler.TakeMidnightRefresh(Date{2000, 6, 23}));
  // A clock set back to another day refreshes too.
  EXPECT_TRUE(scheduler.TakeMidnightRefresh(kMonday));

  ReminderScheduler unset(book);
  EXPECT_FALSE(unset.TakeMidnightRefresh(kMonday));
  EXPECT_TRUE(unset.TakeMidnightRefresh(kTuesday));
}

}  // namespace
}  // namespace pendra
