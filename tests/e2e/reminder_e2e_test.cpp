// The start-up catch-up of the running program: a reminder of today whose time
// had passed is announced before the program settles, once a day.
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";

class ReminderE2e : public PendraE2eTest {
 protected:
  void SetUp() override {
    PendraE2eTest::SetUp();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // The reminder must lie before the start: midnight, a moment ago.
    if (now.wHour == 0 && now.wMinute == 0 && now.wSecond < 5) Sleep(5000);
    SYSTEMTIME midnight = DaysFromToday(-1);
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    WriteFileBytes(PathOf("DailyMessage.lst"),
                   TimeText(midnight) + "-" + DateText(midnight) + "--Take the pills\r\n");
  }
};

TEST_F(ReminderE2e, AStartOnANewDayAnnouncesTheMissedReminder) {
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(-1)));
  PendraProcess& p = StartPendra();
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Pendra");
  EXPECT_NE(box->text.find("DAILY REMINDER"), std::string::npos) << box->text;
  EXPECT_NE(box->text.find("Take the pills"), std::string::npos) << box->text;
  ASSERT_TRUE(PressButton(*box, IDOK));
  // Only the one box; then the program runs on with its tray.
  PumpFor(1500);
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  EXPECT_TRUE(WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"));
  EXPECT_EQ(CloseTray(p), 0u);
  // The exit closes the reminder window, which writes the day of the close.
  EXPECT_EQ(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date"), DateText(DaysFromToday(0)));
  EXPECT_EQ(ReadFileBytes(PathOf("DailyMessage.lst")).find("Take the pills") != std::string::npos, true);
}

TEST_F(ReminderE2e, AStartOnTheDayOfTheLastCloseShowsNothing) {
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  PendraProcess& p = StartPendra();
  PumpFor(2500);
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  EXPECT_EQ(CloseTray(p), 0u);
}

}  // namespace
}  // namespace pendra::e2e
