// The tray window driven by real messages: the two faces, the program menu,
// the launcher's mouse, start with Windows, help and the exit sequence.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "app/tray_window_win.h"
#include "platform/placeholder_form_win.h"
#include "platform/services.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra {
namespace {

using test::TestEnv;

// A stand-in window that records its close and can fail it.
class RecordingForm : public PlaceholderForm {
 public:
  RecordingForm(const char* name, std::vector<std::string>& log)
      : PlaceholderForm("TTrayTestForm", name, ApplicationWindow()), name_(name), log_(log) {}
  bool failClose = false;

 protected:
  void FormClose() override {
    log_.push_back(name_);
    if (failClose) throw Error("Cannot create file " + name_ + ".lst");
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

class FakeEditorQuery : public IEditorCloseQuery {
 public:
  bool allow = true;
  int asked = 0;
  bool EditorAllowsClose() override {
    ++asked;
    return allow;
  }
};

struct IconCall {
  DWORD message;
  NOTIFYICONDATAA data;
};

class TrayTest : public testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    Svc().registry->DeleteValue(kRunKey, "Pendra");
    savedForms_ = Forms();
    TrayApi().notifyIcon = [this](DWORD message, NOTIFYICONDATAA* data) {
      iconCalls.push_back({message, *data});
      return TRUE;
    };
    TrayApi().popupMenu = [this](HWND, HMENU menu, POINT at) {
      popups.push_back(at);
      poppedMenu = menu;
    };
    TrayApi().postQuit = [this](int code) { quitCodes.push_back(code); };

    AppForms& f = Forms();
    f = AppForms{};
    notebook = std::make_unique<RecordingForm>("notebook", closed);
    editor = std::make_unique<RecordingForm>("editor", closed);
    quickie = std::make_unique<RecordingForm>("quickie", closed);
    toDo = std::make_unique<RecordingForm>("todo", closed);
    about = std::make_unique<RecordingForm>("about", closed);
    addTabs = std::make_unique<RecordingForm>("addtabs", closed);
    f.frmPendra = notebook.get();
    f.frmEditor = editor.get();
    f.frmQuickie = quickie.get();
    f.frmToDo = toDo.get();
    f.AboutBox = about.get();
    f.frmAddTabs = addTabs.get();
  }

  void TearDown() override {
    tray.reset();
    Forms() = savedForms_;
    TrayApi() = TrayPlatform{};
    Svc().registry->DeleteValue(kRunKey, "Pendra");
  }

  void Start() {
    tray.reset();
    iconCalls.clear();
    tray = std::make_unique<TfrmTray>();
    test::PumpMessages();
  }
  HWND Tray() const { return tray->Handle(); }
  void Command(int id) { test::MenuCommand(Tray(), id); }
  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    SendMessageA(Tray(), msg, keys, MAKELPARAM(x, y));
  }

  std::string Stored(const char* section, const char* ident) {
    std::string out;
    ValueKind kind = Svc().registry->Read(std::string(kTrayKey) + "\\" + section, ident, out);
    return kind == ValueKind::Text ? out : "<missing>";
  }
  void Store(const char* section, const char* ident, const std::string& value) {
    Svc().registry->WriteText(std::string(kTrayKey) + "\\" + section, ident, value);
  }
  std::string RunValue() {
    std::string out;
    return Svc().registry->Read(kRunKey, "Pendra", out) == ValueKind::Text ? out : "<missing>";
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const auto& c : iconCalls) n += c.message == message;
    return n;
  }
  POINT TopLeft() const {
    RECT r = WindowRectOf(Tray());
    return {r.left, r.top};
  }
  bool Visible(HWND w) const { return IsWindowVisible(w) != FALSE; }

  std::unique_ptr<TfrmTray> tray;
  std::vector<IconCall> iconCalls;
  std::vector<POINT> popups;
  HMENU poppedMenu = nullptr;
  std::vector<int> quitCodes;
  std::vector<std::string> closed;
  std::unique_ptr<RecordingForm> notebook, editor, quickie, toDo, about, addTabs;

 private:
  AppForms savedForms_;
};

TEST_F(TrayTest, FirstStartShowsLauncherAtDesignPlaceAndAddsTheIcon) {
  Start();
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_EQ(TopLeft().x, 343);
  EXPECT_EQ(TopLeft().y, 252);
  RECT r = WindowRectOf(Tray());
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 32);
  char name[64] = {};
  GetClassNameA(Tray(), name, sizeof name);
  EXPECT_STREQ(name, "TfrmTray");
  EXPECT_EQ(GetText(Tray()), "frmTray");
  EXPECT_EQ(FindWindowA("TfrmTray", "frmTray"), Tray());
  LONG ex = GetWindowLongA(Tray(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(Tray(), GW_OWNER), ApplicationWindow());
  EXPECT_FALSE(IsWindowVisible(ApplicationWindow()));
  EXPECT_EQ(tray->Hint(), "Pendra: Right click for Menu");

  ASSERT_EQ(iconCalls.size(), 1u);
  const NOTIFYICONDATAA& icon = iconCalls[0].data;
  EXPECT_EQ(iconCalls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(icon.cbSize, 88u);
  EXPECT_EQ(icon.hWnd, Tray());
  EXPECT_EQ(icon.uID, 0u);
  EXPECT_EQ(icon.uFlags, 7u);
  EXPECT_EQ(icon.uCallbackMessage, 1124u);
  EXPECT_NE(icon.hIcon, nullptr);
  EXPECT_STREQ(icon.szTip, "Pendra: Right Click for Menu");

  EXPECT_EQ(tray->MenuCaption(kHide1), "&Do Not Show On Desktop");
  EXPECT_EQ(tray->MenuCaption(kDoNotShowInTray1), "Do &Not Show In Tray");
  EXPECT_EQ(tray->MenuCaption(kWindows1), "Start With &Windows");

  std::string path;
  ASSERT_EQ(Svc().registry->Read(std::string(kPendraKey) + "\\Current Version", "PathName", path),
            ValueKind::Text);
  EXPECT_EQ(path, TestEnv().folder + "Pendra.exe");
  // Nothing of the tray's own state is written merely by starting.
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "<missing>");
  EXPECT_EQ(Stored("Position", "Top"), "<missing>");
}

TEST_F(TrayTest, MenuHasItsFifteenItemsInOrderWithPendraAsDefault) {
  Start();
  HMENU menu = tray->pmnSysTrayEx();
  const char* expected[] = {"Pendra",       "Editor", "Quick Notes",
                            "",             "Reminder", "To Do List",
                            "",             "&Do Not Show On Desktop", "Do &Not Show In Tray",
                            "Start With &Windows", "", "Help",
                            "About Pendra", "",       "Exit Pendra"};
  ASSERT_EQ(GetMenuItemCount(menu), 15);
  for (int i = 0; i < 15; ++i) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), expected[i]) << "item " << i;
    bool separator = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    EXPECT_EQ(separator, expected[i][0] == '\0') << "item " << i;
  }
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(kMnuPendra));
}

TEST_F(TrayTest, StoredFacesAreRestoredWithTheIconOffRuleWinning) {
  Store("TrayIcon", "NotShowOnDesktop", "1");
  Start();
  EXPECT_FALSE(Visible(Tray()));
  EXPECT_EQ(Count(NIM_ADD), 1);
  EXPECT_EQ(Count(NIM_DELETE), 0);
  EXPECT_EQ(tray->MenuCaption(kHide1), "&Show On Desktop");
  EXPECT_EQ(tray->MenuCaption(kDoNotShowInTray1), "Do &Not Show In Tray");

  // Without the icon the launcher must show, whatever NotShowOnDesktop says.
  Store("TrayIcon", "TrayShow", "0");
  Start();
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_EQ(Count(NIM_DELETE), 1);
  EXPECT_FALSE(tray->IconShown());
  EXPECT_EQ(tray->MenuCaption(kHide1), "&Do Not Show On Desktop");
  EXPECT_EQ(tray->MenuCaption(kDoNotShowInTray1), "Show In &Tray");

  // Settings that are not numbers read as their defaults.
  Store("TrayIcon", "NotShowOnDesktop", "yes");
  Store("TrayIcon", "TrayShow", "");
  Store("Start", "StartWithWindows", "x");
  Start();
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_TRUE(tray->IconShown());
  EXPECT_EQ(tray->MenuCaption(kWindows1), "Start With &Windows");
}

TEST_F(TrayTest, FacesNeverBothOff) {
  Start();
  // Icon off: the launcher stays, the icon goes.
  Command(kDoNotShowInTray1);
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "0");
  EXPECT_EQ(Count(NIM_DELETE), 1);
  EXPECT_TRUE(Visible(Tray()));

  // Hiding the launcher now brings the icon back and stores that.
  Command(kHide1);
  EXPECT_FALSE(Visible(Tray()));
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "1");
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "1");
  EXPECT_EQ(Count(NIM_ADD), 2);
  EXPECT_EQ(iconCalls.back().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_STREQ(iconCalls.back().data.szTip, "Pendra: Right Click for Menu");
  EXPECT_EQ(tray->MenuCaption(kHide1), "&Show On Desktop");
  EXPECT_EQ(tray->MenuCaption(kDoNotShowInTray1), "Do &Not Show In Tray");
  // The hide event stored where the launcher was.
  EXPECT_EQ(Stored("Position", "Left"), "343");
  EXPECT_EQ(Stored("Position", "Top"), "252");

  // Icon off while the launcher is hidden: the launcher comes back, but the
  // stored NotShowOnDesktop is left alone.
  Command(kDoNotShowInTray1);
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_EQ(tray->MenuCaption(kHide1), "&Do Not Show On Desktop");
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "1");

  // Icon on again, restart: the launcher is hidden as stored.
  Command(kDoNotShowInTray1);
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "1");
  EXPECT_TRUE(Visible(Tray()));
  Start();
  EXPECT_FALSE(Visible(Tray()));
  EXPECT_TRUE(tray->IconShown());

  // Show on desktop again.
  Command(kHide1);
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "0");
  EXPECT_EQ(tray->MenuCaption(kHide1), "&Do Not Show On Desktop");
}

TEST_F(TrayTest, TrayIconMouse) {
  Start();
  // A single click does nothing.
  SendMessageA(Tray(), kTrayCallback, 0, WM_LBUTTONDOWN);
  SendMessageA(Tray(), kTrayCallback, 0, WM_LBUTTONUP);
  SendMessageA(Tray(), kTrayCallback, 0, WM_MOUSEMOVE);
  test::PumpMessages();
  EXPECT_FALSE(Visible(notebook->Handle()));
  EXPECT_TRUE(popups.empty());

  SetCursorPos(200, 300);
  POINT cursor{};
  GetCursorPos(&cursor);
  SendMessageA(Tray(), kTrayCallback, 0, WM_RBUTTONUP);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].x, cursor.x);
  EXPECT_EQ(popups[0].y, cursor.y);
  EXPECT_EQ(poppedMenu, tray->pmnSysTrayEx());

  SendMessageA(Tray(), kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(Visible(notebook->Handle()));
}

TEST_F(TrayTest, LauncherMouseRightPressDoubleClickAndMiddle) {
  Start();
  Mouse(WM_RBUTTONDOWN, 5, 7, MK_RBUTTON);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].x, 343 + 5);
  EXPECT_EQ(popups[0].y, 252 + 7);

  Mouse(WM_MBUTTONDOWN, 5, 5, MK_MBUTTON);
  Mouse(WM_MBUTTONUP, 5, 5);
  EXPECT_EQ(popups.size(), 1u);
  EXPECT_FALSE(Visible(notebook->Handle()));

  Mouse(WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 5, 5);
  EXPECT_TRUE(Visible(notebook->Handle()));
  EXPECT_EQ(TopLeft().x, 343);
  EXPECT_EQ(TopLeft().y, 252);
}

TEST_F(TrayTest, DragMovesTheLauncherOnlyAtRelease) {
  Start();
  Mouse(WM_LBUTTONDOWN, 10, 12, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), Tray());
  Mouse(WM_MOUSEMOVE, 40, 30, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 70, 52, MK_LBUTTON);
  EXPECT_EQ(TopLeft().x, 343);  // not during the drag
  Mouse(WM_LBUTTONUP, 70, 52);
  EXPECT_EQ(TopLeft().x, 343 + 60);
  EXPECT_EQ(TopLeft().y, 252 + 40);
  EXPECT_NE(GetCapture(), Tray());

  // Negative coordinates arrive while the mouse is captured.
  Mouse(WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, -90, -40);
  EXPECT_EQ(TopLeft().x, 403 - 100);
  EXPECT_EQ(TopLeft().y, 292 - 50);

  // A drag that ends where it started leaves the launcher in place.
  Mouse(WM_LBUTTONDOWN, 3, 4, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 20, 20, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 3, 4);
  EXPECT_EQ(TopLeft().x, 303);
  EXPECT_EQ(TopLeft().y, 242);

  // Moves and releases without a press are not drags; the position is only
  // stored when the launcher is hidden.
  Mouse(WM_MOUSEMOVE, 50, 50);
  Mouse(WM_LBUTTONUP, 50, 50);
  EXPECT_EQ(TopLeft().x, 303);
  EXPECT_EQ(Stored("Position", "Left"), "<missing>");

  // A drag past the screen edge leaves the launcher partly off screen.
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  Mouse(WM_LBUTTONDOWN, 0, 0, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, screenWidth - 10 - 303, 0);
  EXPECT_EQ(TopLeft().x, screenWidth - 10);
}

TEST_F(TrayTest, LauncherPositionIsStoredOnHideAndRestoredOnShow) {
  Store("Position", "Left", "500");
  Store("Position", "Top", "400");
  Start();
  EXPECT_EQ(TopLeft().x, 500);
  EXPECT_EQ(TopLeft().y, 400);

  Mouse(WM_LBUTTONDOWN, 0, 0, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 20, 30);
  Command(kHide1);
  EXPECT_EQ(Stored("Position", "Left"), "520");
  EXPECT_EQ(Stored("Position", "Top"), "430");
  Store("Position", "Left", "100");
  Command(kHide1);
  EXPECT_EQ(TopLeft().x, 100);
  EXPECT_EQ(TopLeft().y, 430);
}

TEST_F(TrayTest, FarOffStoredPositionIsBroughtBackPartlyOffStays) {
  Store("Position", "Left", "5000");
  Store("Position", "Top", "-4000");
  Start();
  RECT r = WindowRectOf(Tray());
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromWindow(Tray(), MONITOR_DEFAULTTONEAREST), &info);
  EXPECT_EQ(r.right, info.rcWork.right);
  EXPECT_EQ(r.top, info.rcWork.top);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 32);

  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  Store("Position", "Left", std::to_string(screenWidth - 8));
  Store("Position", "Top", "-20");
  Start();
  EXPECT_EQ(TopLeft().x, screenWidth - 8);
  EXPECT_EQ(TopLeft().y, -20);
}

TEST_F(TrayTest, StartWithWindowsWritesAndDeletesTheRunValue) {
  Start();
  Command(kWindows1);
  EXPECT_EQ(tray->MenuCaption(kWindows1), "D&o not Start With Windows");
  EXPECT_EQ(RunValue(), TestEnv().folder + "Pendra.exe");
  EXPECT_EQ(Stored("Start", "StartWithWindows"), "1");

  // The stored flag only sets the caption; the Run value is not rewritten.
  Svc().registry->DeleteValue(kRunKey, "Pendra");
  Start();
  EXPECT_EQ(tray->MenuCaption(kWindows1), "D&o not Start With Windows");
  EXPECT_EQ(RunValue(), "<missing>");

  // Turning it off with the value already gone still records the choice.
  Command(kWindows1);
  EXPECT_EQ(tray->MenuCaption(kWindows1), "Start With &Windows");
  EXPECT_EQ(Stored("Start", "StartWithWindows"), "0");
  EXPECT_TRUE(TestEnv().dialogs.Errors().empty());

  Command(kWindows1);
  Command(kWindows1);
  EXPECT_EQ(RunValue(), "<missing>");
}

TEST_F(TrayTest, HelpOpensTheHelpFileOnlyWhenItExists) {
  const std::string helpFile = TestEnv().folder + "Pendra.hlp";
  DeleteFileA(helpFile.c_str());  // the folder may be left over from an earlier run
  RemoveDirectoryA(helpFile.c_str());
  Start();
  Command(kHelp1);
  EXPECT_TRUE(TestEnv().help.shown.empty());
  CreateDirectoryA(helpFile.c_str(), nullptr);
  Command(kHelp1);
  EXPECT_TRUE(TestEnv().help.shown.empty());
  RemoveDirectoryA(helpFile.c_str());
  test::WriteFileBytes(helpFile, "help");
  Command(kHelp1);
  DeleteFileA(helpFile.c_str());
  ASSERT_EQ(TestEnv().help.shown.size(), 1u);
  EXPECT_EQ(TestEnv().help.shown[0], helpFile);
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());
}

TEST_F(TrayTest, MenuItemsShowTheirWindows) {
  Start();
  struct {
    int id;
    RecordingForm* form;
  } items[] = {{kMnuPendra, notebook.get()},
               {kEditor1, editor.get()},
               {kQuickNotes1, quickie.get()},
               {kToDo, toDo.get()},
               {kAboutPendra1, about.get()}};
  for (auto& item : items) {
    Command(item.id);
    EXPECT_TRUE(Visible(item.form->Handle())) << item.id;
  }
  // The reminder window is missing here; the command must not fail.
  Command(kReminders1);
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());
  EXPECT_TRUE(closed.empty());
}

TEST_F(TrayTest, ExitClosesTheWindowsInOrderAndEndsTheLoop) {
  Start();
  addTabs->Show();
  about->Show();
  notebook->Show();
  Mouse(WM_LBUTTONDOWN, 0, 0, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 7, 9);
  Command(kMnuClose);
  EXPECT_EQ(closed, (std::vector<std::string>{"notebook", "editor", "quickie", "todo"}));
  EXPECT_FALSE(Visible(notebook->Handle()));
  EXPECT_TRUE(Visible(about->Handle()));
  EXPECT_TRUE(Visible(addTabs->Handle()));
  EXPECT_EQ(quitCodes, std::vector<int>{0});
  EXPECT_EQ(Stored("Position", "Left"), "350");
  EXPECT_EQ(Stored("Position", "Top"), "261");
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());

  // Destroying the tray window removes the icon.
  int deletes = Count(NIM_DELETE);
  tray.reset();
  EXPECT_EQ(Count(NIM_DELETE), deletes + 1);
  EXPECT_EQ(iconCalls.back().data.uID, 0u);
}

TEST_F(TrayTest, ErrorWhileClosingAWindowKeepsTheProgramRunning) {
  Start();
  notebook->Show();
  toDo->Show();
  toDo->failClose = true;
  Command(kMnuClose);
  EXPECT_EQ(closed, (std::vector<std::string>{"notebook", "editor", "quickie", "todo"}));
  auto errors = TestEnv().dialogs.Errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].text, "Cannot create file todo.lst.");
  EXPECT_EQ(errors[0].caption, "Pendra");
  EXPECT_FALSE(Visible(notebook->Handle()));
  EXPECT_TRUE(Visible(toDo->Handle()));
  EXPECT_TRUE(Visible(Tray()));
  EXPECT_TRUE(quitCodes.empty());

  // Once the fault is gone, exit works.
  toDo->failClose = false;
  Command(kMnuClose);
  EXPECT_EQ(quitCodes, std::vector<int>{0});
}

TEST_F(TrayTest, EditorQuestionDecidesTheClose) {
  FakeEditorQuery query;
  query.allow = false;
  Forms().editorQuery = &query;
  Start();
  Command(kMnuClose);
  EXPECT_EQ(query.asked, 1);
  EXPECT_TRUE(closed.empty());
  EXPECT_TRUE(quitCodes.empty());
  EXPECT_TRUE(Visible(Tray()));

  // The close key runs the same close query and close, without the cancels.
  query.allow = true;
  SendMessageA(Tray(), WM_CLOSE, 0, 0);
  EXPECT_EQ(query.asked, 2);
  EXPECT_EQ(closed.size(), 4u);
  EXPECT_EQ(quitCodes, std::vector<int>{0});
}

TEST_F(TrayTest, LauncherNeverShownKeepsItsStoredPosition) {
  Store("TrayIcon", "NotShowOnDesktop", "1");
  Store("Position", "Left", "600");
  Store("Position", "Top", "500");
  Start();
  ASSERT_FALSE(Visible(Tray()));
  Command(kMnuClose);
  EXPECT_EQ(quitCodes, std::vector<int>{0});
  EXPECT_EQ(Stored("Position", "Left"), "600");
  EXPECT_EQ(Stored("Position", "Top"), "500");

  // Shown once and hidden again: the exit stores where it is.
  Start();
  Command(kHide1);
  Mouse(WM_LBUTTONDOWN, 0, 0, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 10, 10);
  Command(kHide1);
  Store("Position", "Left", "1");
  Command(kMnuClose);
  EXPECT_EQ(Stored("Position", "Left"), "610");
  EXPECT_EQ(Stored("Position", "Top"), "510");
}

TEST_F(TrayTest, IconComesBackWhenTheShellRestarts) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  Start();
  SendMessageA(Tray(), taskbarCreated, 0, 0);
  ASSERT_EQ(Count(NIM_ADD), 2);
  EXPECT_EQ(iconCalls.back().data.uCallbackMessage, 1124u);

  Command(kDoNotShowInTray1);
  SendMessageA(Tray(), taskbarCreated, 0, 0);
  EXPECT_EQ(Count(NIM_ADD), 2);
}

TEST_F(TrayTest, SessionEndSavesLikeExitAndKeepsGoingPastAnError) {
  FakeEditorQuery query;
  Forms().editorQuery = &query;
  Start();
  query.allow = false;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), FALSE);
  query.allow = true;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(closed.empty());

  // A cancelled session end changes nothing.
  SendMessageA(Tray(), WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(closed.empty());

  quickie->failClose = true;
  SendMessageA(Tray(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closed, (std::vector<std::string>{"notebook", "editor", "quickie", "todo"}));
  EXPECT_EQ(TestEnv().dialogs.Errors().size(), 1u);
  EXPECT_EQ(Stored("Position", "Left"), "343");
  EXPECT_EQ(Stored("Position", "Top"), "252");
  EXPECT_EQ(iconCalls.back().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(quitCodes, std::vector<int>{0});
}

}  // namespace
}  // namespace pendra
