// The start-up catch-up of the running program: a reminder of today whose time
// had passed is announced before the program settles, once a day.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/tray_window_win.h"
#include "reminders/reminder_page_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
using Strings = std::vector<std::string>;

// The messages of the next `count` boxes, each answered.
Strings Answer(PendraProcess& p, int count, DWORD timeoutMs) {
  Strings messages;
  for (std::optional<MessageBoxInfo> box; count-- > 0 && (box = WaitForMessageBox(p.Pid(), timeoutMs));) {
    messages.push_back(box->text.substr(box->text.rfind('\r') + 1));
    PressButton(*box, IDOK);
  }
  return messages;
}

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

// The alarm sound is a pipe that never delivers: answering the announcement
// leaves the program answering at once.
using AlarmE2e = PendraE2eTest;

TEST_F(AlarmE2e, AnAlarmWhoseFileNeverAnswersDoesNotHoldTheProgramUp) {
  const std::string pipe = "\\\\.\\pipe\\pendra-alarm-" + std::to_string(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 4, 0, 0, 0,
                                   nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  WriteRegText(std::string(kEventsKey) + "\\Alarm Sound", "WaveFileName1", pipe);
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  const SYSTEMTIME due = SecondsFromNow(4);
  WriteFileBytes(PathOf("Message.lst"), TimeText(due) + "-" + DateText(due) + "--Piped alarm\r\n");
  PendraProcess& p = StartPendra();
  const auto box = WaitForMessageBox(p.Pid(), 30000);
  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->text.find("Piped alarm"), std::string::npos) << box->text;
  ASSERT_TRUE(PressButton(*box, IDOK));
  const HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutA(tray, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
  EXPECT_EQ(CloseTray(p), 0u);
  CloseHandle(server);
}

TEST_F(ReminderE2e, AStartOnTheDayOfTheLastCloseShowsNothing) {
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  PendraProcess& p = StartPendra();
  PumpFor(2500);
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  EXPECT_EQ(CloseTray(p), 0u);
}

// DailyMessage.lst rewritten by another program (a sync tool) while Pendra
// runs with the reminder window hidden: what it brings goes off on its time,
// and neither what Pendra held before nor what passed before the change.
TEST_F(ReminderE2e, AListChangedElsewhereWhileRunningGoesOffWithTheWindowHidden) {
  if (SecondsFromNow(-120).wDay != SecondsFromNow(0).wDay) Sleep(120000);  // the passed one is of today
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  PendraProcess& p = StartPendra();
  auto entry = [](int seconds, const char* message) {
    return TimeText(SecondsFromNow(seconds)) + "-" + DateText(DaysFromToday(-1)) + "--" + message + "\r\n";
  };
  const std::string file = PathOf("DailyMessage.lst");
  WriteFileBytes(file, ReadFileBytes(file) + entry(-60, "passed before") + entry(6, "on time"));
  EXPECT_EQ(Answer(p, 1, kDefaultTimeoutMs), Strings{"on time"});
  EXPECT_TRUE(Answer(p, 1, 1500).empty());
  EXPECT_EQ(CloseTray(p), 0u);
}

// Remove All with the keys: the list file goes, and what it held is kept in
// Backup, whatever the time since the last version. While another program
// holds the file nothing goes, and the user is told.
TEST_F(ReminderE2e, RemoveAllKeepsWhatItTakesAway) {
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  const std::string list = "9:00:00 AM-" + DateText(DaysFromToday(3)) + "--dentist\r\n";
  WriteFileBytes(PathOf("Message.lst"), list);
  PendraProcess& p = StartPendra();
  HWND reminders = ShowFromTray(p, kReminders1, "TfrmMain");
  ASSERT_TRUE(reminders);
  const HANDLE held =
      CreateFileA(PathOf("Message.lst").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (bool isHeld : {true, false}) {
    ASSERT_TRUE(ClickInto(reminders, FindChild(reminders, "Edit")));
    PressKey('A', {VK_MENU});  // Remove &All
    const auto box = WaitForMessageBox(p.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->text.find("remove all your Reminders"), std::string::npos) << box->text;
    if (!isHeld) break;
    PressKey(VK_RETURN);  // Yes
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }, 5000));
    const auto refused = WaitForMessageBox(p.Pid());
    ASSERT_TRUE(refused.has_value());
    EXPECT_NE(refused->text.find("Message.lst was not removed"), std::string::npos) << refused->text;
    CloseHandle(held);  // before the list is read again
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(refused->hwnd); }, 5000));
    EXPECT_EQ(ReadFileBytes(PathOf("Message.lst")), list);
  }
  PressKey(VK_RETURN);  // Yes
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(PathOf("Message.lst")); }, 5000));
  const std::vector<std::string> copies = FolderSnapshot(PathOf("Backup\\"));
  ASSERT_EQ(copies.size(), 2u);  // the version, and the record of it
  EXPECT_EQ(copies[0].rfind("Message ", 0), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("Backup\\" + copies[0].substr(0, copies[0].rfind(':')))), list);
  EXPECT_EQ(CloseTray(p), 0u);
}

// Another program rewrites DayMessage.lst in place after Pendra announced
// today's reminder: it empties the file and writes it again 1.5 s later, with
// one reminder added for tomorrow and one for a moment later. The handled one
// is not announced again; the one it brought is.
TEST_F(ReminderE2e, AListEmptiedAndRefilledInPlaceAnnouncesNothingTwice) {
  if (SecondsFromNow(30).wDay != SecondsFromNow(0).wDay) Sleep(40000);  // all of it today
  auto weekly = [](const SYSTEMTIME& at, const char* message) {
    return TimeText(at) + "-" + kWeekdays[at.wDayOfWeek] + "--" + message + "\r\n";
  };
  auto inPlace = [this](const std::string& bytes) {
    const HANDLE h = CreateFileA(PathOf("DayMessage.lst").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  };
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  const std::string lunch = weekly(SecondsFromNow(4), "Lunch");
  WriteFileBytes(PathOf("DayMessage.lst"), lunch);
  PendraProcess& p = StartPendra();
  EXPECT_EQ(Answer(p, 1, 30000), Strings{"Lunch"});
  PumpFor(1500);
  inPlace("");
  PumpFor(1500);
  inPlace(lunch + weekly(DaysFromToday(1), "Tomorrow") + weekly(SecondsFromNow(6), "Brought"));
  EXPECT_EQ(Answer(p, 2, 12000), Strings{"Brought"});
  EXPECT_EQ(CloseTray(p), 0u);
}

// The end of daylight saving time, under a TZ rule whose change comes 25 s
// after the start: Pendra starts at 4:40 PM after a reminder of each kind was
// due and announces them; the clock goes back an hour, to 12 s before their
// time, and shows it. None comes again.
TEST_F(ReminderE2e, RemindersAnnouncedBeforeTheClockGoesBackComeNotAgain) {
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  // Standard time a whole number of minutes from UTC, one hour less than the
  // daylight time that now reads 4:40 PM and some seconds.
  const int offset = ((16 * 60 + 40 - 60 - (utc.wHour * 60 + utc.wMinute)) % 1440 + 2160) % 1440 - 720;
  auto local = [&](long long seconds) {  // daylight time, `seconds` from now
    FILETIME ft{};
    SystemTimeToFileTime(&utc, &ft);
    const ULONGLONG at = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) +
                         static_cast<ULONGLONG>((offset * 60LL + 3600 + seconds) * 10000000LL);
    ft = FILETIME{static_cast<DWORD>(at), static_cast<DWORD>(at >> 32)};
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
  };
  constexpr int kChange = 25, kDue = kChange - 3600 + 12;  // seconds from now
  const SYSTEMTIME change = local(kChange), due = local(kDue);
  char tz[96];
  std::snprintf(tz, sizeof tz, "TZ='XST%c%d:%02dXDT,J1/0,M%d.%d.%d/%d:%02d:%02d'", offset > 0 ? '-' : '+',
                std::abs(offset) / 60, std::abs(offset) % 60, change.wMonth, (change.wDay - 1) / 7 + 1,
                change.wDayOfWeek, change.wHour, change.wMinute, change.wSecond);
  const std::string at = TimeText(due) + "-", dayBefore = DateText(local(kDue - 86400));
  WriteFileBytes(PathOf("Message.lst"), at + DateText(due) + "--one-time\r\n");
  WriteFileBytes(PathOf("DayMessage.lst"), at + kWeekdays[due.wDayOfWeek] + "--weekly\r\n");
  WriteFileBytes(PathOf("DailyMessage.lst"), at + dayBefore + "--daily\r\n");
  WriteFileBytes(PathOf("MonthMessage.lst"), at + std::to_string(due.wDay) + "--monthly\r\n");
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", dayBefore);
  const DWORD started = GetTickCount();
  PendraProcess& p = StartPendraUnder(tz);
  EXPECT_EQ(Answer(p, 4, kDefaultTimeoutMs), (Strings{"weekly", "daily", "monthly", "one-time"})) << tz;
  ASSERT_LT(GetTickCount() - started, kChange * 1000u) << "the start came too late for the change";
  const HWND clock = ChildWithId(ShowFromTray(p, kReminders1, "TfrmMain"), ControlId(Kind::OneTime, Ctl::stxtClock));
  EXPECT_TRUE(Answer(p, 1, (kChange + 18) * 1000 - (GetTickCount() - started)).empty());
  bool back = false;
  for (int s = 0; s < 30; ++s) back = back || WindowText(clock) == TimeText(local(kDue + s));
  EXPECT_TRUE(back) << WindowText(clock) << " under " << tz;
  EXPECT_EQ(CloseTray(p), 0u);
}

// Lists written under the 12-hour clock and M/d/yyyy; the user then changes
// the formats in the regional settings. Every kind is still caught up at the
// next start and announced on time, and no list is rewritten.
struct FormatSwitch {
  const char *name, *shortDate, *timeFormat;
};

class FormatSwitchE2e : public PendraE2eTest, public testing::WithParamInterface<FormatSwitch> {
 protected:
  static constexpr const char* kInternational = "Control Panel\\International";
  void SetUp() override {
    PendraE2eTest::SetUp();
    for (auto& [name, value] : saved_) value = ReadRegText(kInternational, name);
    SetFormats("M/d/yyyy", "h:mm:ss tt");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_)
      value ? WriteRegText(kInternational, name, *value) : DeleteRegValue(kInternational, name);
    PendraE2eTest::TearDown();
  }
  static void SetFormats(const char* date, const char* time) {
    WriteRegText(kInternational, "sShortDate", date);
    WriteRegText(kInternational, "sTimeFormat", time);
  }
  // Date text or time text as the program wrote it under the old formats.
  static std::string Old(const SYSTEMTIME& st, bool date) {
    char buffer[64] = {};
    if (date) GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "M/d/yyyy", buffer, sizeof buffer);
    else GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, "h:mm:ss tt", buffer, sizeof buffer);
    return buffer;
  }

 private:
  std::pair<const char*, std::optional<std::string>> saved_[2]{{"sShortDate", {}}, {"sTimeFormat", {}}};
};

TEST_P(FormatSwitchE2e, EveryKindIsCaughtUpAndAnnouncedAndNoListIsRewritten) {
  const SYSTEMTIME now = SecondsFromNow(0);
  if (now.wHour == 23 && now.wMinute >= 58)  // the whole run falls within one day
    Sleep(static_cast<DWORD>(60 * (59 - now.wMinute) + 65 - now.wSecond) * 1000);
  // Two starts and a close take a few seconds, under load too.
  const SYSTEMTIME today = DaysFromToday(0), onTime = SecondsFromNow(12);
  SYSTEMTIME midnight = today;
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  const std::string yesterday = Old(DaysFromToday(-1), true);
  std::pair<std::string, std::string> files[] = {{"Message", Old(today, true)},
                                                 {"DayMessage", kWeekdays[today.wDayOfWeek]},
                                                 {"DailyMessage", yesterday},
                                                 {"MonthMessage", std::to_string(today.wDay)}};
  for (auto& [kind, text] : files) {
    text = Old(midnight, false) + "-" + text + "--" + kind + " missed\r\n" + Old(onTime, false) +
           "-" + text + "--" + kind + " on time\r\n";
    WriteFileBytes(PathOf(kind + ".lst"), text);
  }
  const std::string lastBoot = std::string(kEventsKey) + "\\Last Boot";
  WriteRegText(lastBoot, " Date", Old(today, true));
  ASSERT_EQ(CloseTray(StartPendra()), 0u);  // it remembers the formats at its close

  SetFormats(GetParam().shortDate, GetParam().timeFormat);
  WriteRegText(lastBoot, " Date", yesterday);
  PendraProcess& p = StartPendra();
  EXPECT_EQ(Answer(p, 4, kDefaultTimeoutMs),
            (Strings{"DayMessage missed", "DailyMessage missed", "MonthMessage missed", "Message missed"}));
  Strings onTimes = Answer(p, 4, 30000);
  EXPECT_TRUE(Answer(p, 1, 1500).empty());
  std::sort(onTimes.begin(), onTimes.end());
  EXPECT_EQ(onTimes, (Strings{"DailyMessage on time", "DayMessage on time", "Message on time",
                              "MonthMessage on time"}));
  EXPECT_EQ(CloseTray(p), 0u);
  for (const auto& [kind, text] : files) EXPECT_EQ(ReadFileBytes(PathOf(kind + ".lst")), text) << kind;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FormatSwitchE2e,
    testing::Values(FormatSwitch{"TwentyFourHour", "M/d/yyyy", "HH:mm:ss"},
                    FormatSwitch{"Iso", "yyyy-MM-dd", "HH:mm:ss"},
                    FormatSwitch{"German", "d.M.yyyy", "HH:mm:ss"},
                    // Read both ways on days 1 to 12: 12/8 is still 8 December.
                    FormatSwitch{"DayFirst", "d/M/yyyy", "h:mm:ss tt"}),
    [](const testing::TestParamInfo<FormatSwitch>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pendra::e2e
