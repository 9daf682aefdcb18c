// The tray window driven by real messages: the two faces, the program menu,
// the launcher's mouse, start with Windows, help and the exit sequence.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "app/tray_window_win.h"
#include "tests/win/placeholder_form_win.h"
#include "reminders/reminder_window_win.h"
#include "reminders/tabbed_list_win.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra {
namespace {

using test::TestEnv;
using Log = std::vector<std::string>;

// A stand-in window that records its close and can fail it.
class RecordingForm : public PlaceholderForm {
 public:
  RecordingForm(const char* name, Log& log)
      : PlaceholderForm("TTrayTestForm", name, ApplicationWindow()), name_(name), log_(log) {}
  bool failClose = false;
  bool reportClose = false;  // reports its error without throwing

 protected:
  void FormClose() override {
    log_.push_back(name_);
    if (failClose) throw Error("Cannot create file " + name_ + ".lst");
    if (reportClose) ReportError(name_ + ".lst could not be read, so it is left as it is");
  }

 private:
  std::string name_;
  Log& log_;
};

struct FakeEditorQuery : IEditorCloseQuery {
  bool allow = true;
  int asked = 0;
  bool EditorAllowsClose() override { return ++asked, allow; }
};

class TrayTest : public testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    Svc().registry->DeleteValue(kRunKey, "Pendra");
    saved_ = Forms();
    TrayApi().notifyIcon = [this](DWORD message, NOTIFYICONDATAA* data) {
      icons.push_back({message, *data});
      return TRUE;
    };
    TrayApi().popupMenu = [this](HWND, HMENU, POINT at) { popups.push_back(at); };
    TrayApi().postQuit = [this](int code) { quits.push_back(code); };
    Forms() = AppForms{};
    notebook = std::make_unique<RecordingForm>("notebook", closed);
    editor = std::make_unique<RecordingForm>("editor", closed);
    quickie = std::make_unique<RecordingForm>("quickie", closed);
    toDo = std::make_unique<RecordingForm>("todo", closed);
    Forms().frmPendra = notebook.get();
    Forms().frmEditor = editor.get();
    Forms().frmQuickie = quickie.get();
    Forms().frmToDo = toDo.get();
  }
  void TearDown() override {
    tray.reset();
    Forms() = saved_;
    TrayApi() = TrayPlatform{};
    Svc().registry->DeleteValue(kRunKey, "Pendra");
  }

  void Start() {
    tray.reset();
    icons.clear();
    tray = std::make_unique<TfrmTray>();
    tray->WaitForIconAdd();
    test::PumpMessages();
  }
  HWND Tray() const { return tray->Handle(); }
  // The reasons given to the system go to `reasons`; `query` answers for the editor.
  void WatchSessionBlock() {
    Forms().editorQuery = &query;
    TrayApi().blockReason = [this](HWND, const std::string& reason) {
      reasons.push_back(reason);
      return true;
    };
  }
  void Command(int id) { test::MenuCommand(Tray(), id); }
  void Mouse(UINT msg, int x, int y) { SendMessageA(Tray(), msg, 0, MAKELPARAM(x, y)); }
  void Drag(POINT from, POINT to) {
    Mouse(WM_LBUTTONDOWN, from.x, from.y);
    Mouse(WM_LBUTTONUP, to.x, to.y);
  }
  std::string Stored(const char* section, const char* ident) {
    std::string out;
    auto kind = Svc().registry->Read(std::string(kTrayKey) + "\\" + section, ident, out);
    return kind == ValueKind::Text ? out : "-";
  }
  void Store(const char* section, const char* ident, const std::string& value) {
    Svc().registry->WriteText(std::string(kTrayKey) + "\\" + section, ident, value);
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const auto& c : icons) n += c.first == message;
    return n;
  }
  POINT TopLeft() const {
    RECT r = WindowRectOf(Tray());
    return {r.left, r.top};
  }
  std::string Faces() const {  // launcher, icon, and the two captions
    return std::string(IsWindowVisible(Tray()) ? "L" : "-") + (tray->IconShown() ? "I " : "- ") +
           tray->MenuCaption(kHide1) + " / " + tray->MenuCaption(kDoNotShowInTray1);
  }

  std::unique_ptr<TfrmTray> tray;
  FakeEditorQuery query;
  Log reasons;
  std::vector<std::pair<DWORD, NOTIFYICONDATAA>> icons;
  std::vector<POINT> popups;
  std::vector<int> quits;
  Log closed;
  std::unique_ptr<RecordingForm> notebook, editor, quickie, toDo;

 private:
  AppForms saved_;
};

TEST_F(TrayTest, FirstStartShowsBothFacesAndTheMenu) {
  PlaceholderForm work("TTrayTestWork", "Letter", nullptr);
  work.Show();
  Start();
  EXPECT_EQ(Faces(), "LI &Do Not Show On Desktop / Do &Not Show In Tray");
  // The launcher appears without taking the keyboard from the user's window.
  EXPECT_EQ(GetForegroundWindow(), work.Handle());
  RECT r = WindowRectOf(Tray());
  EXPECT_EQ(r.left, 343);
  EXPECT_EQ(r.top, 252);
  EXPECT_EQ(r.right - r.left, 32);
  EXPECT_EQ(r.bottom - r.top, 32);
  EXPECT_EQ(FindWindowA("TfrmTray", "frmTray"), Tray());
  EXPECT_EQ(GetWindow(Tray(), GW_OWNER), ApplicationWindow());
  EXPECT_TRUE(GetWindowLongA(Tray(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(tray->Hint(), "Pendra: Right click for Menu");
  // The tooltip that shows it comes with the first mouse move over the launcher.
  Mouse(WM_MOUSEMOVE, 5, 5);
  HWND tip = nullptr;
  for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w && !tip;
       w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
    if (GetWindow(w, GW_OWNER) == Tray()) tip = w;
  EXPECT_NE(tip, nullptr);
  EXPECT_EQ(tray->Hint(), "Pendra: Right click for Menu");

  ASSERT_EQ(icons.size(), 1u);
  const NOTIFYICONDATAA& icon = icons[0].second;
  EXPECT_EQ(icons[0].first, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(icon.cbSize, 88u);
  EXPECT_EQ(icon.hWnd, Tray());
  EXPECT_EQ(icon.uID, 0u);
  EXPECT_EQ(icon.uFlags, 7u);
  EXPECT_EQ(icon.uCallbackMessage, 1124u);
  EXPECT_STREQ(icon.szTip, "Pendra: Right Click for Menu");

  const char* items[] = {"Pendra", "Editor", "Quick Notes", "", "Reminder", "To Do List", "",
                         "&Do Not Show On Desktop", "Do &Not Show In Tray", "Start With &Windows",
                         "", "Help", "About Pendra", "", "Exit Pendra"};
  HMENU menu = tray->pmnSysTrayEx();
  ASSERT_EQ(GetMenuItemCount(menu), 15);
  for (UINT i = 0; i < 15; ++i) {
    char text[64] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), items[i]);
    EXPECT_EQ((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, !*items[i]);
  }
  EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(kMnuPendra));

  std::string path;
  Svc().registry->Read(std::string(kPendraKey) + "\\Current Version", "PathName", path);
  EXPECT_EQ(path, TestEnv().folder + "Pendra.exe");
  EXPECT_EQ(Stored("Position", "Top"), "-");
}

TEST_F(TrayTest, StoredFacesWithTheIconOffRuleWinning) {
  Store("TrayIcon", "NotShowOnDesktop", "1");
  Start();
  EXPECT_EQ(Faces(), "-I &Show On Desktop / Do &Not Show In Tray");
  Store("TrayIcon", "TrayShow", "0");
  Start();
  EXPECT_EQ(Faces(), "L- &Do Not Show On Desktop / Show In &Tray");
  EXPECT_EQ(Count(NIM_DELETE), 1);
  Store("TrayIcon", "TrayShow", "no");  // not a number: the default
  Start();
  EXPECT_EQ(Faces(), "-I &Show On Desktop / Do &Not Show In Tray");

  // Values of the wrong type: each is reported and reads as its default, and
  // the start goes on to its end.
  TestEnv().dialogs.Clear();
  Svc().registry->DeleteTree(std::string(kPendraKey) + "\\Current Version");
  for (const auto& [section, ident] : {std::pair{"TrayIcon", "NotShowOnDesktop"},
                                       std::pair{"TrayIcon", "TrayShow"}, std::pair{"Position", "Top"}}) {
    const DWORD one = 1;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kTrayKey) + "\\" + section).c_str(), 0, nullptr, 0,
                    KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, ident, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegCloseKey(key);
  }
  Start();
  EXPECT_EQ(Faces(), "LI &Do Not Show On Desktop / Do &Not Show In Tray");
  std::vector<std::string> errors;
  for (const auto& shown : TestEnv().dialogs.Errors()) errors.push_back(shown.text);
  EXPECT_EQ(errors, (std::vector<std::string>{"Invalid data type for 'NotShowOnDeskTop'",
                                              "Invalid data type for 'Top'",
                                              "Invalid data type for 'TrayShow'"}));
  EXPECT_TRUE(Svc().registry->KeyExists(std::string(kPendraKey) + "\\Current Version"));
}

TEST_F(TrayTest, TogglesNeverLeaveBothFacesOff) {
  Start();
  Command(kDoNotShowInTray1);
  EXPECT_EQ(Faces(), "L- &Do Not Show On Desktop / Show In &Tray");
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "0");

  // Hiding the launcher brings the icon back and stores that.
  Command(kHide1);
  EXPECT_EQ(Faces(), "-I &Show On Desktop / Do &Not Show In Tray");
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "1");
  EXPECT_EQ(Stored("TrayIcon", "TrayShow"), "1");
  ASSERT_FALSE(icons.empty());
  EXPECT_EQ(icons.back().first, static_cast<DWORD>(NIM_ADD));

  // Icon off while hidden shows the launcher but keeps the stored choice.
  Command(kDoNotShowInTray1);
  EXPECT_EQ(Faces(), "L- &Do Not Show On Desktop / Show In &Tray");
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "1");
  Command(kDoNotShowInTray1);
  EXPECT_EQ(Faces(), "LI &Do Not Show On Desktop / Do &Not Show In Tray");
  Start();
  EXPECT_EQ(Faces(), "-I &Show On Desktop / Do &Not Show In Tray");
  Command(kHide1);
  EXPECT_EQ(Stored("TrayIcon", "NotShowOnDesktop"), "0");
  EXPECT_EQ(Faces(), "LI &Do Not Show On Desktop / Do &Not Show In Tray");
}

TEST_F(TrayTest, MouseOnIconAndLauncher) {
  Start();
  for (UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE})
    SendMessageA(Tray(), kTrayCallback, 0, event);  // a single click does nothing
  Mouse(WM_MBUTTONDOWN, 5, 5);
  EXPECT_TRUE(popups.empty());
  EXPECT_FALSE(IsWindowVisible(notebook->Handle()));

  SetCursorPos(200, 300);
  POINT cursor{};
  GetCursorPos(&cursor);
  SendMessageA(Tray(), kTrayCallback, 0, WM_RBUTTONUP);
  Mouse(WM_RBUTTONDOWN, 5, 7);
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[0].x, cursor.x);
  EXPECT_EQ(popups[0].y, cursor.y);
  EXPECT_EQ(popups[1].x, 343 + 5);
  EXPECT_EQ(popups[1].y, 252 + 7);

  SendMessageA(Tray(), kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(notebook->Handle()));
  Mouse(WM_LBUTTONDBLCLK, 5, 5);
  Mouse(WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(TopLeft().x, 343);  // the double click is not a drag
}

TEST_F(TrayTest, DragMovesTheLauncherAtReleaseOnly) {
  Start();
  Mouse(WM_LBUTTONDOWN, 10, 12);
  EXPECT_EQ(GetCapture(), Tray());
  Mouse(WM_MOUSEMOVE, 70, 52);
  EXPECT_EQ(TopLeft().x, 343);
  Mouse(WM_LBUTTONUP, 70, 52);
  EXPECT_EQ(TopLeft().x, 403);
  EXPECT_EQ(TopLeft().y, 292);
  EXPECT_NE(GetCapture(), Tray());

  Drag({10, 10}, {-90, -40});  // captured moves come with negative points
  EXPECT_EQ(TopLeft().x, 303);
  EXPECT_EQ(TopLeft().y, 242);
  Drag({3, 4}, {3, 4});
  Mouse(WM_LBUTTONUP, 50, 50);  // a release without a press is no drag
  EXPECT_EQ(TopLeft().x, 303);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  Drag({0, 0}, {width - 10 - 303, 0});  // may end partly off screen
  EXPECT_EQ(TopLeft().x, width - 10);
  EXPECT_EQ(Stored("Position", "Left"), "-");  // stored only when hidden
}

TEST_F(TrayTest, PositionStoredOnHideAndRestoredOnShowBroughtBackWhenFarOff) {
  Store("Position", "Left", "500");
  Store("Position", "Top", "400");
  Start();
  Drag({0, 0}, {20, 30});
  Command(kHide1);
  EXPECT_EQ(Stored("Position", "Left"), "520");
  EXPECT_EQ(Stored("Position", "Top"), "430");

  // Partly off screen stays; wholly off every monitor comes back.
  Store("Position", "Left", "-20");
  Command(kHide1);
  EXPECT_EQ(TopLeft().x, -20);
  Command(kHide1);
  Store("Position", "Left", "5000");
  Store("Position", "Top", "-4000");
  Command(kHide1);
  MONITORINFO info{sizeof info};
  GetMonitorInfoA(MonitorFromWindow(Tray(), MONITOR_DEFAULTTONEAREST), &info);
  RECT r = WindowRectOf(Tray());
  EXPECT_EQ(r.right, info.rcWork.right);
  EXPECT_EQ(r.top, info.rcWork.top);
  EXPECT_EQ(r.right - r.left, 32);
}

TEST_F(TrayTest, StartWithWindowsAndHelp) {
  Start();
  std::string run;
  Command(kWindows1);
  EXPECT_EQ(tray->MenuCaption(kWindows1), "D&o not Start With Windows");
  Svc().registry->Read(kRunKey, "Pendra", run);
  EXPECT_EQ(run, TestEnv().folder + "Pendra.exe");
  EXPECT_EQ(Stored("Start", "StartWithWindows"), "1");
  // The flag also hands the Run value to the program running now, as when a
  // copy was moved or the one it named was uninstalled.
  Svc().registry->WriteText(kRunKey, "Pendra", "\"C:\\Gone\\Pendra.exe\"");
  Start();
  EXPECT_EQ(tray->MenuCaption(kWindows1), "D&o not Start With Windows");
  Svc().registry->Read(kRunKey, "Pendra", run);
  EXPECT_EQ(run, TestEnv().folder + "Pendra.exe");
  // A value that names this copy in another spelling is its own and stays
  // as it is: quoted, in other letter case, by its short path.
  const std::string exe = TestEnv().folder + "Pendra.exe";
  test::WriteFileBytes(exe, "MZ");
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(exe.c_str(), shortPath, MAX_PATH);
  std::string upper = exe;
  CharUpperA(upper.data());
  for (const std::string& spelling : {'"' + upper + '"', std::string(shortPath)}) {
    Svc().registry->WriteText(kRunKey, "Pendra", spelling);
    Start();
    EXPECT_EQ(tray->MenuCaption(kWindows1), "D&o not Start With Windows") << spelling;
    Svc().registry->Read(kRunKey, "Pendra", run);
    EXPECT_EQ(run, spelling);
  }
  DeleteFileA(exe.c_str());
  Command(kWindows1);
  EXPECT_EQ(Svc().registry->Read(kRunKey, "Pendra", run), ValueKind::Missing);
  EXPECT_EQ(Stored("Start", "StartWithWindows"), "0");
  EXPECT_EQ(tray->MenuCaption(kWindows1), "Start With &Windows");
  // A path with a blank is quoted.
  Svc().exePath = "C:\\Program Files\\Pendra\\Pendra.exe";
  Command(kWindows1);
  Svc().registry->Read(kRunKey, "Pendra", run);
  EXPECT_EQ(run, "\"C:\\Program Files\\Pendra\\Pendra.exe\"");
  Command(kWindows1);

  const std::string help = TestEnv().folder + "Pendra.hlp";
  DeleteFileA(help.c_str());  // the folder may be left from an earlier run
  Command(kHelp1);
  CreateDirectoryA(help.c_str(), nullptr);
  Command(kHelp1);
  RemoveDirectoryA(help.c_str());
  EXPECT_TRUE(TestEnv().help.shown.empty());
  const std::string guide = TestEnv().folder + "Pendra Guide.html";  // without the help file
  test::WriteFileBytes(guide, "guide");
  Command(kHelp1);
  DeleteFileA(guide.c_str());
  EXPECT_EQ(TestEnv().shell.opened, Log{guide});
  test::WriteFileBytes(help, "help");
  Command(kHelp1);
  DeleteFileA(help.c_str());
  EXPECT_EQ(TestEnv().help.shown, Log{help});
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());
}

TEST_F(TrayTest, ExitClosesInOrderStopsAtAnErrorAndHonoursTheEditor) {
  FakeEditorQuery query;
  Forms().editorQuery = &query;
  Start();
  notebook->Show();
  toDo->Show();
  Drag({0, 0}, {7, 9});

  query.allow = false;
  Command(kMnuClose);
  EXPECT_TRUE(closed.empty());
  query.allow = true;

  toDo->failClose = true;
  Command(kMnuClose);
  EXPECT_EQ(closed, (Log{"notebook", "editor", "quickie", "todo"}));
  ASSERT_EQ(TestEnv().dialogs.Errors().size(), 1u);
  EXPECT_EQ(TestEnv().dialogs.Errors()[0].text, "Cannot create file todo.lst.");
  EXPECT_FALSE(IsWindowVisible(notebook->Handle()));
  EXPECT_TRUE(IsWindowVisible(Tray()));
  EXPECT_TRUE(quits.empty());

  // The close key runs the same close.
  toDo->failClose = false;
  SendMessageA(Tray(), WM_CLOSE, 0, 0);
  EXPECT_EQ(query.asked, 3);
  EXPECT_EQ(quits, std::vector<int>{0});
  EXPECT_EQ(Stored("Position", "Left"), "350");
  EXPECT_EQ(Stored("Position", "Top"), "261");
  tray.reset();
  ASSERT_FALSE(icons.empty());
  EXPECT_EQ(icons.back().first, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayTest, LauncherNeverShownKeepsItsStoredPosition) {
  Store("TrayIcon", "NotShowOnDesktop", "1");
  Store("Position", "Left", "600");
  Store("Position", "Top", "500");
  Start();
  Command(kMnuClose);
  EXPECT_EQ(quits, std::vector<int>{0});
  EXPECT_EQ(Stored("Position", "Left"), "600");
  EXPECT_EQ(Stored("Position", "Top"), "500");
  // Shown and hidden again during the run: the exit stores where it is.
  Start();
  Command(kHide1);
  Drag({0, 0}, {10, 10});
  Command(kHide1);
  Store("Position", "Left", "1");
  Command(kMnuClose);
  EXPECT_EQ(Stored("Position", "Left"), "610");
}

TEST_F(TrayTest, IconComesBackAfterAShellRestart) {
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  Start();
  SendMessageA(Tray(), taskbarCreated, 0, 0);
  EXPECT_EQ(Count(NIM_ADD), 2);
  Command(kDoNotShowInTray1);
  SendMessageA(Tray(), taskbarCreated, 0, 0);
  EXPECT_EQ(Count(NIM_ADD), 2);
}

TEST_F(TrayTest, AnIconTheShellRefusesIsAddedAgainUntilItIsTaken) {
  int refusals = 2;
  TrayApi().notifyIcon = [&](DWORD message, NOTIFYICONDATAA* data) {
    icons.push_back({message, *data});
    return message == NIM_DELETE || (message == NIM_ADD && refusals-- <= 0);
  };
  Start();
  auto retry = [&] { SendMessageA(Tray(), WM_TIMER, TfrmTray::kIconRetryTimer, 0); };
  retry();
  EXPECT_EQ(Count(NIM_ADD), 2);
  retry();
  EXPECT_EQ(Count(NIM_ADD), 3);  // taken
  EXPECT_FALSE(KillTimer(Tray(), TfrmTray::kIconRetryTimer));

  // Turned off while the shell still refuses it: no more tries.
  refusals = 5;
  Command(kDoNotShowInTray1);
  Command(kDoNotShowInTray1);
  EXPECT_TRUE(KillTimer(Tray(), TfrmTray::kIconRetryTimer));
  SetTimer(Tray(), TfrmTray::kIconRetryTimer, 60000, nullptr);
  Command(kDoNotShowInTray1);
  EXPECT_FALSE(KillTimer(Tray(), TfrmTray::kIconRetryTimer));
}

TEST_F(TrayTest, TheStartDoesNotWaitForASlowShell) {
  HANDLE answer = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> calls{0};
  std::atomic<DWORD> caller{0};
  TrayApi().notifyIcon = [&](DWORD, NOTIFYICONDATAA*) {
    caller = GetCurrentThreadId();
    WaitForSingleObject(answer, 10000);
    ++calls;
    return FALSE;  // refused
  };
  tray = std::make_unique<TfrmTray>();
  // The launcher is up while the shell has not answered.
  EXPECT_TRUE(IsWindowVisible(Tray()));
  EXPECT_EQ(calls, 0);
  SetEvent(answer);
  // The answer comes back as a message; the refused icon is then tried again.
  for (int i = 0; i < 500 && calls < 2; ++i) Sleep(10);
  for (int i = 0; i < 20; ++i) {
    test::PumpMessages();
    Sleep(10);
  }
  EXPECT_EQ(calls, 2);  // the add and the modify
  EXPECT_NE(caller, GetCurrentThreadId());
  EXPECT_TRUE(KillTimer(Tray(), TfrmTray::kIconRetryTimer));
  tray.reset();
  CloseHandle(answer);
}

TEST_F(TrayTest, UnderAModalBoxTheIconTurnsTheUserToTheBox) {
  Start();
  ModalScope modal;
  PlaceholderForm box("TTrayTestBox", "Confirm", ApplicationWindow());
  box.Show();
  EnableWindow(box.Handle(), TRUE);  // it stands for the box, the one window enabled
  SetForegroundWindow(Tray());
  SendMessageA(Tray(), kTrayCallback, 0, WM_RBUTTONUP);
  SendMessageA(Tray(), kTrayCallback, 0, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(popups.empty());
  EXPECT_FALSE(notebook->Visible());
  EXPECT_EQ(GetForegroundWindow(), box.Handle());
}

// Everything is saved at the query, while the answer can still keep the
// session going; a save that fails refuses it with a reason, and no box holds
// up the answer.
TEST_F(TrayTest, TheSessionQuerySavesAllAndAFailedSaveRefusesWithAReason) {
  WatchSessionBlock();
  Start();
  notebook->Show();

  query.allow = false;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_TRUE(closed.empty());
  query.allow = true;

  quickie->failClose = true;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(closed, (Log{"notebook", "editor", "quickie", "todo"}));
  const std::string reason = "Pendra could not save: Cannot create file quickie.lst.";
  EXPECT_TRUE(IsWindowVisible(notebook->Handle()));
  EXPECT_TRUE(TestEnv().dialogs.shown.empty());
  test::PumpMessages();  // the answer has been given: the same text in a box
  ASSERT_EQ(TestEnv().dialogs.Errors().size(), 1u);
  EXPECT_EQ(TestEnv().dialogs.Errors()[0].text, reason);
  SendMessageA(Tray(), WM_ENDSESSION, FALSE, 0);  // the session goes on
  EXPECT_EQ(tray->SessionBlockReason(), "");
  EXPECT_TRUE(quits.empty());

  // Saved at the query, the end itself only leaves.
  quickie->failClose = false;
  closed.clear();
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(closed.size(), 4u);
  SendMessageA(Tray(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closed.size(), 4u);
  EXPECT_EQ(reasons, (Log{kEditorUnsavedReason, reason, ""}));
  EXPECT_EQ(Stored("Position", "Left"), "343");
  ASSERT_FALSE(icons.empty());
  EXPECT_EQ(icons.back().first, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(quits, std::vector<int>{0});

  // Ended regardless of a refusal: one more try, quietly.
  Start();
  closed.clear();
  quits.clear();
  quickie->failClose = true;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), FALSE);
  SendMessageA(Tray(), WM_ENDSESSION, TRUE, 0);
  test::PumpMessages();
  EXPECT_EQ(closed.size(), 8u);
  EXPECT_EQ(TestEnv().dialogs.Errors().size(), 1u);
  EXPECT_EQ(quits, std::vector<int>{0});
}

// The entry panels keep what the user was typing until the exit goes ahead;
// then the lists are as their files hold them, the entry under edit at its place.
TEST_F(TrayTest, ExitClearsTheReminderPanelsOnlyOnceItGoesAhead) {
  const std::string file = TestEnv().folder + "DayMessage.lst";
  const std::string before = "9:00:00 AM-Monday--first\r\n9:30:00 AM-Friday--second\r\n";
  test::WriteFileBytes(file, before);
  auto reminder = std::make_unique<TfrmMain>();
  reminder->EnsureControls();
  Forms().frmMain = reminder.get();
  Forms().reminderPanels = reminder.get();
  FakeEditorQuery query;
  Forms().editorQuery = &query;
  Start();

  // Take the second weekly row out into the entry panel, as Edit does.
  const ReminderPage& weekly = reminder->PageOf(Kind::Weekly);
  HWND list = weekly.list->Handle();
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(GetParent(list), WM_COMMAND,
               MAKEWPARAM(ControlId(Kind::Weekly, Ctl::list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  test::Click(weekly.btnEdit);
  SetText(reminder->PageOf(Kind::Daily).editMessage, "typed, not added");
  ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);

  query.allow = false;  // the editor's question cancelled
  Command(kMnuClose);
  query.allow = true;
  toDo->failClose = true;  // a save that stops the exit
  Command(kMnuClose);
  EXPECT_TRUE(quits.empty());
  EXPECT_EQ(GetText(weekly.editMessage), "second");
  EXPECT_EQ(GetText(reminder->PageOf(Kind::Daily).editMessage), "typed, not added");
  EXPECT_EQ(test::ReadFileBytes(file), before);

  toDo->failClose = false;
  Command(kMnuClose);
  EXPECT_EQ(quits, std::vector<int>{0});
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(GetText(weekly.editMessage), "");
  EXPECT_EQ(GetText(reminder->PageOf(Kind::Daily).editMessage), "");
  EXPECT_EQ(test::ReadFileBytes(file), before);
  std::string lastBoot;
  EXPECT_EQ(Svc().registry->Read(std::string(kReminderEventsKey) + "\\Last Boot", " Date", lastBoot),
            ValueKind::Text);
  EXPECT_EQ(lastBoot, "6/19/2000");
  tray.reset();
  Forms().frmMain = nullptr;
  Forms().reminderPanels = nullptr;
}

// A query answered and then taken back leaves the program as it was, apart
// from the files saved: the reminder window stays shown, stores no settings
// and writes no date of its close. A save that only reported its error
// refuses the end. A later end of the session saves again.
TEST_F(TrayTest, ASessionThatGoesOnAfterTheQueryLeavesTheProgramAsItWas) {
  auto reminder = std::make_unique<TfrmMain>();
  Forms().frmMain = reminder.get();
  WatchSessionBlock();
  Start();
  reminder->Show();
  const std::string events = kReminderEventsKey;
  auto stored = [&](const std::string& section, const char* ident) {
    std::string out;
    return Svc().registry->Read(events + "\\" + section, ident, out) == ValueKind::Text ? out : "-";
  };
  SetText(reminder->spneditMinutes(), "5");

  toDo->reportClose = true;
  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), FALSE);
  ASSERT_FALSE(reasons.empty());
  EXPECT_EQ(reasons.back(), "Pendra could not save: todo.lst could not be read, so it is left as it is.");
  SendMessageA(Tray(), WM_ENDSESSION, FALSE, 0);
  toDo->reportClose = false;

  EXPECT_EQ(SendMessageA(Tray(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(Tray(), WM_ENDSESSION, FALSE, 0);
  EXPECT_TRUE(reminder->Visible());
  EXPECT_EQ(stored("Time", "Interval"), "-");
  EXPECT_EQ(stored("Last Boot", " Date"), "-");
  EXPECT_EQ(reminder->EventPeriodMs(), 5u * 60000u);

  closed.clear();
  SendMessageA(Tray(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closed, (Log{"notebook", "editor", "quickie", "todo"}));
  EXPECT_EQ(stored("Time", "Interval"), "5");
  EXPECT_EQ(stored("Last Boot", " Date"), "6/19/2000");
  EXPECT_EQ(quits, std::vector<int>{0});
  tray.reset();
  Forms().frmMain = nullptr;
}

}  // namespace
}  // namespace pendra
