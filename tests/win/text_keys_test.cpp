// The keyboard of the three text windows through the program's own message
// loop: the text controls take Tab, Shift+Tab, Enter and Esc themselves, never
// lose the focus or select their whole text by a key, and paste in place.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "platform/message_loop_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchProgramMessage(msg);
}

// A key pressed where the focus is, with the given keys held, as the keyboard
// sends it: the loop translates it into its character.
void Key(WPARAM vk, std::initializer_list<int> held = {}) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  for (int h : held) keys[h] = 0x80;
  SetKeyboardState(keys);
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16;
  PostMessageA(GetFocus(), WM_KEYDOWN, vk, scan | 1);
  PostMessageA(GetFocus(), WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001u));
  Pump();
  for (int h : held) keys[h] = 0;
  SetKeyboardState(keys);
}

void Type(const std::string& text) {
  for (char c : text) Key(static_cast<WPARAM>(VkKeyScanA(c) & 0xFF));
}

void PutOnClipboard(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
  lstrcpyA(static_cast<char*>(GlobalLock(mem)), text);
  GlobalUnlock(mem);
  SetClipboardData(CF_TEXT, mem);
  CloseClipboard();
}

class TextKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    saved_ = Forms();
    Forms() = AppForms{};
  }
  void TearDown() override {
    window_.reset();
    Forms() = saved_;
  }

  // Creates and shows one of the text windows; its text control.
  RichTextControl& Open(const std::string& which) {
    if (which == "notebook") {
      auto notebook = std::make_unique<TfrmPendra>();
      notebook->popupMenu = [](HMENU, POINT) {};
      control_ = &notebook->redtPendra();
      window_ = std::move(notebook);
    } else if (which == "editor") {
      auto editor = std::make_unique<TfrmEditor>();
      editor->popupMenu = [](HWND, HMENU, POINT) {};
      control_ = &editor->redtEditor();
      window_ = std::move(editor);
    } else {
      auto quick = std::make_unique<TfrmQuickie>();
      quick->popupMenu = [](HWND, HMENU, POINT) {};
      control_ = &quick->RichEditQuick();
      window_ = std::move(quick);
    }
    window_->Show();
    Pump();
    return *control_;
  }

  std::unique_ptr<Form> window_;
  RichTextControl* control_ = nullptr;

 private:
  AppForms saved_;
};

TEST_F(TextKeysTest, TabShiftTabEnterAndEscAreTextKeysAndCtrlVPastesInPlace) {
  for (const char* which : {"notebook", "editor", "quick notes"}) {
    SCOPED_TRACE(which);
    RichTextControl& text = Open(which);
    text.SetFocus();
    Type("one");
    Key(VK_TAB);
    Type("two");
    Key(VK_TAB, {VK_SHIFT});
    Type("three");
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    Type("four");
    EXPECT_EQ(text.Text(), "one\ttwo\tthree\r\nfour");
    EXPECT_EQ(GetFocus(), text.Handle());
    EXPECT_EQ(text.SelLength(), 0);
    EXPECT_TRUE(IsWindowVisible(window_->Handle()));

    // The control's own paste keys put the clipboard's text at the caret.
    PutOnClipboard("+");
    text.Select(3, 0);
    Key('V', {VK_CONTROL});
    text.Select(0, 0);
    Key(VK_INSERT, {VK_SHIFT});
    EXPECT_EQ(text.Text(), "+one+\ttwo\tthree\r\nfour");
    EXPECT_EQ(text.SelStart(), 1);
    window_.reset();
  }
}

TEST_F(TextKeysTest, TheNotebookPageIsReachedByTabWithItsCaretAndCtrlTabStillTurnsThePage) {
  RichTextControl& page = Open("notebook");
  auto& notebook = static_cast<TfrmPendra&>(*window_);
  page.SetFocus();
  Type("abc");
  page.Select(1, 0);
  SetFocus(notebook.tbcPendra());
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), page.Handle());
  EXPECT_EQ(page.SelLength(), 0);
  EXPECT_EQ(page.SelStart(), 1);

  Key(VK_TAB, {VK_CONTROL});
  EXPECT_EQ(notebook.ActiveTab(), 1);
  EXPECT_EQ(ReadFileBytes(TestEnv().folder + "ABC.pnd"), "abc");
  EXPECT_EQ(page.Text(), "");

  // A page without a file takes no paste.
  PutOnClipboard("lost");
  SendMessageA(page.Handle(), EM_SETREADONLY, TRUE, 0);
  Key('V', {VK_CONTROL});
  EXPECT_EQ(page.Text(), "");
}

}  // namespace
}  // namespace pendra::test
