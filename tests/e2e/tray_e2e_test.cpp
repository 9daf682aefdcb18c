// The tray window of the running program: what a new user sees, settings kept
// across a restart, the exit with its saves, and the session end.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "app/end_request.h"
#include "app/tray_window_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

constexpr const char* kTrayKey = "Software\\Tavrin Software\\Pendra\\Tray";
constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
constexpr const char* kListFiles[] = {"Message.lst", "DayMessage.lst", "DailyMessage.lst",
                                      "MonthMessage.lst"};

class TrayE2e : public PendraE2eTest {
 protected:
  HWND TrayOf(PendraProcess& p) { return WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray"); }
  std::optional<std::string> Tray(const char* section, const char* ident) {
    return ReadRegText(std::string(kTrayKey) + "\\" + section, ident);
  }
  // The shell refuses to modify an icon it does not hold.
  static bool IconRegistered(HWND tray) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = tray;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, "Pendra: Right Click for Menu");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }
  static HWND PopupMenuOf(PendraProcess& p) {
    for (const auto& w : TopLevelWindows(p.Pid(), true))
      if (w.className == "#32768") return w.hwnd;
    return nullptr;
  }
  // A list in each file. LF line ends: a rewrite would turn them into CR LF.
  void WriteLists() {
    for (const char* list : kListFiles) WriteFileBytes(PathOf(list), std::string(list) + "\n");
  }
  // The exit saved the date of the close (unless the session went on) and
  // had no list to rewrite.
  void ExpectListsKeptAndCloseDateSaved(bool closed = true) {
    for (const char* list : kListFiles) EXPECT_EQ(ReadFileBytes(PathOf(list)), std::string(list) + "\n");
    EXPECT_EQ(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date").has_value(), closed);
  }
};

TEST_F(TrayE2e, NewUserSeesLauncherIconAndMenu) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  WindowInfo w = DescribeWindow(tray);
  EXPECT_TRUE(w.visible);
  EXPECT_EQ(w.rect.left, 343);
  EXPECT_EQ(w.rect.top, 252);
  EXPECT_EQ(w.rect.right - w.rect.left, 32);
  // The icon is added on a thread of its own, which may still be at work.
  EXPECT_TRUE(WaitUntil([&] { return IconRegistered(tray); }));
  EXPECT_EQ(ReadRegText(std::string(kPendraKey) + "\\Current Version", "PathName"), ExePath());

  // The menu pops up at the launcher's right press and goes on Escape. Its
  // items cannot be read from another process under Wine; the in-process
  // tests read them.
  Post(tray, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  HWND popup = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (popup = PopupMenuOf(p)) != nullptr; }, 5000));
  EXPECT_EQ(DescribeWindow(popup).rect.left, 343 + 5);
  Post(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return PopupMenuOf(p) == nullptr; }, 5000));

  Post(tray, kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(FindWindowOf(p.Pid(), "TfrmPendra")); },
                        5000));
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(TrayE2e, SettingsSurviveARestartAndAHiddenRunKeepsThePosition) {
  {
    PendraProcess& p = StartPendra();
    HWND tray = TrayOf(p);
    ASSERT_TRUE(tray);
    Post(tray, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    Post(tray, WM_LBUTTONUP, 0, MAKELPARAM(61, 25));
    Post(tray, WM_COMMAND, kHide1, 0);
    Post(tray, WM_COMMAND, kWindows1, 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadRegText(kRunKey, "Pendra") == ExePath(); }, 5000));
    EXPECT_EQ(Tray("Position", "Left"), "400");
    EXPECT_EQ(Tray("Position", "Top"), "273");
    EXPECT_EQ(CloseTray(p), 0u);
  }
  // The second run starts hidden with the icon; its exit must not store the
  // position the launcher was created at.
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  EXPECT_FALSE(IsWindowVisible(tray));
  EXPECT_TRUE(WaitUntil([&] { return IconRegistered(tray); }));
  Post(tray, WM_COMMAND, kWindows1, 0);
  EXPECT_TRUE(WaitUntil([&] { return !ReadRegText(kRunKey, "Pendra").has_value(); }, 5000));
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(Tray("Position", "Left"), "400");
  EXPECT_EQ(Tray("Position", "Top"), "273");
  EXPECT_EQ(Tray("Start", "StartWithWindows"), "0");
}

// Task Manager's and Settings' switch for a start-up program.
constexpr const char* kStartupApprovedKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The menu's captions cannot be read from another process under Wine; the
// command shows which one was offered: "Start With &Windows" makes the Run
// value name this copy.
TEST_F(TrayE2e, StartWithWindowsStaysWithTheCopyThatSetItAndFollowsTaskManager) {
  WriteRegText(std::string(kTrayKey) + "\\Start", "StartWithWindows", "1");
  auto offersToStart = [&](const std::optional<std::string>& runAtStart) {
    PendraProcess& p = StartPendra();
    HWND tray = TrayOf(p);
    if (!tray) return false;
    EXPECT_EQ(ReadRegText(kRunKey, "Pendra"), runAtStart);
    Post(tray, WM_COMMAND, kWindows1, 0);
    const bool started = WaitUntil([&] { return ReadRegText(kRunKey, "Pendra") == ExePath(); }, 5000);
    EXPECT_EQ(CloseTray(p), 0u);
    return started;
  };
  // Another copy that exists keeps the entry it set.
  const std::string other = PathOf("Stick\\Pendra.exe");
  CreateDirectoryA(PathOf("Stick").c_str(), nullptr);
  WriteFileBytes(other, "MZ");
  WriteRegText(kRunKey, "Pendra", '"' + other + '"');
  EXPECT_TRUE(offersToStart('"' + other + '"'));
  // An entry removed outside Pendra stays removed.
  DeleteRegValue(kRunKey, "Pendra");
  EXPECT_TRUE(offersToStart(std::nullopt));
  // Turned off in Task Manager: the command turns it on there too.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kStartupApprovedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const BYTE off[12] = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
  RegSetValueExA(key, "Pendra", 0, REG_BINARY, off, sizeof off);
  RegCloseKey(key);
  EXPECT_TRUE(offersToStart(ExePath()));
  EXPECT_EQ(RegSnapshot(kStartupApprovedKey), std::vector<std::string>{std::string(kStartupApprovedKey) + "\\"});
  DeleteRegValue(kStartupApprovedKey, "Pendra");
}

// An installer that has to replace the program asks it to end as the end of
// the session does, for this program alone. While a reminder waits for its
// answer Pendra refuses and says why; then it saves as at Exit and ends.
TEST_F(TrayE2e, AnInstallersEndRequestWaitsForTheReminderThenSavesAsAtExit) {
  SYSTEMTIME midnight = DaysFromToday(-1);
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  const std::string daily = TimeText(midnight) + "-" + DateText(midnight) + "--Take the pills\r\n";
  WriteFileBytes(PathOf("DailyMessage.lst"), daily);
  WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(midnight));
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(Send(tray, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), FALSE);
  char reason[256] = {};
  const HANDLE atom = GetPropA(tray, kEndRefusalProperty);
  GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(atom)), reason, sizeof reason);
  EXPECT_STREQ(reason, kReminderUnansweredReason);
  Send(tray, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP);
  EXPECT_FALSE(GetPropA(tray, kEndRefusalProperty));
  ASSERT_TRUE(PressButton(*box, IDOK));

  HWND quick = ShowFromTray(p, kQuickNotes1, "TfrmQuickie");
  ASSERT_TRUE(quick);
  Send(FindChild(quick, "RichEdit20A"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed before the update"));
  EXPECT_EQ(Send(tray, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
  Send(tray, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "typed before the update");
  EXPECT_EQ(ReadFileBytes(PathOf("DailyMessage.lst")), daily);
  EXPECT_EQ(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date"), DateText(DaysFromToday(0)));
}

TEST_F(TrayE2e, ExitPendraSavesAndEndsWithZero) {
  WriteLists();
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  ExpectListsKeptAndCloseDateSaved();
  EXPECT_EQ(Tray("Position", "Left"), "343");
}

// Wine's own logoff: wineboot sends WM_QUERYENDSESSION and WM_ENDSESSION to
// the prefix's programs as Windows does, and ends each one that agreed.
bool LogOff() {
  // This program would be ended too if it had a window.
  if (!TopLevelWindows(GetCurrentProcessId()).empty()) return false;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  char command[] = "wineboot.exe --end-session";
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  const bool ended =
      WaitUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
  CloseHandle(pi.hProcess);
  return ended;
}

// A note that cannot be saved keeps the session going, with the reason; once
// it can, the logoff saves everything an exit would.
TEST_F(TrayE2e, LogoffRefusedWhileANoteCannotBeSavedAndSavesAllOnceItCan) {
  WriteLists();
  PendraProcess& p = StartPendra();
  HWND quick = ShowFromTray(p, kQuickNotes1, "TfrmQuickie");
  ASSERT_TRUE(quick);
  HWND note = FindChild(quick, "RichEdit20A");
  ASSERT_TRUE(note);
  Send(note, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed before the logoff"));

  // Held open by another program: readable, but it cannot be replaced.
  const std::string notePath = PathOf("Quick.qnf");
  HANDLE held = CreateFileA(notePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string reason = "Pendra could not save: Cannot create file " + notePath + ".";
  EXPECT_TRUE(LogOff());
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Pendra");
  EXPECT_EQ(box->text, reason);
  EXPECT_TRUE(PressButton(*box, IDOK));
  EXPECT_TRUE(p.Running());
  EXPECT_TRUE(IsWindowVisible(quick));
  EXPECT_EQ(ReadFileBytes(notePath), "");
  // The rest was saved at the query all the same; the session went on, so
  // no date of a close was written.
  ExpectListsKeptAndCloseDateSaved(false);

  CloseHandle(held);
  EXPECT_TRUE(LogOff());
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(notePath), "typed before the logoff");
  ExpectListsKeptAndCloseDateSaved();
  EXPECT_EQ(Tray("Position", "Left"), "343");
}

}  // namespace
}  // namespace pendra::e2e
