// The walk the hostile-input tests share. A case spoils the program folder or
// the settings, then one walk through every window and the exit meets the
// spoiled input; the program keeps running, says what it says once, names the
// file, and leaves every file it was not asked to save as it was.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/tray_window_win.h"
#include "notes/notebook_window_win.h"
#include "reminders/reminder_page_win.h"
#include "settings/list_file.h"
#include "tests/e2e/e2e_harness.h"
#include "tests/e2e/list_box_text.h"

namespace pendra::e2e {

inline constexpr const char *kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
inline constexpr const char *kDataFiles[] = {"Message.lst",      "DayMessage.lst", "DailyMessage.lst",
                                             "MonthMessage.lst", "ToDo.lst",       "Tabs.lst",
                                             "ABC.pnd",          "DEF.pnd",        "Quick.qnf"};
inline constexpr DWORD kStepMs = 60000;

// One line of 33 MB, beyond what a page takes, made once per run and copied
// where a case wants it.
inline const std::string &HugeLineFile() {
  static const std::string path = [] {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string p = std::string(temp) + "pendra-hostile-33mb-line.bin";
    WriteFileBytes(p, "9:00:00 AM-1/1/2001--" + std::string(33u << 20, 'x'));
    return p;
  }();
  return path;
}

struct Box {
  std::string caption, text;
};

class HostileWalk;

// What a case expects of the walk.
struct Expect {
  // The texts of the boxes the program shows, each once, in any order.
  std::vector<std::string> told;
  // Whether "Exit Pendra" ends the program.
  bool exits = true;
  // Files that may differ afterwards; every other file keeps its bytes.
  std::set<std::string> mayChange;
};

struct HostileCase {
  std::string id;
  std::function<void(HostileWalk &)> spoil;
  std::function<Expect(HostileWalk &)> expect;
  std::function<void(HostileWalk &)> check;    // after the walk, optional
  std::function<void(HostileWalk &)> restore;  // always, optional
};

class HostileWalk : public PendraE2eTest {
 public:
  using PendraE2eTest::Folder;
  using PendraE2eTest::PathOf;

  // The files a case starts from: every data file with a few lines, none of
  // them due during the test, and no catch-up at start.
  void SetUp() override {
    PendraE2eTest::SetUp();
    WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
    const std::string at = TimeText(DaysFromToday(-1)) + "-";
    WriteFileBytes(PathOf("Message.lst"), at + DateText(DaysFromToday(-1)) + "--one-time\r\n");
    WriteFileBytes(PathOf("DayMessage.lst"), at + "Someday--weekly\r\n");
    WriteFileBytes(PathOf("DailyMessage.lst"), at + DateText(DaysFromToday(1)) + "--daily\r\n");
    WriteFileBytes(PathOf("MonthMessage.lst"), at + "32--monthly\r\n");
    WriteFileBytes(PathOf("ToDo.lst"), " 1/2/2001         first\r\n 1/3/2001         second\r\n");
    WriteFileBytes(PathOf("Tabs.lst"), "ABC\r\nDEF\r\n");
    WriteFileBytes(PathOf("ABC.pnd"), "page ABC\r\nsecond line");
    WriteFileBytes(PathOf("DEF.pnd"), "page DEF");
    WriteFileBytes(PathOf("Quick.qnf"), "the quick note");
  }

  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const std::string &entry : FolderSnapshot(Folder())) {
      const std::string name = entry.substr(0, entry.rfind(':'));
      if (name != "Pendra.exe") files[name] = ReadFileBytes(PathOf(name));
    }
    return files;
  }

  // Answers every box the program shows until none has come for a while.
  void Answer(PendraProcess &p, DWORD quietMs = 400) {
    DWORD quietSince = GetTickCount();
    while (GetTickCount() - quietSince < quietMs) {
      bool any = false;
      for (const auto &box : MessageBoxes(p.Pid())) {
        boxes_.push_back({box.caption, box.text});
        for (int id : {IDOK, IDNO, IDCANCEL})
          if (GetDlgItem(box.hwnd, id)) {
            PressButton(box, id);
            break;
          }
        any = true;
      }
      if (any) quietSince = GetTickCount();
      PumpFor(25);
    }
  }
  // Waits until the program answers again (or a box of its waits), then
  // answers its boxes. False when it stays busy for a whole step.
  bool Settle(PendraProcess &p, HWND window) {
    DWORD_PTR result = 0;
    const bool answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kStepMs, &result) != 0;
    Answer(p);
    return answered;
  }
  HWND Show(PendraProcess &p, HWND tray, int command, const char *windowClass) {
    Post(tray, WM_COMMAND, static_cast<WPARAM>(command));
    HWND window = nullptr;
    WaitUntil(
        [&] {
          window = FindWindowOf(p.Pid(), windowClass);
          return (window && IsWindowVisible(window)) || !MessageBoxes(p.Pid()).empty();
        },
        kStepMs);
    EXPECT_TRUE(Settle(p, tray)) << windowClass << " keeps the program busy";
    // A box shown on a window's first show can come before the window is
    // made: look again once the boxes are answered.
    return window ? window : FindWindowOf(p.Pid(), windowClass);
  }

  // Every window shown, the notebook's tab switched, every reminder page
  // shown, then the exit.
  void Walk(const Expect &expect) {
    PendraProcess &p = StartPendra(kStepMs);
    ASSERT_TRUE(p.Running());
    Answer(p);
    HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
    ASSERT_TRUE(tray);
    if (HWND notebook = Show(p, tray, kMnuPendra, "TfrmPendra")) {
      if (HWND tabs = FindChild(notebook, "SysTabControl32")) {
        Post(tabs, WM_KEYDOWN, VK_RIGHT);
        EXPECT_TRUE(Settle(p, tray)) << "tab switch";
      }
    }
    Show(p, tray, kQuickNotes1, "TfrmQuickie");
    if (HWND frm = Show(p, tray, kReminders1, "TfrmMain")) {
      for (Kind k : {Kind::OneTime, Kind::Weekly, Kind::Daily}) {
        Post(frm, WM_COMMAND, static_cast<WPARAM>(MenuId(k, Mnu::GoPageA)));
        EXPECT_TRUE(Settle(p, tray)) << "reminder page";
      }
    }
    Show(p, tray, kToDo, "TfrmToDo");
    Show(p, tray, kEditor1, "TfrmEditor");
    Show(p, tray, kAboutPendra1, "TAboutBox");
    ASSERT_TRUE(p.Running());
    Post(tray, WM_COMMAND, kMnuClose);
    // A stopped exit shows its box at once; it need not be waited for long.
    const DWORD code = p.WaitExit(expect.exits ? kStepMs : 3000);
    Answer(p);
    if (expect.exits) {
      EXPECT_EQ(code == kNotExited ? p.WaitExit(kStepMs) : code, 0u) << "Exit Pendra";
    } else {
      EXPECT_TRUE(p.Running()) << "the exit stops while a window cannot save";
    }
  }

  // Spoils the files as the case says, walks through the program, and checks
  // what it told and which files changed.
  void Run(const HostileCase &c) {
    struct Restore {
      HostileWalk &t;
      const HostileCase &c;
      ~Restore() {
        if (c.restore) c.restore(t);
      }
    } restore{*this, c};
    c.spoil(*this);
    if (HasFatalFailure() || IsSkipped()) return;
    const Expect expect = c.expect(*this);
    const auto before = Files();
    Walk(expect);

    std::vector<std::string> told;
    for (const Box &box : boxes_) told.push_back(box.caption + ": " + box.text);
    std::vector<std::string> expected;
    for (const std::string &text : expect.told) expected.push_back(text);
    std::sort(told.begin(), told.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(told, expected);

    const auto after = Files();
    for (const auto &[name, bytes] : before) {
      if (expect.mayChange.count(name)) continue;  // the case checks it, if it will
      const auto now = after.find(name);
      EXPECT_TRUE(now != after.end() && now->second == bytes) << name << " changed";
    }
    if (c.check) c.check(*this);
  }

  std::vector<Box> boxes_;
};

}  // namespace pendra::e2e
