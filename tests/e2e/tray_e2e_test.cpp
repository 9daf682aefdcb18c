// The tray window of the running program: what a new user sees, settings kept
// across a restart, the exit with its saves, and the session end.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

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
  void ExpectListsAndCloseDateSaved() {
    for (const char* list : kListFiles) EXPECT_TRUE(FileExists(PathOf(list))) << list;
    EXPECT_TRUE(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date").has_value());
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
  EXPECT_TRUE(IconRegistered(tray));
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
  EXPECT_TRUE(IconRegistered(tray));
  Post(tray, WM_COMMAND, kWindows1, 0);
  EXPECT_TRUE(WaitUntil([&] { return !ReadRegText(kRunKey, "Pendra").has_value(); }, 5000));
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(Tray("Position", "Left"), "400");
  EXPECT_EQ(Tray("Position", "Top"), "273");
  EXPECT_EQ(Tray("Start", "StartWithWindows"), "0");
}

TEST_F(TrayE2e, ExitPendraSavesAndEndsWithZero) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  ExpectListsAndCloseDateSaved();
  EXPECT_EQ(Tray("Position", "Left"), "343");
}

TEST_F(TrayE2e, ListThatCannotBeWrittenKeepsTheProgramRunning) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  // Held open without write sharing, as a backup tool might: readable, but it
  // cannot be replaced at exit.
  HANDLE lock = CreateFileA(PathOf("DailyMessage.lst").c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  std::optional<MessageBoxInfo> box = WaitForMessageBox(p.Pid(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Pendra");
  EXPECT_EQ(box->text, "Cannot create file " + PathOf("DailyMessage.lst") + ".");
  ASSERT_TRUE(PressButton(*box, IDOK));
  PumpFor(500);
  EXPECT_TRUE(p.Running());
  EXPECT_TRUE(IsWindowVisible(tray));
  EXPECT_TRUE(FileExists(PathOf("Message.lst")));  // saved before the failing one

  CloseHandle(lock);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  ExpectListsAndCloseDateSaved();
}

TEST_F(TrayE2e, SessionEndSavesListsAndSettings) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  EXPECT_EQ(Send(tray, WM_QUERYENDSESSION, 0, 0), TRUE);
  Send(tray, WM_ENDSESSION, TRUE, 0);
  ExpectListsAndCloseDateSaved();
  EXPECT_EQ(Tray("Position", "Left"), "343");
  EXPECT_EQ(p.WaitExit(), 0u);
}

}  // namespace
}  // namespace pendra::e2e
