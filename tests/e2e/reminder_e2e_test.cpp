// The start-up catch-up of the running program: a reminder of today whose time
// had passed is announced before the program settles, once a day.
#include <windows.h>

#include <optional>
#include <string>

#include "app/tray_window_win.h"
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

TEST_F(ReminderE2e, ALongMissedReminderIsAnnouncedOnScreenAndAboveTheReminderWindow) {
  constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
  SYSTEMTIME midnight = DaysFromToday(0);
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  std::string message;
  for (int i = 0; message.size() < 5000; ++i) message += "word" + std::to_string(i) + " ";
  message += "END";
  WriteFileBytes(PathOf("DailyMessage.lst"), "");  // this one alone
  WriteFileBytes(PathOf("DayMessage.lst"),
                 TimeText(midnight) + "-" + kWeekdays[midnight.wDayOfWeek] + "--" + message + "\r\n");
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(-1)));
  PendraProcess& p = StartPendra();
  std::optional<MessageBoxInfo> box;
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& b : MessageBoxes(p.Pid()))
      if (b.text.find("WEEKLY REMINDER") != std::string::npos) box = b;
    return box.has_value();
  }));
  EXPECT_NE(box->text.find("word0 word1"), std::string::npos);
  EXPECT_NE(box->text.find("END"), std::string::npos);
  RECT rect{}, work{};
  GetWindowRect(box->hwnd, &rect);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(rect.left >= work.left && rect.top >= work.top && rect.right <= work.right &&
              rect.bottom <= work.bottom)
      << rect.left << "," << rect.top << " " << rect.right << "," << rect.bottom;

  // The reminder window opened from the tray does not cover it.
  Post(WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"), WM_COMMAND, kReminders1);
  HWND reminder = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    reminder = FindWindowOf(p.Pid(), "TfrmMain", "Reminder");
    return reminder && IsWindowVisible(reminder);
  }));
  PumpFor(300);
  HWND first = nullptr;
  for (HWND w = GetTopWindow(nullptr); w && !first; w = GetWindow(w, GW_HWNDNEXT))
    if (w == box->hwnd || w == reminder) first = w;
  EXPECT_EQ(first, box->hwnd);
  EXPECT_FALSE(IsWindowEnabled(reminder));
  ASSERT_TRUE(PressButton(*box, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(reminder) != FALSE; }));
  EXPECT_EQ(CloseTray(p), 0u);
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
