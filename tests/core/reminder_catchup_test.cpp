#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reminders/scheduler.h"

namespace pendra {
namespace {

constexpr Date kMonday{2000, 6, 19};
using Strings = std::vector<std::string>;

class CatchUp : public ::testing::Test {
 protected:
  void SetUp() override {
    book.Replace(Kind::Weekly, {"7:00:00 AM-Monday--weekly early", "8:00:00 AM-Monday--weekly now",
                                "7:00:00 AM-Tuesday--weekly other day"});
    book.Replace(Kind::Daily, {"7:00:00 AM-6/1/2000--daily early", "7:00:00 AM-6/20/2000--daily later",
                               "9:00:00 AM-6/1/2000--daily after"});
    book.Replace(Kind::Monthly, {"7:00:00 AM-19--monthly early", "7:00:00 AM-20--monthly other"});
    book.Replace(Kind::OneTime, {"7:00:00 AM-6/19/2000--once early", "7:00:00 AM-6/18/2000--once yesterday",
                                 "8:00:00 AM-6/19/2000--once now"});
  }

  // Runs the catch-up started at 8:00:00 AM; later reads of the clock give
  // `later`, as if the boxes took that long.
  Strings Run(const std::string& lastBoot, int interval, TimeOfDay later = {8, 0, 0},
              const ListSet& lists = kEveryList) {
    Strings announced;
    calls = 0;
    RunCatchUp(
        book, formats, lastBoot, TodayRefs::For(kMonday), interval,
        [&] { return DateTime{kMonday, calls++ == 0 ? TimeOfDay{8, 0, 0} : later}; },
        [&](const DueReminder& d) {
          EXPECT_EQ(d.spacing, MessageSpacing::EmptyLine);
          announced.push_back(d.message);
        },
        lists);
    return announced;
  }

  ReminderBook book;
  LocaleFormats formats;
  int calls = 0;
};

TEST_F(CatchUp, AnnouncesTodaysPassedRemindersKindByKind) {
  EXPECT_EQ(Run("6/18/2000", 0),
            (Strings{"weekly early", "daily early", "monthly early", "once early"}));
  EXPECT_EQ(Run("", 0), (Strings{"weekly early", "daily early", "monthly early", "once early"}));
  // Only the lists named: one read later gets its catch-up then, not twice.
  EXPECT_EQ(Run("", 0, {8, 0, 0}, ListSet{true, true, false, true}),
            (Strings{"weekly early", "monthly early", "once early"}));
}

TEST_F(CatchUp, NothingWhenTheWindowWasLastClosedToday) {
  EXPECT_EQ(Run("6/19/2000", 0), Strings{});
  EXPECT_EQ(calls, 1);
  // A date that reads is compared as a date; any other text as text.
  EXPECT_EQ(Run("06/19/2000", 0), Strings{});
  EXPECT_EQ(Run("19 June 2000", 0).size(), 4u);
}

TEST_F(CatchUp, OneTimeListOnlyWithoutARepeatIntervalAndOnlyOnceItsTimeHasPassed) {
  EXPECT_EQ(Run("", 15), (Strings{"weekly early", "daily early", "monthly early"}));
  // The one-time step reads the clock afresh: a minute later the 8:00 entry
  // has passed; at exactly its time it has not.
  EXPECT_EQ(Run("", 0, TimeOfDay{8, 1, 0}),
            (Strings{"weekly early", "daily early", "monthly early", "once early", "once now"}));
  EXPECT_EQ(Run("", 0, TimeOfDay{8, 0, 0}).back(), "once early");
}

TEST_F(CatchUp, ADailyReminderThatBeginsTodayCounts) {
  book.Replace(Kind::Daily, {"7:00:00 AM-6/19/2000--begins today"});
  EXPECT_EQ(Run("", 15), (Strings{"weekly early", "begins today", "monthly early"}));
}

TEST_F(CatchUp, EntriesThatDoNotCutOrConvertArePassedOver) {
  book.Replace(Kind::Weekly, {"junk", "7 o'clock-Monday--bad time", "7:00:00 AM-Monday--good"});
  book.Replace(Kind::Daily, {"7:00:00 AM-yesterday--bad date"});
  book.Replace(Kind::Monthly, {"-", "--"});
  book.Replace(Kind::OneTime, {"7:00:00 AM-19 June--bad date", "late-6/19/2000--bad time"});
  EXPECT_EQ(Run("", 0), Strings{"good"});
}

// Started after reminders of each kind were due, then the clock goes back an
// hour (the end of daylight saving time): the checks do not bring them again.
TEST_F(CatchUp, WhatItAnnouncedComesNotAgainWhenTheClockGoesBack) {
  ReminderScheduler scheduler(book);
  std::size_t caughtUp = 0, again = 0;
  RunCatchUp(book, formats, "", TodayRefs::For(kMonday), 0, [] { return DateTime{kMonday, {8, 0, 0}}; },
             [&](const DueReminder& d) { scheduler.Announced(d, kMonday), ++caughtUp; });
  for (int s = SecondsOfDay({6, 59, 59}); s <= SecondsOfDay({7, 0, 1}); ++s)
    for (Kind k : kAllKinds)
      again += scheduler.CheckSecond(k, {kMonday, TimeFromSeconds(s)}, formats, 0, TodayRefs::For(kMonday)).size();
  EXPECT_EQ(caughtUp, 4u);
  EXPECT_EQ(again, 0u);
}

TEST(TestButton, EveryEntryInListOrderWhateverItsSchedule) {
  ReminderBook book;
  book.Replace(Kind::Daily, {"1:00:00 AM-1/1/1990--first", "not an entry",
                             "11:00:00 PM-12/31/2099--second"});
  const auto all = TestAnnouncements(book, Kind::Daily);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].message, "first");
  EXPECT_EQ(all[1].message, "second");
  EXPECT_EQ(all[1].kind, Kind::Daily);
  EXPECT_EQ(all[1].spacing, MessageSpacing::EmptyLine);
  EXPECT_TRUE(TestAnnouncements(book, Kind::Monthly).empty());
}

DueReminder Due(Kind kind, const std::string& entry) {
  return DueReminder{kind, entry, entry, MessageSpacing::EmptyLine};
}

TEST(AnnouncementGate, OneBoxAtATimeTheRestWaitInOrder) {
  AnnouncementGate gate;
  gate.BoxOpened();
  gate.Offer(Due(Kind::OneTime, "a"));
  gate.Offer(Due(Kind::Weekly, "b"));
  EXPECT_FALSE(gate.Next());  // the open box comes first
  gate.BoxOpened();           // a box opened inside another (Test, catch-up)
  gate.BoxClosed();
  EXPECT_FALSE(gate.Next());
  gate.BoxClosed();
  auto next = gate.Next();
  ASSERT_TRUE(next);
  EXPECT_EQ(next->entry, "a");
  gate.BoxOpened();
  EXPECT_FALSE(gate.Next());
  gate.BoxClosed();
  EXPECT_EQ(gate.Next()->entry, "b");
  EXPECT_FALSE(gate.Next());
  // An unmatched close does not let two boxes open at once later.
  gate.BoxClosed();
  gate.BoxOpened();
  EXPECT_TRUE(gate.BoxOpen());
}

TEST(AnnouncementGate, EqualRowsOfOneTickAreEachAnnouncedButNotQueuedTwice) {
  AnnouncementGate gate;
  gate.BoxOpened();
  gate.OfferTick({Due(Kind::Daily, "same"), Due(Kind::Daily, "same")});
  EXPECT_EQ(gate.Waiting(), 2u);
  // A later tick finds both due again while their boxes wait, and a third.
  gate.OfferTick({Due(Kind::Daily, "same"), Due(Kind::Daily, "same"), Due(Kind::Daily, "same")});
  EXPECT_EQ(gate.Waiting(), 3u);
  gate.BoxClosed();
  ASSERT_TRUE(gate.Next());
  gate.OfferTick({Due(Kind::Daily, "same"), Due(Kind::Daily, "same"), Due(Kind::Daily, "same")});
  EXPECT_EQ(gate.Waiting(), 3u);
}

TEST(AnnouncementGate, WaitingAnnouncementsStayBounded) {
  AnnouncementGate gate;
  gate.BoxOpened();
  // A short repeat interval and an absent user: the same entries again and again.
  for (int round = 0; round < 50; ++round) {
    for (int i = 0; i < 20; ++i) gate.Offer(Due(Kind::OneTime, "entry " + std::to_string(i)));
  }
  EXPECT_EQ(gate.Waiting(), 20u);
  // The same text on another page is another reminder.
  gate.Offer(Due(Kind::Daily, "entry 0"));
  EXPECT_EQ(gate.Waiting(), 21u);
  gate.BoxClosed();
  EXPECT_EQ(gate.Next()->entry, "entry 0");
  // Once taken, it may wait again.
  gate.Offer(Due(Kind::OneTime, "entry 0"));
  EXPECT_EQ(gate.Waiting(), 21u);
}

}  // namespace
}  // namespace pendra
