// The program entry as a user meets it: one instance per desktop, every
// window created hidden except the tray window, no taskbar button, and a
// clean end when the tray window closes.
#include <set>

#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

// A top-level window made by the test process itself, to stand for another
// program's window or for an instance that is still starting.
class OwnWindow {
 public:
  OwnWindow(const char* className, const char* title, HWND owner = nullptr,
            DWORD style = WS_OVERLAPPEDWINDOW) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) {
      wc = WNDCLASSA{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = className;
      RegisterClassA(&wc);
    }
    hwnd_ = CreateWindowExA(0, className, title, style, 100, 100, 200, 120, owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

int CountSystemWindows(const char* className, const char* title) {
  int n = 0;
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, className, title)) != nullptr) ++n;
  return n;
}

using EntryE2e = PendraE2eTest;

TEST_F(EntryE2e, StartsWithOnlyTheTrayVisibleAndEndsWithZeroWhenTheTrayCloses) {
  PendraProcess& p = StartPendra();
  ASSERT_TRUE(p.Running());
  PumpFor(500);
  EXPECT_TRUE(p.Running()) << "the program ended by itself";

  HWND tray = FindWindowOf(p.Pid(), "TfrmTray", "frmTray");
  ASSERT_TRUE(tray);
  HWND app = FindWindowOf(p.Pid(), "TApplication", "Pendra");
  ASSERT_TRUE(app) << "no application window";
  EXPECT_FALSE(IsWindowVisible(app));

  // Every other window, the reminder window too, is created when first
  // shown; the reminder timers run on a message-only window.
  EXPECT_FALSE(FindWindowOf(p.Pid(), "TfrmMain")) << "the reminder window was made at start";
  for (const auto& w : TopLevelWindows(p.Pid(), true))
    EXPECT_EQ(w.className, "TfrmTray") << "visible after start: " << w;

  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(EntryE2e, NoWindowCanCarryATaskbarButton) {
  PendraProcess& p = StartPendra();
  ASSERT_TRUE(p.Running());
  HWND app = FindWindowOf(p.Pid(), "TApplication", "Pendra");
  ASSERT_TRUE(app);
  for (const auto& w : TopLevelWindows(p.Pid())) {
    if (w.className == "IME") continue;  // the system's own, never shown
    EXPECT_FALSE(w.exStyle & WS_EX_APPWINDOW) << w;
    // An unowned window gets a taskbar button when shown, unless it is a tool
    // window; the hidden application window is the one unowned exception.
    if (w.hwnd != app)
      EXPECT_TRUE(w.owner || (w.exStyle & WS_EX_TOOLWINDOW)) << "could get a taskbar button: " << w;
  }
  HWND tray = FindWindowOf(p.Pid(), "TfrmTray", "frmTray");
  ASSERT_TRUE(tray);
  WindowInfo launcher = DescribeWindow(tray);
  EXPECT_TRUE(launcher.owner || (launcher.exStyle & WS_EX_TOOLWINDOW)) << launcher;
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(EntryE2e, SecondStartEndsAtOnceTouchingNothingAndLeavesTheFirstRunning) {
  PendraProcess& first = StartPendra();
  ASSERT_TRUE(first.Running());
  ASSERT_TRUE(FindWindowOf(first.Pid(), "TfrmTray", "frmTray"));
  PumpFor(300);
  const auto regBefore = RegSnapshot(kSettingsRoot);
  const auto runBefore = ReadRegText(kRunKey, "Pendra");
  const auto filesBefore = FolderSnapshot(Folder());
  const auto visibleBefore = TopLevelWindows(first.Pid(), true).size();

  PendraProcess& second = StartPendra();
  EXPECT_EQ(second.WaitExit(10000), 0u);
  EXPECT_EQ(RegSnapshot(kSettingsRoot), regBefore);
  EXPECT_EQ(ReadRegText(kRunKey, "Pendra"), runBefore);
  EXPECT_EQ(FolderSnapshot(Folder()), filesBefore);

  EXPECT_TRUE(first.Running());
  EXPECT_EQ(CountSystemWindows("TfrmTray", "frmTray"), 1);
  EXPECT_EQ(TopLevelWindows(first.Pid(), true).size(), visibleBefore);
  EXPECT_EQ(CloseTray(first), 0u);
}

TEST_F(EntryE2e, AStartFromInsideAZipSaysToUnpackItFirstAndStoresNothingThere) {
  // Where Explorer runs a program from inside a zip: %TEMP%\Temp1_<the zip's name>.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = temp + ("Temp1_Pendra-" + std::to_string(GetCurrentProcessId())) + ".zip\\";
  const std::string exe = folder + "Pendra.exe";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(ExePath().c_str(), exe.c_str(), FALSE));
  WriteRegText(std::string(kPendraKey) + "\\Tray\\Start", "StartWithWindows", "1");
  const auto settingsBefore = RegSnapshot(kSettingsRoot);

  PendraProcess p;
  ASSERT_TRUE(p.Start(exe));
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Pendra");
  EXPECT_NE(box->text.find("Unpack the zip first"), std::string::npos) << box->text;
  EXPECT_TRUE(PressButton(*box, IDOK));
  EXPECT_EQ(p.WaitExit(), 0u);
  EXPECT_EQ(FolderSnapshot(folder).size(), 1u);
  EXPECT_EQ(RegSnapshot(kSettingsRoot), settingsBefore);
  EXPECT_FALSE(ReadRegText(kRunKey, "Pendra"));
  DeleteFileA(exe.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(EntryE2e, WindowsThatMatchOnlyPartlyAreNotAnInstance) {
  // Class and title are compared exactly and with letter case.
  OwnWindow otherClass("SomeEditorFrame", "Pendra");
  OwnWindow lowerTitle("TApplication", "pendra");
  OwnWindow longerTitle("TApplication", "Pendra ");
  ShowWindow(otherClass.hwnd(), SW_SHOWNOACTIVATE);

  PendraProcess& p = StartPendra();
  PumpFor(300);
  ASSERT_TRUE(p.Running()) << "exit code " << p.WaitExit(0);
  EXPECT_TRUE(FindWindowOf(p.Pid(), "TfrmTray", "frmTray"));
  EXPECT_EQ(CloseTray(p), 0u);
}

TEST_F(EntryE2e, StartingInstanceFoundByItsApplicationWindowIsBroughtToTheFront) {
  // Stands for a first instance whose tray window does not exist yet.
  OwnWindow app("TApplication", "Pendra", nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU);
  OwnWindow popup("TestInstancePopup", "Reminder", app.hwnd());
  ShowWindow(popup.hwnd(), SW_SHOW);
  SetActiveWindow(popup.hwnd());
  PumpFor(100);
  ASSERT_EQ(GetLastActivePopup(app.hwnd()), popup.hwnd());
  ShowWindow(popup.hwnd(), SW_MINIMIZE);
  PumpFor(100);
  ASSERT_TRUE(IsIconic(popup.hwnd()));

  PendraProcess& p = StartPendra();
  EXPECT_EQ(p.WaitExit(10000), 0u);
  PumpFor(200);
  EXPECT_FALSE(IsIconic(popup.hwnd())) << "the minimised popup was not restored";
  EXPECT_FALSE(RegKeyExists(kSettingsRoot)) << "the ended start wrote settings";
  EXPECT_EQ(CountSystemWindows("TfrmTray", "frmTray"), 0);
}

TEST_F(EntryE2e, StartWhileAnotherInstanceHoldsOnlyTheMutexEndsWithoutWriting) {
  // An instance that has created its mutex but no window yet.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Pendra");
  ASSERT_TRUE(mutex);
  {
    PendraProcess& p = StartPendra();
    EXPECT_EQ(p.WaitExit(10000), 0u);
    EXPECT_FALSE(RegKeyExists(kSettingsRoot)) << "the ended start wrote settings";
    EXPECT_EQ(CountSystemWindows("TfrmTray", "frmTray"), 0);
  }
  CloseHandle(mutex);

  // Once that instance is gone the program starts normally.
  PendraProcess& p = StartPendra();
  PumpFor(300);
  ASSERT_TRUE(p.Running());
  EXPECT_EQ(CloseTray(p), 0u);
}

}  // namespace
}  // namespace pendra::e2e
