// The keyboard of the three text windows through the program's own message
// loop: the text controls take Tab, Shift+Tab, Enter and Esc themselves, and
// never lose the focus or select their whole text by a key.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "tests/win/fresh_forms_test_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

void Type(const std::string& text) {
  for (char c : text) KeyThroughLoop(static_cast<WPARAM>(VkKeyScanA(c) & 0xFF));
}

using TextKeysTest = FreshFormsTest;

TEST_F(TextKeysTest, TabShiftTabEnterAndEscAreTextKeysInEveryTextWindow) {
  for (const char* which : {"notebook", "editor", "quick notes"}) {
    SCOPED_TRACE(which);
    std::unique_ptr<Form> window;
    RichTextControl* text = nullptr;
    if (std::string(which) == "notebook") {
      auto notebook = std::make_unique<TfrmPendra>();
      text = &notebook->redtPendra();
      window = std::move(notebook);
    } else if (std::string(which) == "editor") {
      auto editor = std::make_unique<TfrmEditor>();
      text = &editor->redtEditor();
      window = std::move(editor);
    } else {
      auto quick = std::make_unique<TfrmQuickie>();
      text = &quick->RichEditQuick();
      window = std::move(quick);
    }
    window->Show();
    PumpMessages();
    text->SetFocus();
    Type("one");
    KeyThroughLoop(VK_TAB);
    Type("two");
    KeyThroughLoop(VK_TAB, {VK_SHIFT});
    Type("three");
    KeyThroughLoop(VK_RETURN);
    KeyThroughLoop(VK_ESCAPE);
    Type("four");
    EXPECT_EQ(text->Text(), "one\ttwo\tthree\r\nfour");
    EXPECT_EQ(GetFocus(), text->Handle());
    EXPECT_EQ(text->SelLength(), 0);
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
  }
}

}  // namespace
}  // namespace pendra::test
