// The reminder lists of the running program when their files or settings are
// not what they should be: a list held open by another program at start, a
// setting of the wrong type, a list that cannot be written. The user's
// reminders are never lost, and the program still lets the user leave.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/tray_window_win.h"
#include "reminders/reminder_book.h"
#include "reminders/reminder_page_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";

// A file held open without sharing, as a backup or sync tool holds it at
// logon. The test itself reads and writes it through the handle.
class HeldFile {
 public:
  HeldFile(const std::string& path, DWORD share = 0)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Release(); }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  std::string Bytes() const {
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD got = 0;
    ReadFile(handle_, buffer, sizeof buffer, &got, nullptr);
    return std::string(buffer, got);
  }
  void Rewrite(const std::string& bytes) {
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    SetEndOfFile(handle_);
  }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class ListFilesE2e : public PendraE2eTest {
 protected:
  void SetUp() override {
    PendraE2eTest::SetUp();
    // Last closed today: no catch-up boxes at start.
    WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
    // One entry in each list, none due during the test. LF line ends: a
    // rewrite would turn them into CR LF.
    const SYSTEMTIME yesterday = DaysFromToday(-1), tomorrow = DaysFromToday(1);
    const std::string at = TimeText(yesterday) + "-";
    SetList("Message.lst", at + DateText(yesterday) + "--one-time\n");
    SetList("DayMessage.lst", at + "Someday--weekly\n");
    SetList("DailyMessage.lst", at + DateText(tomorrow) + "--daily\n");
    SetList("MonthMessage.lst", at + "32--monthly\n");
  }
  void SetList(const std::string& name, const std::string& bytes) {
    lists_[name] = bytes;
    WriteFileBytes(PathOf(name), bytes);
  }
  void ExpectListsKept(const char* held = nullptr) {
    for (const auto& [name, bytes] : lists_)
      if (!held || name != held) EXPECT_EQ(ReadFileBytes(PathOf(name)), bytes) << name;
  }
  static std::string DueIn(int seconds, const std::string& schedule, const std::string& message) {
    return TimeText(SecondsFromNow(seconds)) + "-" + schedule + "--" + message + "\n";
  }

  // Answers the program's boxes with OK until one whose text holds `part`
  // has gone; returns the texts answered.
  static std::vector<std::string> AnswerUntil(PendraProcess& p, const std::string& part,
                                              DWORD timeoutMs = kDefaultTimeoutMs) {
    std::vector<std::string> texts;
    WaitUntil(
        [&] {
          for (const auto& box : MessageBoxes(p.Pid())) {
            EXPECT_EQ(box.caption, "Pendra");
            texts.push_back(box.text);
            PressButton(box, IDOK);
            if (box.text.find(part) != std::string::npos) return true;
          }
          return false;
        },
        timeoutMs);
    return texts;
  }
  static HWND Tray(PendraProcess& p) { return WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"); }
  static HWND ShowReminderWindow(PendraProcess& p) {
    Post(Tray(p), WM_COMMAND, kReminders1, 0);
    HWND frm = WaitForWindowOf(p.Pid(), "TfrmMain");
    WaitUntil([&] { return IsWindowVisible(frm) != FALSE; }, 5000);
    return frm;
  }
  // The title bar's close box: true when the window went away.
  static bool CloseBox(HWND frm) {
    Post(frm, WM_CLOSE);
    return WaitUntil([&] { return !IsWindowVisible(frm); }, 5000);
  }
  static DWORD EndSession(PendraProcess& p) {
    HWND tray = Tray(p);
    EXPECT_EQ(Send(tray, WM_QUERYENDSESSION), TRUE);
    Send(tray, WM_ENDSESSION, TRUE);
    return p.WaitExit();
  }
  static DWORD ExitPendra(PendraProcess& p) {
    Post(Tray(p), WM_COMMAND, kMnuClose, 0);
    return p.WaitExit();
  }
  // Types a message into a page's entry panel and presses its OK.
  static void AddEntry(HWND frm, Kind kind, const char* message) {
    HWND edit = nullptr, ok = nullptr;
    for (const auto& w : ChildWindows(frm)) {
      if (GetDlgCtrlID(w.hwnd) == ControlId(kind, Ctl::editMessage)) edit = w.hwnd;
      if (GetDlgCtrlID(w.hwnd) == ControlId(kind, Ctl::btnOK)) ok = w.hwnd;
    }
    ASSERT_TRUE(edit && ok);
    Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(message));
    Post(frm, WM_COMMAND, MAKEWPARAM(ControlId(kind, Ctl::btnOK), BN_CLICKED),
         reinterpret_cast<LPARAM>(ok));
  }

  std::map<std::string, std::string> lists_;
};

TEST_F(ListFilesE2e, AListHeldAtStartIsNeverWrittenAndIsAnnouncedOnceFree) {
  HeldFile held(PathOf("Message.lst"));
  ASSERT_TRUE(held.Held());
  const std::string told = UnreadListMessage(PathOf("Message.lst")) + ".";
  {
    PendraProcess& p = StartPendra();
    EXPECT_EQ(AnswerUntil(p, "Message.lst"), std::vector<std::string>{told});
    EXPECT_TRUE(CloseBox(ShowReminderWindow(p)));
    EXPECT_EQ(EndSession(p), 0u);
  }
  {
    PendraProcess& p = StartPendra();
    EXPECT_EQ(AnswerUntil(p, "Message.lst"), std::vector<std::string>{told});
    EXPECT_EQ(ExitPendra(p), 0u);
  }
  ExpectListsKept("Message.lst");
  EXPECT_EQ(held.Bytes(), lists_["Message.lst"]);

  // A reminder of today in the held list, announced once the lock is gone.
  PendraProcess& p = StartPendra();
  EXPECT_EQ(AnswerUntil(p, "Message.lst"), std::vector<std::string>{told});
  lists_["Message.lst"] = DueIn(6, DateText(DaysFromToday(0)), "Free at last");
  held.Rewrite(lists_["Message.lst"]);
  held.Release();
  ShowReminderWindow(p);
  const auto answered = AnswerUntil(p, "Free at last", 12000);
  ASSERT_FALSE(answered.empty());
  EXPECT_NE(answered.back().find("REMINDER"), std::string::npos) << answered.back();
  EXPECT_EQ(ExitPendra(p), 0u);
  ExpectListsKept();
}

TEST_F(ListFilesE2e, ASettingOfTheWrongTypeNeitherStopsTheListsNorCostsThem) {
  WriteRegDword(std::string(kEventsKey) + "\\Time", "Interval", 15);
  SetList("DailyMessage.lst", DueIn(10, DateText(DaysFromToday(-1)), "Still on time"));
  const std::string told = "Invalid data type for 'Interval'";
  {
    PendraProcess& p = StartPendra();
    EXPECT_EQ(AnswerUntil(p, "Invalid"), std::vector<std::string>{told});
    const auto answered = AnswerUntil(p, "Still on time", 15000);
    ASSERT_FALSE(answered.empty());
    EXPECT_NE(answered.back().find("DAILY REMINDER"), std::string::npos) << answered.back();
    EXPECT_TRUE(CloseBox(ShowReminderWindow(p)));
    EXPECT_EQ(EndSession(p), 0u);
  }
  ExpectListsKept();
  // Hiding the window stored the interval as text again; spoil it once more.
  WriteRegDword(std::string(kEventsKey) + "\\Time", "Interval", 15);
  PendraProcess& p = StartPendra();
  EXPECT_EQ(AnswerUntil(p, "Invalid"), std::vector<std::string>{told});
  EXPECT_EQ(ExitPendra(p), 0u);
  ExpectListsKept();
}

TEST_F(ListFilesE2e, ListThatCannotBeWrittenKeepsTheProgramRunning) {
  PendraProcess& p = StartPendra();
  HWND tray = Tray(p);
  ASSERT_TRUE(tray);
  // Held open without write sharing, as a backup tool might: readable, but it
  // cannot be replaced.
  HeldFile held(PathOf("DailyMessage.lst"), FILE_SHARE_READ);
  ASSERT_TRUE(held.Held());
  AddEntry(ShowReminderWindow(p), Kind::Daily, "Added while held");
  const std::string cannot = "Cannot create file " + PathOf("DailyMessage.lst") + ".";
  // The entry takes the panel's time, the moment the window opened: when the
  // clock's check falls between that and OK, the entry is announced as well,
  // before or after the box.
  int announced = 0;
  const auto answerCannot = [&] {
    std::vector<std::string> answered = AnswerUntil(p, "Cannot create");
    announced += static_cast<int>(std::erase_if(answered, [](const std::string& text) {
      return text.find("DAILY REMINDER") != std::string::npos &&
             text.find("Added while held") != std::string::npos;
    }));
    return answered;
  };
  EXPECT_EQ(answerCannot(), std::vector<std::string>{cannot});

  // The exit does not throw the new entry away: it cannot save it and stays,
  // having saved the rest.
  const std::string lastBoot = std::string(kEventsKey) + "\\Last Boot";
  DeleteRegValue(lastBoot, " Date");
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(answerCannot(), std::vector<std::string>{cannot});
  EXPECT_LE(announced, 1);
  PumpFor(500);
  EXPECT_TRUE(p.Running());
  EXPECT_TRUE(IsWindowVisible(tray));
  ExpectListsKept();
  EXPECT_EQ(ReadRegText(lastBoot, " Date"), DateText(DaysFromToday(0)));

  held.Release();
  EXPECT_EQ(ExitPendra(p), 0u);
  const std::string daily = ReadFileBytes(PathOf("DailyMessage.lst"));
  const std::string& before = lists_["DailyMessage.lst"];
  EXPECT_EQ(daily.find(before.substr(0, before.size() - 1) + "\r\n"), 0u) << daily;
  EXPECT_NE(daily.find("--Added while held\r\n"), std::string::npos) << daily;
}

}  // namespace
}  // namespace pendra::e2e
