// The keyboard of the three text windows through the program's own message
// loop: the text controls take Tab, Shift+Tab, Enter and Esc themselves, never
// lose the focus or select their whole text by a key, and paste in place.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/test_env_win.h"
#include "tests/win/text_windows_win.h"

namespace pendra::test {
namespace {

void Type(const std::string& text) {
  for (char c : text) KeyThroughLoop(static_cast<WPARAM>(VkKeyScanA(c) & 0xFF));
}

TEST(TextKeys, TabShiftTabEnterAndEscAreTextKeysAndCtrlVPastesInPlace) {
  TestEnv().Reset();
  for (const TextWindow& w : kTextWindows) {
    SCOPED_TRACE(w.name);
    const auto window = w.make();
    window->Show();
    RichTextControl& text = w.text(*window);
    text.SetFocus();
    Type("one");
    KeyThroughLoop(VK_TAB);
    Type("two");
    KeyThroughLoop(VK_TAB, {VK_SHIFT});
    Type("three");
    KeyThroughLoop(VK_RETURN);
    KeyThroughLoop(VK_ESCAPE);
    Type("four");
    EXPECT_EQ(text.Text(), "one\ttwo\tthree\r\nfour");
    EXPECT_EQ(GetFocus(), text.Handle());
    EXPECT_EQ(text.SelLength(), 0);
    EXPECT_TRUE(IsWindowVisible(window->Handle()));

    // The control's own paste keys put the clipboard's text at the caret.
    SetClipboardUnicode(L"+");
    text.Select(3, 0);
    KeyThroughLoop('V', {VK_CONTROL});
    text.Select(0, 0);
    KeyThroughLoop(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(text.Text(), "+one+\ttwo\tthree\r\nfour");
    EXPECT_EQ(text.SelStart(), 1);
  }
}

TEST(TextKeys, TheNotebookPageIsReachedByTabWithItsCaretAndCtrlTabStillTurnsThePage) {
  TestEnv().Reset();
  TfrmPendra notebook;
  notebook.Show();
  RichTextControl& page = notebook.redtPendra();
  page.SetFocus();
  Type("abc");
  page.Select(1, 0);
  SetFocus(notebook.tbcPendra());
  KeyThroughLoop(VK_TAB);
  EXPECT_EQ(GetFocus(), page.Handle());
  EXPECT_EQ(page.SelLength(), 0);
  EXPECT_EQ(page.SelStart(), 1);

  KeyThroughLoop(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(notebook.ActiveTab(), 1);
  EXPECT_EQ(ReadFileBytes(TestEnv().folder + "ABC.pnd"), "abc");
  EXPECT_EQ(page.Text(), "");

  // A page without a file takes no paste.
  SetClipboardUnicode(L"lost");
  SendMessageA(page.Handle(), EM_SETREADONLY, TRUE, 0);
  KeyThroughLoop('V', {VK_CONTROL});
  EXPECT_EQ(page.Text(), "");
}

}  // namespace
}  // namespace pendra::test
