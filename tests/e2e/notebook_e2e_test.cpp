// The notebook as a user meets it in the running program.
#include <windows.h>

#include <string>

#include "app/tray_window_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

using NotebookE2e = PendraE2eTest;

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

// Pages and the note as another program saved them, in UTF-8: looked at, a
// tab turned away and back, the windows closed and the program ended, every
// byte stays; a page typed into keeps its encoding and its mark.
TEST_F(NotebookE2e, Utf8PagesAndTheNoteComeThroughViewingByteForByte) {
  const std::string abc = "\xEF\xBB\xBF" "Café au lait €3\r\nПривет, мир";
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
    if (edit) Post(page, WM_CHAR, 'x', 1);
    for (WPARAM key : {VK_RIGHT, VK_LEFT}) {
      Post(tabs, WM_KEYDOWN, key);
      Send(tabs, WM_NULL);
    }
    ASSERT_TRUE(ShowFromTray(p, kQuickNotes1, "TfrmQuickie"));
    EXPECT_EQ(CloseTray(p), 0u);
    EXPECT_EQ(ReadFileBytes(PathOf("ABC.pnd")), edit ? "\xEF\xBB\xBFx" + abc.substr(3) : abc);
    EXPECT_EQ(ReadFileBytes(PathOf("DEF.pnd")), def);
    EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), quick);
  }
}

}  // namespace
}  // namespace pendra::e2e
