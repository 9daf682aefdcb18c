// Typing into the three text windows of the running program with real key
// input: Tab types a tab and the typing goes on in place, Ctrl+V pastes at
// the caret, and the page and the note reach their files as typed.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/tray_window_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

using TextKeysE2e = PendraE2eTest;

TEST_F(TextKeysE2e, TabTypesATabAndCtrlVPastesAtTheCaretInEveryTextWindow) {
  const struct {
    const char* windowClass;
    const char* controlClass;
    int trayCommand;
    const char* typed;
    const char* text;  // the text after the typing and a paste at the end
    const char* file;  // where the text goes when the window is left, or nullptr
  } cases[] = {
      {"TfrmPendra", "RichEdit20A", kMnuPendra, "one\ttwo\tthree", "one\ttwo\tthree and more", "ABC.pnd"},
      {"TfrmEditor", "RICHEDIT", kEditor1, "Dear Sam,\n\tthanks", "Dear Sam,\r\n\tthanks and more", nullptr},
      {"TfrmQuickie", "RichEdit20A", kQuickNotes1, "milk\neggs\tx2", "milk\r\neggs\tx2 and more", "Quick.qnf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.windowClass);
    PendraProcess& p = StartPendra();
    HWND window = ShowFromTray(p, c.trayCommand, c.windowClass);
    ASSERT_TRUE(window);
    HWND text = FindChild(window, c.controlClass);
    ASSERT_TRUE(text);
    ASSERT_TRUE(ClickInto(window, text));

    TypeText(c.typed);
    ASSERT_TRUE(SetClipboardText(" and more"));
    PressKey(VK_END, {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return ControlText(text) == c.text; }, 5000))
        << "holds: " << ControlText(text);
    EXPECT_EQ(FocusOf(window), text);

    if (c.trayCommand == kMnuPendra) {
      // Ctrl+Tab turns the page, saving the one left.
      HWND tabs = FindChild(window, WC_TABCONTROLA);
      PressKey(VK_TAB, {VK_CONTROL});
      EXPECT_TRUE(WaitUntil([&] { return Send(tabs, TCM_GETCURSEL) == 1; }, 5000));
    } else if (c.file) {
      Post(window, WM_CLOSE);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    }
    if (c.file) EXPECT_EQ(ReadFileBytes(PathOf(c.file)), c.text);
    p.Kill();
  }
}

}  // namespace
}  // namespace pendra::e2e
