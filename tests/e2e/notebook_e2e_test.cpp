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

}  // namespace
}  // namespace pendra::e2e
