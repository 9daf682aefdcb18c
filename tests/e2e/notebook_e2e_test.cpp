// The notebook as a user meets it in the running program.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>

#include "app/tray_window_win.h"
#include "notes/notebook_window_win.h"
#include "reminders/reminder_page_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

class NotebookE2e : public PendraE2eTest {
 protected:
  // Pendra started on the tabs whose first page holds `page`, the notebook
  // shown and the keyboard in the page; nullptr when it did not show.
  HWND ShowPage(const std::string& tabs, const std::string& page) {
    WriteFileBytes(PathOf("Tabs.lst"), tabs);
    WriteFileBytes(PathOf("ABC.pnd"), page);
    process_ = &StartPendra();
    HWND notebook = ShowFromTray(*process_, kMnuPendra, "TfrmPendra");
    return notebook && ClickInto(notebook, FindChild(notebook, "RichEdit20A")) ? notebook : nullptr;
  }
  PendraProcess* process_ = nullptr;
};

TEST_F(NotebookE2e, ShownFromTheTrayItKeepsWhatIsTypedInTheFirstPage) {
  PendraProcess& p = StartPendra();
  EXPECT_EQ(ReadFileBytes(PathOf("Tabs.lst")),
            "ABC\r\nDEF\r\nGHI\r\nJKL\r\nMNO\r\nPQR\r\nSTU\r\nVWX\r\nYZ\r\n");
  HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
  ASSERT_TRUE(tray);
  Post(tray, kTrayCallback, 0, WM_LBUTTONDBLCLK);
  HWND notebook = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    notebook = FindWindowOf(p.Pid(), "TfrmPendra");
    return notebook && IsWindowVisible(notebook);
  }));
  const WindowInfo w = DescribeWindow(notebook);
  EXPECT_EQ(w.title, "Pendra");
  EXPECT_EQ(w.rect.left, 222);
  EXPECT_EQ(w.rect.top, 244);
  EXPECT_EQ(w.rect.right - w.rect.left, 625);
  EXPECT_EQ(w.rect.bottom - w.rect.top, 300);
  EXPECT_TRUE(FileExists(PathOf("ABC.pnd")));

  HWND page = FindChild(notebook, "RichEdit20A");
  ASSERT_TRUE(page);
  const std::string typed = "Typed in the first tab";
  for (char c : typed) Post(page, WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(page) == typed; }, 5000));
  Post(notebook, WM_CLOSE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(notebook); }, 5000));
  EXPECT_EQ(ReadFileBytes(PathOf("ABC.pnd")), typed);
  const std::string key = std::string(kPendraKey) + "\\Pendra\\";
  EXPECT_EQ(ReadRegText(key + "Position", "Top"), "244");
  EXPECT_EQ(ReadRegText(key + "Position", "Left"), "222");
  EXPECT_EQ(ReadRegText(key + "Size", "Width"), "625");
  EXPECT_EQ(ReadRegText(key + "Size", "Height"), "300");
  EXPECT_EQ(ReadRegText(key + "Tab", "Active Tab"), "0");
  EXPECT_EQ(CloseTray(p), 0u);
}

// Pages and the note as another program saved them, in UTF-16 and UTF-8:
// looked at, a tab turned away and back, the windows closed and the program
// ended, every byte stays; a page typed into with real keys keeps its
// encoding and its mark.
TEST_F(NotebookE2e, UnicodePagesAndTheNoteComeThroughViewingByteForByte) {
  // "Café\r\nЖ" in UTF-16 LE, as Windows PowerShell writes with ">".
  const std::string abc("\xFF\xFE" "C\0a\0f\0\xE9\0\r\0\n\0\x16\x04", 16);
  const std::string def = "日本語のメモ\nЖ";
  const std::string quick = "\xEF\xBB\xBF" "Купить молоко € 2\r";
  WriteFileBytes(PathOf("Tabs.lst"), "ABC\r\nDEF\r\n");
  WriteFileBytes(PathOf("ABC.pnd"), abc);
  WriteFileBytes(PathOf("DEF.pnd"), def);
  WriteFileBytes(PathOf("Quick.qnf"), quick);
  for (bool edit : {false, true}) {
    SCOPED_TRACE(edit ? "typed into" : "viewed");
    PendraProcess& p = StartPendra();
    HWND notebook = ShowFromTray(p, kMnuPendra, "TfrmPendra");
    ASSERT_TRUE(notebook);
    HWND tabs = FindChild(notebook, "SysTabControl32");
    HWND page = FindChild(notebook, "RichEdit20A");
    ASSERT_TRUE(tabs && page);
    if (edit) {
      ASSERT_TRUE(ClickInto(notebook, page));
      PressKey(VK_HOME, {VK_CONTROL});
      TypeText("x");
    }
    for (WPARAM key : {VK_RIGHT, VK_LEFT}) {
      Post(tabs, WM_KEYDOWN, key);
      Send(tabs, WM_NULL);
    }
    ASSERT_TRUE(ShowFromTray(p, kQuickNotes1, "TfrmQuickie"));
    EXPECT_EQ(CloseTray(p), 0u);
    EXPECT_EQ(ReadFileBytes(PathOf("ABC.pnd")), edit ? std::string("\xFF\xFEx\0", 4) + abc.substr(2) : abc);
    EXPECT_EQ(ReadFileBytes(PathOf("DEF.pnd")), def);
    EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), quick);
  }
}

// Pendra unpacked into a folder whose name the code page (1252) cannot hold:
// it opens its files there by the folder's short name, so a page, the note,
// a reminder list and the to-do list are stored there, and nothing is told.
TEST_F(NotebookE2e, AFolderNamedOutsideTheCodePageStoresEveryFile) {
  if (GetACP() != 1252) GTEST_SKIP() << "not code page 1252";
  // LF line ends: the lists' saves write CR LF.
  const std::string at = TimeText(DaysFromToday(-1)) + "-" + DateText(DaysFromToday(-1)) + "--";
  WriteFileBytes(PathOf("Message.lst"), at + "first\n" + at + "second\n");
  WriteFileBytes(PathOf("ToDo.lst"), "one\ntwo");
  WriteRegText(std::string(kPendraKey) + "\\Reminder\\Events\\Last Boot", " Date", DateText(DaysFromToday(0)));
  MoveProgramFolderInto(L"\u0141ukasz \u0412\u0430\u0441\u044F\\Pendra");
  PendraProcess& p = StartPendra();
  HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
  ASSERT_TRUE(tray);
  for (const auto& [command, windowClass] : {std::pair{kMnuPendra, "TfrmPendra"}, {kQuickNotes1, "TfrmQuickie"}}) {
    HWND window = ShowFromTray(p, command, windowClass);
    ASSERT_TRUE(window);
    ASSERT_TRUE(ClickInto(window, FindChild(window, "RichEdit20A")));
    TypeText("kept");
    Post(window, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
  }
  HWND reminders = ShowFromTray(p, kReminders1, "TfrmMain");
  ASSERT_TRUE(reminders);
  HWND list = ChildWithId(reminders, ControlId(Kind::OneTime, Ctl::list));
  HWND moveTop = ChildWithId(reminders, ControlId(Kind::OneTime, Ctl::btnMoveTop));
  ASSERT_TRUE(list && moveTop);
  Send(list, LB_SETCURSEL, 1);
  Send(reminders, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, Ctl::btnMoveTop), BN_CLICKED),
       reinterpret_cast<LPARAM>(moveTop));
  ASSERT_TRUE(ShowFromTray(p, kToDo, "TfrmToDo"));
  EXPECT_TRUE(MessageBoxes(p.Pid()).empty());
  EXPECT_EQ(CloseTray(p), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("ABC.pnd")), "kept");
  EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "kept");
  EXPECT_EQ(ReadFileBytes(PathOf("Message.lst")), at + "second\r\n" + at + "first\r\n");
  EXPECT_EQ(ReadFileBytes(PathOf("ToDo.lst")), "one\r\ntwo\r\n");
  EXPECT_TRUE(FileExists(PathOf("Tabs.lst")));
}

// Pages another program writes too, with real keys: shown fresh on a click,
// the other program's version kept when changed on both sides (and told), and
// a page emptied by the keys kept with all that was typed before, even
// within ten minutes of the last version. The portable Pendra was unpacked
// beside a Backup folder of the user's own: it is never touched.
TEST_F(NotebookE2e, PagesChangedElsewhereAreShownOrKeptAndAnEmptiedPageIsInBackup) {
  CreateDirectoryA(PathOf("Backup").c_str(), nullptr);
  const std::vector<std::string> users{"Quick 2025-03-03 10-10-10.docx", "Screenshot 2026-10-01 10-00-00.png",
                                       "Tax return 2025-01-15 09-30-00.pdf"};
  for (const std::string& name : users) WriteFileBytes(PathOf("Backup\\" + name), name);
  WriteFileBytes(PathOf("DEF.pnd"), "earlier text");
  HWND notebook = ShowPage("ABC\r\nDEF\r\n", "first");
  ASSERT_TRUE(notebook);
  HWND page = FindChild(notebook, "RichEdit20A"), tabs = FindChild(notebook, WC_TABCONTROLA);
  auto copiesOf = [&](const std::string& name) {  // Pendra's own folder, by the page's name
    std::vector<std::string> copies;
    for (const std::string& entry : FolderSnapshot(PathOf("Pendra Backup\\")))
      if (entry.rfind(name + " ", 0) == 0) copies.push_back(PathOf("Pendra Backup\\" + entry.substr(0, entry.rfind(':'))));
    return copies;
  };
  auto copyOf = [&](const std::string& name) {
    const std::vector<std::string> copies = copiesOf(name);
    return copies.empty() ? std::string("none") : copies.back();
  };
  ASSERT_TRUE(ShowFromTray(*process_, kQuickNotes1, "TfrmQuickie"));  // the notebook is left
  WriteFileBytes(PathOf("ABC.pnd"), "from the phone");
  ASSERT_TRUE(ClickInto(notebook, page));
  EXPECT_TRUE(WaitUntil([&] { return ControlText(page) == "from the phone"; }, 5000));

  WriteFileBytes(PathOf("ABC.pnd"), "from the laptop");
  PressKey(VK_END, {VK_CONTROL});
  TypeText(" word");
  PressKey(VK_TAB, {VK_CONTROL});
  const auto box = WaitForMessageBox(process_->Pid());
  ASSERT_TRUE(box && box->caption == "Pendra");
  EXPECT_NE(copyOf("ABC").find("from another program"), std::string::npos);
  EXPECT_NE(box->text.find(copyOf("ABC")), std::string::npos) << box->text;
  EXPECT_TRUE(PressButton(*box, IDOK));
  EXPECT_EQ(ReadFileBytes(copyOf("ABC")) + "|" + ReadFileBytes(PathOf("ABC.pnd")), "from the laptop|from the phone word");

  // Text added twice, each time with the tab turned, then all of it deleted
  // by mistake: what was there before the slip is kept.
  ASSERT_TRUE(WaitUntil([&] { return ControlText(page) == "earlier text"; }, 5000));
  for (const char* more : {" A", " B"}) {
    PressKey(VK_END, {VK_CONTROL});
    TypeText(more);
    PressKey(VK_TAB, {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return Send(tabs, TCM_GETCURSEL) == 0; }, 5000));
    PressKey(VK_TAB, {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return Send(tabs, TCM_GETCURSEL) == 1; }, 5000));
  }
  PressKey(VK_HOME, {VK_CONTROL});
  PressKey(VK_END, {VK_CONTROL, VK_SHIFT});
  PressKey(VK_DELETE);
  PressKey(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return Send(tabs, TCM_GETCURSEL) == 0; }, 5000));
  std::vector<std::string> kept;
  for (const std::string& copy : copiesOf("DEF")) kept.push_back(ReadFileBytes(copy));
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<std::string>{"earlier text", "earlier text A B"}));
  EXPECT_EQ(ReadFileBytes(PathOf("DEF.pnd")), "");
  EXPECT_EQ(CloseTray(*process_), 0u);
  std::vector<std::string> left;
  for (const std::string& name : users) left.push_back(name + ":" + std::to_string(name.size()));
  EXPECT_EQ(FolderSnapshot(PathOf("Backup\\")), left);
}

// Under code page 932 a Shift-JIS page longer than a piece of the control's
// read, a character typed at its end with real keys and the tab turned: every
// byte of the page as it was, the character after them.
TEST_F(NotebookE2e, ALongShiftJisPageKeepsItsBytesWhenTypedIntoInJapanese) {
  if (GetACP() != 932) GTEST_SKIP() << "not code page 932 (run with LC_ALL=ja_JP.UTF-8)";
  // The control reads 4,096 bytes at a time: the first piece ends between the
  // two bytes of ソ.
  std::string page = "a";
  for (int line = 0; line < 450; ++line) page += "\x97\x5C\x92\xE8\x95\x5C\x83\x5C\x83\x74\x83\x67\r\n";  // 予定表ソフト
  HWND notebook = ShowPage("ABC\r\nDEF\r\n", page);
  ASSERT_TRUE(notebook);
  PressKey(VK_END, {VK_CONTROL});
  TypeText("z");
  Post(FindChild(notebook, "SysTabControl32"), WM_KEYDOWN, VK_RIGHT);
  EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(PathOf("ABC.pnd")) == page + "z"; }, 5000));
  EXPECT_EQ(CloseTray(*process_), 0u);
}

// Under UTF-8 as the code page (65001), where a character takes up to four
// bytes: a page of Devanagari and CJK text selected whole, then Find.
TEST_F(NotebookE2e, FindWithACjkSelectionUnderUtf8CodePage) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "not code page 65001 (run with LC_ALL=hi_IN.UTF-8)";
  std::string page;
  for (int i = 0; i < 200; ++i) page += "नमस्ते 日本語のメモ 😀 ";
  HWND notebook = ShowPage("ABC\r\n", page);
  ASSERT_TRUE(notebook);
  PendraProcess& p = *process_;
  PressKey(VK_HOME, {VK_CONTROL});
  PressKey(VK_END, {VK_CONTROL, VK_SHIFT});
  Post(notebook, WM_COMMAND, TfrmPendra::btnFind);
  HWND find = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (find = FindWindowOf(p.Pid(), "#32770")) != nullptr; }, 5000));
  // The dialog holds the selection's beginning, whole characters only.
  const std::string text = find ? WindowText(GetDlgItem(find, 0x480)) : "";
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(page.rfind(text, 0), 0u);
  EXPECT_TRUE(p.Running());
  EXPECT_EQ(CloseTray(p), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("ABC.pnd")), page);
}

}  // namespace
}  // namespace pendra::e2e
