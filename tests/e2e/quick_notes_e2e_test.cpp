// Quick notes in the running program: the note file made at start, the window
// shown from the tray at its first-use place, and the note kept across a
// restart.
#include "app/tray_window_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

using QuickNotesE2e = PendraE2eTest;

HWND ShowQuickNotes(PendraProcess& p) {
  HWND tray = WaitForWindowOf(p.Pid(), "TfrmTray", "frmTray");
  Post(tray, WM_COMMAND, kQuickNotes1, 0);
  HWND window = nullptr;
  WaitUntil([&] {
    window = FindWindowOf(p.Pid(), "TfrmQuickie", "Quick Notes");
    return window && IsWindowVisible(window);
  });
  return window;
}

TEST_F(QuickNotesE2e, TheTypedNoteReachesTheFileAtCloseAndComesBackAfterARestart) {
  {
    PendraProcess& p = StartPendra();
    ASSERT_TRUE(FileExists(PathOf("Quick.qnf")));
    EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "");
    HWND window = ShowQuickNotes(p);
    ASSERT_TRUE(window);
    const WindowInfo w = DescribeWindow(window);
    EXPECT_EQ(w.rect.left, 330);
    EXPECT_EQ(w.rect.top, 245);
    EXPECT_EQ(w.rect.right - w.rect.left, 359);
    EXPECT_EQ(w.rect.bottom - w.rect.top, 185);
    EXPECT_TRUE(w.exStyle & WS_EX_TOPMOST);

    HWND note = FindChild(window, "RichEdit20A");
    ASSERT_TRUE(note);
    for (char c : std::string("buy milk")) Post(note, WM_CHAR, static_cast<WPARAM>(c), 1);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(note) == "buy milk"; }, 5000));
    EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "");  // not before the close
    Post(window, WM_CLOSE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "buy milk");
    EXPECT_EQ(CloseTray(p), 0u);
  }
  PendraProcess& again = StartPendra();
  HWND window = ShowQuickNotes(again);
  ASSERT_TRUE(window);
  EXPECT_EQ(WindowText(FindChild(window, "RichEdit20A")), "buy milk");
  EXPECT_EQ(CloseTray(again), 0u);
  EXPECT_EQ(ReadFileBytes(PathOf("Quick.qnf")), "buy milk");
}

}  // namespace
}  // namespace pendra::e2e
