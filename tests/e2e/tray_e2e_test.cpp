// The tray window of the running program: what a new user sees, the program
// menu, start with Windows, the exit with its saves, and the session end.
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

  // Whether the shell holds an icon for this window: modifying a missing icon fails.
  static bool IconRegistered(HWND tray) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = tray;
    data.uID = 0;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, "Pendra: Right Click for Menu");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }

  // The visible popup menu window of the process, if any.
  static HWND PopupMenuOf(PendraProcess& p) {
    for (const auto& w : TopLevelWindows(p.Pid(), true))
      if (w.className == "#32768") return w.hwnd;
    return nullptr;
  }
};

TEST_F(TrayE2e, NewUserSeesLauncherAtDesignPlaceWithIconAndMenu) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  WindowInfo w = DescribeWindow(tray);
  EXPECT_TRUE(w.visible);
  EXPECT_EQ(w.rect.left, 343);
  EXPECT_EQ(w.rect.top, 252);
  EXPECT_EQ(w.rect.right - w.rect.left, 32);
  EXPECT_EQ(w.rect.bottom - w.rect.top, 32);
  EXPECT_TRUE(IconRegistered(tray));
  EXPECT_EQ(ReadRegText(std::string(kPendraKey) + "\\Current Version", "PathName"), ExePath());

  // A right click on the icon opens the program menu; Escape closes it. (Its
  // items cannot be read from another process here, so the in-process tests
  // check them.)
  Post(tray, kTrayCallback, 0, WM_RBUTTONUP);
  HWND popup = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (popup = PopupMenuOf(p)) != nullptr; }, 5000));
  Post(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  Post(popup, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return PopupMenuOf(p) == nullptr; }, 5000));
  EXPECT_TRUE(p.Running());

  // The same from a right press on the launcher.
  Post(tray, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(WaitUntil([&] { return (popup = PopupMenuOf(p)) != nullptr; }, 5000));
  WindowInfo menu = DescribeWindow(popup);
  EXPECT_EQ(menu.rect.left, 343 + 5);
  EXPECT_EQ(menu.rect.top, 252 + 5);
  Post(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  Post(popup, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return PopupMenuOf(p) == nullptr; }, 5000));

  // A double click on the icon opens the notebook.
  Post(tray, kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(WaitUntil([&] {
    HWND notebook = FindWindowOf(p.Pid(), "TfrmPendra");
    return notebook && IsWindowVisible(notebook);
  }, 5000));
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(TrayE2e, FacesAndPositionSurviveARestart) {
  {
    PendraProcess& p = StartPendra();
    HWND tray = TrayOf(p);
    ASSERT_TRUE(tray);
    Post(tray, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    Post(tray, WM_LBUTTONUP, 0, MAKELPARAM(4 + 57, 4 + 21));
    Post(tray, WM_COMMAND, kHide1, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(tray); }, 5000));
    EXPECT_EQ(Tray("TrayIcon", "NotShowOnDesktop"), "1");
    EXPECT_EQ(Tray("Position", "Left"), "400");
    EXPECT_EQ(Tray("Position", "Top"), "273");
    EXPECT_EQ(CloseTray(p), 0u);
  }
  {
    PendraProcess& p = StartPendra();
    HWND tray = TrayOf(p);
    ASSERT_TRUE(tray);
    EXPECT_FALSE(IsWindowVisible(tray));
    EXPECT_TRUE(IconRegistered(tray));
    // Shown again from the menu, at the place it was moved to.
    Post(tray, WM_COMMAND, kHide1, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(tray); }, 5000));
    WindowInfo w = DescribeWindow(tray);
    EXPECT_EQ(w.rect.left, 400);
    EXPECT_EQ(w.rect.top, 273);
    EXPECT_EQ(CloseTray(p), 0u);
  }
}

TEST_F(TrayE2e, HiddenLauncherRunKeepsTheStoredPosition) {
  WriteRegText(std::string(kTrayKey) + "\\TrayIcon", "NotShowOnDesktop", "1");
  WriteRegText(std::string(kTrayKey) + "\\Position", "Left", "700");
  WriteRegText(std::string(kTrayKey) + "\\Position", "Top", "600");
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  EXPECT_FALSE(IsWindowVisible(tray));
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(Tray("Position", "Left"), "700");
  EXPECT_EQ(Tray("Position", "Top"), "600");
}

TEST_F(TrayE2e, StartWithWindowsWritesAndDeletesTheRunValue) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  Post(tray, WM_COMMAND, kWindows1, 0);
  EXPECT_TRUE(WaitUntil([&] { return ReadRegText(kRunKey, "Pendra") == ExePath(); }, 5000));
  EXPECT_EQ(Tray("Start", "StartWithWindows"), "1");
  Post(tray, WM_COMMAND, kWindows1, 0);
  EXPECT_TRUE(WaitUntil([&] { return !ReadRegText(kRunKey, "Pendra").has_value(); }, 5000));
  EXPECT_EQ(Tray("Start", "StartWithWindows"), "0");
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(TrayE2e, ExitPendraSavesTheReminderListsAndEndsWithZero) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  for (const char* list : kListFiles) EXPECT_TRUE(FileExists(PathOf(list))) << list;
  EXPECT_TRUE(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date").has_value());
  EXPECT_EQ(Tray("Position", "Left"), "343");
  EXPECT_EQ(Tray("Position", "Top"), "252");
}

TEST_F(TrayE2e, UnwritableReminderListKeepsTheProgramRunning) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  // Held open without sharing (as a backup tool might): the list file cannot
  // be replaced at exit.
  HANDLE lock = CreateFileA(PathOf("DailyMessage.lst").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
  // The lists before the failing one were saved; the to-do list after it was not reached.
  EXPECT_TRUE(FileExists(PathOf("Message.lst")));
  EXPECT_FALSE(FileExists(PathOf("ToDo.lst")));

  // Once the file is free again, the exit goes through.
  CloseHandle(lock);
  Post(tray, WM_COMMAND, kMnuClose, 0);
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_TRUE(FileExists(PathOf("MonthMessage.lst")));
}

TEST_F(TrayE2e, SessionEndSavesListsAndSettings) {
  PendraProcess& p = StartPendra();
  HWND tray = TrayOf(p);
  ASSERT_TRUE(tray);
  EXPECT_EQ(Send(tray, WM_QUERYENDSESSION, 0, 0), TRUE);
  Send(tray, WM_ENDSESSION, TRUE, 0);
  for (const char* list : kListFiles) EXPECT_TRUE(FileExists(PathOf(list))) << list;
  EXPECT_TRUE(ReadRegText(std::string(kEventsKey) + "\\Last Boot", " Date").has_value());
  EXPECT_EQ(Tray("Position", "Left"), "343");
  EXPECT_EQ(Tray("Position", "Top"), "252");
  EXPECT_EQ(p.WaitExit(), 0u);
}

}  // namespace
}  // namespace pendra::e2e

