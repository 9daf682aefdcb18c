// Typing into the three text windows of the running program with real key
// input: the text controls take Tab, Shift+Tab, Enter and Esc themselves,
// never lose the focus or select their whole text by a key, their paste keys
// paste at the caret, AltGr (Ctrl+Alt) neither pastes nor replaces and types
// its characters, and the page and the note reach their files as typed.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/tray_window_win.h"
#include "tests/e2e/e2e_harness.h"

namespace pendra::e2e {
namespace {

using TextKeysE2e = PendraE2eTest;

TEST_F(TextKeysE2e, TabShiftTabEnterAndEscAreTextKeysThePasteKeysPasteAtTheCaretAndAltGrTypes) {
  const struct {
    const char* windowClass;
    const char* controlClass;
    int trayCommand;
    const char* file;  // where the text goes when the window is left, or nullptr
  } cases[] = {
      {"TfrmPendra", "RichEdit20A", kMnuPendra, "ABC.pnd"},
      {"TfrmEditor", "RICHEDIT", kEditor1, nullptr},
      {"TfrmQuickie", "RichEdit20A", kQuickNotes1, "Quick.qnf"},
  };
  const std::string text = "+\x80one\ttwo\r\nthree\tfour+";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.windowClass);
    PendraProcess& p = StartPendra();
    HWND window = ShowFromTray(p, c.trayCommand, c.windowClass);
    ASSERT_TRUE(window);
    HWND control = FindChild(window, c.controlClass);
    ASSERT_TRUE(control);
    ASSERT_TRUE(ClickInto(window, control));

    TypeText("one\ttwo\nthree");
    PressKey(VK_TAB, {VK_SHIFT});
    PressKey(VK_ESCAPE);
    TypeText("four");
    ASSERT_TRUE(SetClipboardText("+"));
    PressKey(VK_END, {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_INSERT, {VK_SHIFT});
    for (WORD key : {'V', 'Q', 'E'}) PressKey(key, {VK_CONTROL, VK_MENU});
    // AltGr+E types the euro sign on German and Polish keyboards.
    TypeCharacter(L'\u20AC', {VK_CONTROL, VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return ControlText(control) == text; }, 5000)) << "holds: " << ControlText(control);
    EXPECT_EQ(FocusOf(window), control);
    EXPECT_EQ(Send(control, EM_GETSEL), MAKELRESULT(2, 2));
    EXPECT_TRUE(IsWindowVisible(window));

    if (c.trayCommand == kMnuPendra) {
      // Ctrl+Tab turns the page, saving the one left.
      HWND tabs = FindChild(window, WC_TABCONTROLA);
      PressKey(VK_TAB, {VK_CONTROL});
      EXPECT_TRUE(WaitUntil([&] { return Send(tabs, TCM_GETCURSEL) == 1; }, 5000));
    } else if (c.file) {
      Post(window, WM_CLOSE);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));
    }
    if (c.file) EXPECT_EQ(ReadFileBytes(PathOf(c.file)), text);
    p.Kill();
  }
}

}  // namespace
}  // namespace pendra::e2e
