#include <gtest/gtest.h>

#include <random>
#include <string>

#include "reminders/announcement.h"
#include "reminders/entry.h"
#include "reminders/reminder_kinds.h"

namespace pendra {
namespace {

TEST(ReminderEntry, CutsMessagesAndDatesHoldingHyphens) {
  const std::string entry = ComposeEntry("9:00:00 AM", "6/19/2000", "pay - rent -- now");
  EXPECT_EQ(entry, "9:00:00 AM-6/19/2000--pay - rent -- now");
  auto f = CutEntry(entry);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->time, "9:00:00 AM");
  EXPECT_EQ(f->schedule, "6/19/2000");
  EXPECT_EQ(f->message, "pay - rent -- now");

  // An ISO date text cuts into the same fields as one written with "/".
  const std::string iso = ComposeEntry("09:00:00", "2000-06-19", "a-b--c");
  f = CutEntry(iso);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->time, "09:00:00");
  EXPECT_EQ(f->schedule, "2000-06-19");
  EXPECT_EQ(f->message, "a-b--c");

  f = CutEntry("9:00:00 AM-Monday--");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->schedule, "Monday");
  EXPECT_EQ(f->message, "");
}

TEST(ReminderEntry, LinesWithoutBothSeparatorsDoNotCut) {
  EXPECT_FALSE(CutEntry(""));
  EXPECT_FALSE(CutEntry("just a note"));
  EXPECT_FALSE(CutEntry("9:00:00 AM-Monday"));
  // The first "-" may begin the first "--": the schedule is then empty.
  auto f = CutEntry("9:00--msg-x");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->time, "9:00");
  EXPECT_EQ(f->schedule, "");
  EXPECT_EQ(f->message, "msg-x");
  f = CutEntry("--");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->time, "");
  EXPECT_EQ(f->message, "");
}

TEST(ReminderEntry, RandomLinesCutWithinBounds) {
  std::mt19937 rng(7);
  const std::string alphabet = "-9:AM /x\r";
  for (int i = 0; i < 20000; ++i) {
    std::string line(rng() % 12, ' ');
    for (auto& c : line) c = alphabet[rng() % alphabet.size()];
    const auto f = CutEntry(line);
    if (!f) continue;
    EXPECT_EQ(f->time.find('-'), std::string_view::npos) << line;
    EXPECT_EQ(f->schedule.find("--"), std::string_view::npos) << line;
    EXPECT_LE(f->time.size() + f->schedule.size() + f->message.size() + 2, line.size()) << line;
  }
}

TEST(ReminderKinds, FixedTextsKeepTheirBlanks) {
  EXPECT_STREQ(Info(Kind::OneTime).pageCaption, "Reminder");
  EXPECT_STREQ(Info(Kind::Monthly).fileName, "MonthMessage.lst");
  EXPECT_STREQ(Info(Kind::Weekly).fileName, "DayMessage.lst");
  EXPECT_STREQ(Info(Kind::Daily).fileName, "DailyMessage.lst");
  EXPECT_STREQ(Info(Kind::OneTime).heading1, "   Time  &  Date");
  EXPECT_EQ(std::string(Info(Kind::Weekly).heading2), std::string(44, ' ') + "Message");
  EXPECT_EQ(std::string(Info(Kind::Monthly).heading2), std::string(44, ' ') + "Message");
  EXPECT_STREQ(Info(Kind::Daily).heading2, "Message");
  for (Kind k : kAllKinds) EXPECT_EQ(Info(k).soundSlot, Index(k) + 1);
  EXPECT_STREQ(Info(Kind::Weekly).removeAllQuestion,
               "Are you sure that you want to remove all your Weekly Reminders from this page?");
}

class AnnouncementText : public ::testing::Test {
 protected:
  static std::string Blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
  LocaleFormats formats;
  const DateTime monday{{2000, 6, 19}, {13, 5, 42}};
  const std::string dateLine = "Monday, June 19, 2000,";
};

TEST_F(AnnouncementText, EachKindWithItsBannerAndWords) {
  EXPECT_EQ(ComposeAnnouncement(Kind::Weekly, "Team call", formats, monday, Words::Standard,
                                MessageSpacing::EmptyLine),
            Blanks(18) + "WEEKLY REMINDER" + Blanks(18) + "\r\rToday is... " + dateLine +
                "\r The Time is... 1:05 PM\r\rTeam call");
  EXPECT_EQ(ComposeAnnouncement(Kind::Daily, "m", formats, monday, Words::Standard,
                                MessageSpacing::EmptyLine),
            Blanks(18) + "DAILY REMINDER" + Blanks(18) + "\r\rToday is... " + dateLine +
                "\r The Time is... 1:05 PM\r\rm");
  EXPECT_EQ(ComposeAnnouncement(Kind::Monthly, "m", formats, monday, Words::Standard,
                                MessageSpacing::EmptyLine),
            Blanks(18) + "MONTHLY  REMINDER" + Blanks(14) + "\r\rToday is... " + dateLine +
                "\r The Time is... 1:05 PM\r\rm");
  // The one-second one-time check: a single CR before the message.
  EXPECT_EQ(ComposeAnnouncement(Kind::OneTime, "Dentist", formats, monday, Words::Standard,
                                MessageSpacing::SingleBreak),
            Blanks(20) + "REMINDER" + Blanks(18) + "\r\rToday is... " + dateLine +
                "\r The Time is... 1:05 PM\rDentist");
  // The one-time page's Test words.
  EXPECT_EQ(ComposeAnnouncement(Kind::OneTime, "Dentist", formats, monday, Words::OneTimeTest,
                                MessageSpacing::EmptyLine),
            Blanks(20) + "REMINDER" + Blanks(18) + "\r\rToday is. " + dateLine +
                "\r The Time is. 1:05 PM\r\rDentist");
}

TEST_F(AnnouncementText, TwelveHourClockAroundMidnightAndNoon) {
  const auto at = [&](int h, int m) {
    return ComposeAnnouncement(Kind::Daily, "x", formats, DateTime{{2000, 6, 19}, {h, m, 0}},
                               Words::Standard, MessageSpacing::EmptyLine);
  };
  EXPECT_NE(at(0, 7).find(" The Time is... 12:07 AM\r"), std::string::npos);
  EXPECT_NE(at(12, 0).find(" The Time is... 12:00 PM\r"), std::string::npos);
  EXPECT_NE(at(9, 30).find(" The Time is... 9:30 AM\r"), std::string::npos);
}

}  // namespace
}  // namespace pendra
