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

TEST(ReminderEntry, AnEmptyScheduleCutsWithoutTouchingTheMessage) {
  // Typed day text left empty on the weekly or monthly page: "time---message".
  for (const char* message : {"Call", "-x", "a--b", ""}) {
    const std::string entry = ComposeEntry("9:00:00 AM", "", message);
    const auto f = CutEntry(entry);
    ASSERT_TRUE(f) << entry;
    EXPECT_EQ(f->time, "9:00:00 AM");
    EXPECT_EQ(f->schedule, "");
    EXPECT_EQ(f->message, message);
  }
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

TEST(ReminderKinds, HeadingsKeepTheirBlanks) {
  EXPECT_STREQ(Info(Kind::OneTime).heading1, "   Time  &  Date");
  EXPECT_EQ(std::string(Info(Kind::Weekly).heading2), std::string(44, ' ') + "Message");
  EXPECT_EQ(std::string(Info(Kind::Monthly).heading2), std::string(44, ' ') + "Message");
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

}  // namespace
}  // namespace pendra
