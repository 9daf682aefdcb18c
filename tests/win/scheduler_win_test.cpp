// The reminder window's timers and announcements, driven by WM_TIMER and the
// fake clock.
#include <algorithm>
#include <functional>
#include <utility>

#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

constexpr const char* kMonday = "Monday, June 19, 2000,";

using SchedulerTest = ReminderWindowTest;

TEST_F(SchedulerTest, EachKindIsAnnouncedInItsSecondAndOnlyThenAlsoInUtf8CodePage) {
  WriteList(Kind::OneTime, {"1:05:10 PM-6/19/2000--Call the bank 銀行 😀"});
  WriteList(Kind::Weekly, {"1:05:20 PM-Monday--Team - meeting -- room 2"});
  WriteList(Kind::Daily, {"1:05:30 PM-6/1/2000--Water the plants"});
  WriteList(Kind::Monthly, {"1:05:40 PM-19--Pay the rent"});
  Create();

  RunSeconds(9);
  EXPECT_TRUE(Announcements().empty());
  RunSeconds(1);
  ASSERT_EQ(Announcements().size(), 1u);
  // The on-time one-time announcement puts the message right after the time line.
  EXPECT_EQ(Announcements()[0],
            Announcement(Kind::OneTime, kMonday, "1:05 PM", "Call the bank 銀行 😀", true));
  EXPECT_EQ(Dialogs().shown[0].caption, "Pendra");

  RunSeconds(40);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], Announcement(Kind::Weekly, kMonday, "1:05 PM", "Team - meeting -- room 2"));
  EXPECT_EQ(shown[2], Announcement(Kind::Daily, kMonday, "1:05 PM", "Water the plants"));
  EXPECT_EQ(shown[3], Announcement(Kind::Monthly, kMonday, "1:05 PM", "Pay the rent"));

  RunSeconds(120);
  EXPECT_EQ(Announcements().size(), 4u);
  EXPECT_TRUE(ErrorTexts().empty());
}

TEST_F(SchedulerTest, AChangedTimeFormatKeepsRemindersFallingDue) {
  WriteList(Kind::Weekly, {"1:05:02 PM-Monday--written under h:mm:ss tt"});
  LocaleFormats f;
  f.longTime = "HH:mm:ss";
  E().locale.Change(f);
  Create();
  RunSeconds(5);
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("written under"), std::string::npos);

  // Without seconds: once within the minute, though checking starts inside it
  // and OK adds an entry for the minute under way.
  f.longTime = "h:mm tt";
  E().locale.Change(f);
  Clock().Set(2000, 6, 19, 9, 0, 30);
  WriteList(Kind::Daily, {"9:00 AM-6/1/2000--nine"});
  Restart();
  RunSeconds(10);
  const ReminderPage& p = P(Kind::Daily);
  Type(p.editMessage, "added");
  SetPicker(p.dtpTime, 2000, 6, 19, 9, 0, 0);
  Click(p.btnOK);
  RunSeconds(60);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[1].find("nine"), std::string::npos);
  EXPECT_NE(shown[2].find("added"), std::string::npos);
}

// The formats change while the program runs: the lists read and written
// until then are read by the old ones, which are remembered at the close.
TEST_F(SchedulerTest, AFormatChangeWhileRunningKeepsDatedRemindersFallingDue) {
  WriteList(Kind::OneTime, {"1:05:02 PM-6/19/2000--one-time"});
  WriteList(Kind::Daily, {"1:05:02 PM-6/1/2000--daily"});
  Create();
  RunSeconds(1);
  E().locale.Change(LocaleFormats{"yyyy-MM-dd", "HH:mm:ss"});
  RunSeconds(2);
  EXPECT_EQ(Announcements().size(), 2u);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  // The unchanged lists are still as written before the change; the date of
  // the close in the new formats.
  EXPECT_EQ(FormatsRecord(), "yyyy-MM-dd|HH:mm:ss|AM|PM;M/d/yyyy|h:mm:ss tt|AM|PM;written=1,1,1,1,0");
}

// M/d/yyyy to d/M/yyyy on the 8th: "6/8/2000", written under the old format,
// is still today; a list changed after the switch is written whole in the
// new one, and the formats are recorded at that write; a start later that
// day announces nothing twice.
TEST_F(SchedulerTest, AFieldIsReadTheWayItWasWrittenAfterTheDateFormatChanges) {
  Clock().Set(2000, 6, 8, 13, 5, 0);
  WriteList(Kind::OneTime, {"1:05:02 PM-6/8/2000--today"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/7/2000--daily"});
  Create();
  RunSeconds(1);
  E().locale.Change(LocaleFormats{"d/M/yyyy", "h:mm:ss tt"});
  RunSeconds(2);
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("today"), std::string::npos);

  const ReminderPage& p = P(Kind::OneTime);
  Type(p.editMessage, "added");
  SetPicker(p.dtpTime, 2000, 6, 8, 9, 0, 0);
  Click(p.btnOK);
  EXPECT_EQ(FileLines(Kind::OneTime), (Lines{"1:05:02 PM-8/6/2000--today", "9:00:00 AM-8/6/2000--added"}));
  EXPECT_EQ(FileLines(Kind::Daily), (Lines{"7:00:00 AM-6/7/2000--daily"}));
  EXPECT_EQ(FormatsRecord(), "d/M/yyyy|h:mm:ss tt|AM|PM;M/d/yyyy|h:mm:ss tt|AM|PM;written=0,1,1,1,1");

  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(EventsValue("Last Boot", " Date"), "8/6/2000");
  Clock().Set(2000, 6, 8, 18, 0, 0);
  Restart();
  { TBootCode boot(Frm()); }
  EXPECT_EQ(Announcements().size(), 1u);
}

// Written by Pendra under M/d/yyyy, then rewritten by another PC under
// d/M/yyyy while Pendra was closed: its dates are read by the formats in
// force, not by those Pendra last wrote it with (12/6 is 12 June).
TEST_F(SchedulerTest, AListRewrittenWhilePendraWasClosedIsReadByTheFormatsInForce) {
  WriteList(Kind::Daily, {"9:00:00 AM-6/1/2000--mine"});
  Create();
  Type(P(Kind::Daily).editMessage, "added");
  Click(P(Kind::Daily).btnOK);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  E().locale.Change(LocaleFormats{"d/M/yyyy", "h:mm:ss tt"});
  WriteList(Kind::Daily, {"1:05:10 PM-12/6/2000--theirs"});
  Restart();
  RunSeconds(15);
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("theirs"), std::string::npos);
}

TEST_F(SchedulerTest, TwoEqualRowsDueTogetherAreTwoAnnouncements) {
  WriteList(Kind::Monthly, {"1:05:01 PM-19--twice", "1:05:01 PM-19--twice"});
  WriteList(Kind::OneTime, {"1:00:00 PM-6/19/2000--again", "1:00:00 PM-6/19/2000--again"});
  Create();
  RunSeconds(2);
  EXPECT_EQ(Announcements().size(), 2u);
  // Repeat ticks under the first box: the row whose box is open is queued
  // again, the one still waiting is not.
  Type(Frm().spneditMinutes(), "1");
  int boxes = 0;
  Dialogs().duringBox = [&](const ShownMessage&) {
    if (++boxes > 1) return;
    Tick(TfrmMain::tmrEvent);
    Tick(TfrmMain::tmrEvent);
  };
  Tick(TfrmMain::tmrEvent);
  EXPECT_EQ(Announcements().size(), 5u);
}

TEST_F(SchedulerTest, EntriesWhoseScheduleDoesNotMatchAreNeverAnnounced) {
  WriteList(Kind::OneTime, {"1:05:10 PM-6/18/2000--yesterday", "1:05:10 PM-6/20/2000--tomorrow"});
  WriteList(Kind::Weekly, {"1:05:10 PM-monday--lower case", "1:05:10 PM-Wednesday--other day"});
  WriteList(Kind::Daily, {"1:05:10 PM-6/20/2000--begins tomorrow"});
  WriteList(Kind::Monthly, {"1:05:10 PM-31--day 31", "1:05:10 PM-18--day 18"});
  Create();
  RunSeconds(30);
  EXPECT_TRUE(Announcements().empty());

  // The next day the daily one and the one-time one dated then fall due.
  Clock().Set(2000, 6, 20, 13, 5, 0);
  RunSeconds(30);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("tomorrow"), std::string::npos);
  EXPECT_NE(shown[1].find("begins tomorrow"), std::string::npos);
}

TEST_F(SchedulerTest, LinesThatDoNotCutOrConvertArePassedOverAndTheFileIsKept) {
  const Lines lines = {"no separators here", "99:99:99 XM-6/19/2000--bad time",
                       "1:05:10 PM-13/45/2000--bad date", "1:05:10 PM-6/19/2000--good"};
  WriteList(Kind::OneTime, lines);
  WriteList(Kind::Daily, {"1:05:10 PM-not a date--bad", "1:05:10 PM-6/1/2000--daily good"});
  Create();
  RunSeconds(15);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("good"), std::string::npos);
  EXPECT_NE(shown[1].find("daily good"), std::string::npos);
  EXPECT_TRUE(ErrorTexts().empty());
  EXPECT_EQ(FileLines(Kind::OneTime), lines);
}

TEST_F(SchedulerTest, MidnightRefreshRunsOnTheFirstTickOfTheDayInA24HourLocale) {
  LocaleFormats f;
  f.longTime = "HH:mm:ss";
  f.shortDate = "dd.MM.yyyy";
  E().locale.Change(f);
  Clock().Set(2000, 6, 30, 23, 59, 57);  // a Friday, the last day of a 30-day month
  WriteList(Kind::Weekly, {"00:00:02-Saturday--weekend"});
  WriteList(Kind::Monthly, {"00:00:03-1--first of the month", "00:00:03-31--never in June"});
  Create();
  EXPECT_EQ(GetText(P(Kind::Weekly).editRef), "Friday");
  EXPECT_EQ(GetText(P(Kind::Monthly).editRef), "30");

  RunSeconds(10);
  EXPECT_EQ(GetText(P(Kind::Weekly).editRef), "Saturday");
  EXPECT_EQ(GetText(P(Kind::Weekly).cbSchedule), "Saturday");
  EXPECT_EQ(GetText(P(Kind::Monthly).editRef), "1");
  EXPECT_EQ(GetText(P(Kind::Monthly).cbSchedule), "1");
  for (Kind k : kAllKinds) {
    HWND picker = P(k).dtpSchedule ? P(k).dtpSchedule : P(k).dtpCalendar;
    const SYSTEMTIME st = PickerValue(picker);
    EXPECT_EQ(st.wMonth, 7) << Index(k);
    EXPECT_EQ(st.wDay, 1) << Index(k);
  }
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("weekend"), std::string::npos);
  EXPECT_NE(shown[1].find("first of the month"), std::string::npos);
  // The clock labels show the locale's time text.
  EXPECT_EQ(GetText(P(Kind::Daily).stxtClock), "00:00:07");
}

TEST_F(SchedulerTest, AWeeklyTimerTickingFirstOnANewDayComparesWithTheNewDay) {
  Clock().Set(2000, 6, 18, 23, 59, 59);  // Sunday
  WriteList(Kind::Weekly, {"12:00:00 AM-Sunday--still Sunday?", "12:00:00 AM-Monday--Monday"});
  WriteList(Kind::Monthly, {"12:00:00 AM-18--the 18th?", "12:00:00 AM-19--the 19th"});
  Create();
  TickSecond();
  // At midnight the weekly and monthly timers run before the clock timer.
  Clock().AdvanceSeconds(1);
  Tick(TfrmMain::tmrDayEvent);
  Tick(TfrmMain::tmrMonth);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("\rMonday"), std::string::npos);
  EXPECT_NE(shown[1].find("the 19th"), std::string::npos);
}

TEST_F(SchedulerTest, MonthDay31IsAnnouncedInALongMonthAfterTheRefresh) {
  Clock().Set(2000, 7, 30, 23, 59, 58);
  WriteList(Kind::Monthly, {"12:00:03 AM-31--end of July"});
  Create();
  RunSeconds(8);
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_EQ(Announcements()[0],
            Announcement(Kind::Monthly, "Monday, July 31, 2000,", "12:00 AM", "end of July"));
}

// A sound of a minute: its box is up at once, while it plays, and answering
// the box ends it; the seconds meanwhile are handled, and what falls due in
// them waits behind the open box with a sound of its own.
TEST_F(SchedulerTest, ALongSoundPlaysUnderItsBoxAndEndsWithTheAnswer) {
  WriteList(Kind::Daily, {"1:05:01 PM-6/1/2000--first", "1:05:02 PM-6/1/2000--meanwhile"});
  Create();
  Frm().Show();
  Type(P(Kind::Daily).edtSound, "C:\\a minute.wav");
  std::vector<std::string> atBox;  // per box: sounds started, sound playing, stops so far
  std::string clock;
  Dialogs().duringBox = [&](const ShownMessage&) {
    atBox.push_back(std::to_string(E().sound.played.size()) + (E().sound.playing ? " playing " : " silent ") +
                    std::to_string(E().sound.stops));
    if (atBox.size() == 1) {
      RunSeconds(1);
      clock = GetText(P(Kind::Daily).stxtClock);
    }
  };
  RunSeconds(1);
  EXPECT_EQ(atBox, (std::vector<std::string>{"1 playing 0", "2 playing 1"}));
  EXPECT_EQ(clock, "1:05:02 PM");
  EXPECT_FALSE(E().sound.playing);
  EXPECT_EQ(E().sound.stops, 2);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("first"), std::string::npos);
  EXPECT_NE(shown[1].find("meanwhile"), std::string::npos);
}

TEST_F(SchedulerTest, RepeatsComeAtTheIntervalInListOrderAndNotWithIntervalZero) {
  WriteList(Kind::OneTime, {"9:00:00 AM-6/19/2000--morning", "11:00:00 PM-6/19/2000--tonight",
                            "9:00:00 AM-6/18/2000--yesterday", "1:00:00 PM-6/19/2000--lunch"});
  Create();
  EXPECT_EQ(Frm().EventPeriodMs(), 0u);
  EXPECT_FALSE(KillTimer(Frm().ClockWindow(), TfrmMain::tmrEvent));  // not running

  Type(Frm().spneditMinutes(), "15");
  EXPECT_EQ(Frm().ReminderInterval(), 15);
  EXPECT_EQ(Frm().EventPeriodMs(), 15u * 60000u);
  Tick(TfrmMain::tmrEvent);
  auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], Announcement(Kind::OneTime, kMonday, "1:05 PM", "morning"));
  EXPECT_EQ(shown[1], Announcement(Kind::OneTime, kMonday, "1:05 PM", "lunch"));

  Clock().Set(2000, 6, 19, 23, 0, 0);
  Tick(TfrmMain::tmrEvent);
  EXPECT_EQ(Announcements().size(), 5u);

  Type(Frm().spneditMinutes(), "0");
  EXPECT_EQ(Frm().EventPeriodMs(), 0u);
  EXPECT_FALSE(KillTimer(Frm().ClockWindow(), TfrmMain::tmrEvent));
}

TEST_F(SchedulerTest, SpinTextThatIsNotANumberCountsAsZero) {
  Create();
  Type(Frm().spneditHours(), "2");
  Type(Frm().spneditMinutes(), "x");
  EXPECT_EQ(Frm().ReminderInterval(), 120);
  Type(Frm().spneditHours(), "");
  EXPECT_EQ(Frm().ReminderInterval(), 0);
  EXPECT_EQ(Frm().EventPeriodMs(), 0u);
  // A number beyond the spin range counts as its end.
  Type(Frm().spneditHours(), "99");
  EXPECT_EQ(Frm().ReminderInterval(), 24 * 60);
}

TEST_F(SchedulerTest, TicksDuringAnOpenBoxWaitAndBoxesStayBounded) {
  WriteList(Kind::OneTime, {"9:00:00 AM-6/19/2000--a", "10:00:00 AM-6/19/2000--b",
                            "11:00:00 AM-6/19/2000--c"});
  Create();
  Type(Frm().spneditMinutes(), "1");
  int depth = 0, maxDepth = 0, boxes = 0;
  size_t maxWaiting = 0;
  Dialogs().duringBox = [&](const ShownMessage&) {
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    // An absent user: the repeat timer keeps ticking under the first boxes.
    if (++boxes <= 6) {
      for (int i = 0; i < 5; ++i) {
        Tick(TfrmMain::tmrEvent);
        maxWaiting = std::max(maxWaiting, Frm().Gate().Waiting());
      }
    }
    --depth;
  };
  Tick(TfrmMain::tmrEvent);
  Dialogs().duringBox = nullptr;
  EXPECT_EQ(maxDepth, 1);
  EXPECT_LE(maxWaiting, 3u);
  EXPECT_EQ(Frm().Gate().Waiting(), 0u);
  const auto shown = Announcements();
  ASSERT_GE(shown.size(), 3u);
  EXPECT_NE(shown[0].find("\ra"), std::string::npos);
  EXPECT_NE(shown[1].find("\rb"), std::string::npos);
  EXPECT_NE(shown[2].find("\rc"), std::string::npos);
}

TEST_F(SchedulerTest, AReminderFallingDueDuringTestIsShownAfterTheTestBoxes) {
  WriteList(Kind::Weekly, {"1:05:01 PM-Monday--due now"});
  WriteList(Kind::Daily, {"8:00:00 AM-6/1/2000--d1", "9:00:00 AM-6/1/2000--d2"});
  Create();
  Dialogs().duringBox = [&](const ShownMessage& m) {
    if (m.text.find("d1") != std::string::npos) RunSeconds(1);
  };
  Click(P(Kind::Daily).btnTest);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[0].find("d1"), std::string::npos);
  EXPECT_NE(shown[1].find("d2"), std::string::npos);
  EXPECT_NE(shown[2].find("due now"), std::string::npos);
}

TEST_F(SchedulerTest, TestAnnouncesEveryEntryInListOrderWithTheTestWords) {
  WriteList(Kind::OneTime, {"9:00:00 AM-1/1/1999--old", "no separators", "1:00:00 PM-6/25/2000--later"});
  WriteList(Kind::Monthly, {"9:00:00 AM-3--m1", "9:00:00 AM-4--m2", "9:00:00 AM-5--m3"});
  Create();
  Type(P(Kind::Monthly).edtSound, "C:\\m.wav");
  Click(P(Kind::OneTime).btnTest);
  auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  const std::string oneTimeTest = Banner(Kind::OneTime) + "\r\rToday is. " + kMonday +
                                  "\r The Time is. 1:05 PM\r\r";
  EXPECT_EQ(shown[0], oneTimeTest + "old");
  EXPECT_EQ(shown[1], oneTimeTest + "later");

  Click(P(Kind::Monthly).btnTest);
  shown = Announcements();
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[2], Announcement(Kind::Monthly, kMonday, "1:05 PM", "m1"));
  EXPECT_EQ(shown[4], Announcement(Kind::Monthly, kMonday, "1:05 PM", "m3"));
  EXPECT_EQ(E().sound.played.size(), 3u);

  Click(P(Kind::Weekly).btnTest);  // an empty list shows nothing
  EXPECT_EQ(Announcements().size(), 5u);
}

class CatchUpTest : public ReminderWindowTest {
 protected:
  void Boot() { TBootCode boot(Frm()); }
};

TEST_F(CatchUpTest, AStartOnANewDayAnnouncesTodaysPassedReminders) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  Events().WriteString("Last Boot", " Date", "6/18/2000");
  WriteList(Kind::OneTime, {"7:00:00 AM-6/19/2000--one-time past", "9:00:00 AM-6/19/2000--later",
                            "7:00:00 AM-6/18/2000--yesterday"});
  WriteList(Kind::Weekly, {"7:30:00 AM-Monday--weekly", "7:30:00 AM-Tuesday--other day",
                           "8:00:00 AM-Monday--at start"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--daily", "7:00:00 AM-6/20/2000--not begun"});
  WriteList(Kind::Monthly, {"6:00:00 AM-19--monthly", "6:00:00 AM-18--other day"});
  Create();
  Boot();
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], Announcement(Kind::Weekly, kMonday, "8:00 AM", "weekly"));
  EXPECT_EQ(shown[1], Announcement(Kind::Daily, kMonday, "8:00 AM", "daily"));
  EXPECT_EQ(shown[2], Announcement(Kind::Monthly, kMonday, "8:00 AM", "monthly"));
  EXPECT_EQ(shown[3], Announcement(Kind::OneTime, kMonday, "8:00 AM", "one-time past"));
}

TEST_F(CatchUpTest, NothingIsShownAfterACloseToday) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  Events().WriteString("Last Boot", " Date", "6/19/2000");
  Events().WriteString("Last Boot", "Date", "6/18/2000");  // the ident keeps its blank
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--daily"});
  Create();
  Boot();
  EXPECT_TRUE(Announcements().empty());
}

TEST_F(CatchUpTest, OneTimeRemindersAreLeftToTheRepeatsWhenAnIntervalIsSet) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  Events().WriteInteger("Time", "Interval", 15);
  Events().WriteInteger("Time", "MinuteInterval", 15);
  WriteList(Kind::OneTime, {"7:00:00 AM-6/19/2000--one-time"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--daily"});
  Create();
  Boot();  // first run: no stored date
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("daily"), std::string::npos);
}

TEST_F(CatchUpTest, AStoredDateOfTheWrongTypeIsReportedAndTheStartGoesOn) {
  WriteDword("Last Boot", " Date", 1);
  WriteList(Kind::Daily, {"1:05:02 PM-6/1/2000--later today"});
  Create();
  Boot();
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Invalid data type for ' Date'"});
  RunSeconds(3);
  EXPECT_EQ(Announcements().size(), 1u);
}

TEST_F(CatchUpTest, TicksDuringTheCatchUpBoxesAreShownAfterThem) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--late", "8:00:01 AM-6/1/2000--on time"});
  Create();
  Dialogs().duringBox = [&](const ShownMessage& m) {
    if (m.text.find("late") != std::string::npos) RunSeconds(2);
  };
  Boot();
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0].find("late"), std::string::npos);
  EXPECT_NE(shown[1].find("on time"), std::string::npos);
}

}  // namespace
}  // namespace pendra::test
