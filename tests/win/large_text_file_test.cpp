// A text file over the 32 MB a text window takes, met where each of the three
// windows loads one: refused whole by its size, with the message, and kept
// as it is, also through the window's close.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "notes/rich_text_win.h"
#include "platform/application_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

constexpr unsigned long long kSize = kMaxTextFileBytes + (1u << 20);  // 33 MB

// Made sparse: nothing is written but its length, so it costs no time.
void MakeSparseFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = static_cast<LONGLONG>(kSize);
  EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

unsigned long long SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

TEST(LargeTextFile, AFileOver32MbIsRefusedByEachTextWindowAndKept) {
  const AppForms saved = Forms();
  struct Case {
    const char* file;
    // Meets the file as the program does, then closes the window.
    std::function<void(const std::string& path)> meet;
  } cases[] = {
      {"ABC.pnd",  // the notebook's page, loaded at the show, saved at the close
       [](const std::string&) {
         WriteFileBytes(TestEnv().folder + "Tabs.lst", "ABC\r\n");
         TfrmPendra notebook;
         notebook.Show();
         Guarded([&] { notebook.Close(); });
       }},
      {"Quick.qnf",  // the quick note, read at start and again at the show
       [](const std::string&) {
         TfrmQuickie quick;
         quick.Show();
         Guarded([&] { quick.Close(); });
       }},
      {"big.txt",  // a file the editor opens
       [](const std::string& path) {
         TfrmEditor editor;
         editor.Show();
         TestEnv().dialogs.openAnswers.push_back(path);
         MenuCommand(editor.Handle(), TfrmEditor::btnOpen);
         EXPECT_EQ(editor.redtEditor().TextLength(), 0);
         Guarded([&] { editor.Close(); });
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TestEnv().Reset();
    Forms() = AppForms{};
    const std::string path = TestEnv().folder + c.file;
    MakeSparseFile(path);
    c.meet(path);
    const auto errors = TestEnv().dialogs.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Cannot open file " + path +
                                  ". It is larger than 32 MB, more than Pendra can show.");
    EXPECT_EQ(SizeOf(path), kSize);
  }
  Forms() = saved;
}

}  // namespace
}  // namespace pendra::test
