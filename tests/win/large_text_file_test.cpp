// A text file just over the 32 MB a text window takes, where each of the
// three windows loads one: refused whole, by its size, with the message, and
// kept as it is through the window's close.
#include <windows.h>

#include <gtest/gtest.h>

#include <type_traits>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

constexpr LONGLONG kSize = kMaxTextFileBytes + 1;

LONGLONG SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Shows the window (the notebook loads its page, quick notes reads its note
// again), lets the editor open the file, and closes the window.
template <class W>
void Meet(const std::string& path) {
  W window;
  window.Show();
  if constexpr (std::is_same_v<W, TfrmEditor>) {
    TestEnv().dialogs.openAnswers.push_back(path);
    MenuCommand(window.Handle(), TfrmEditor::btnOpen);
    EXPECT_EQ(window.redtEditor().TextLength(), 0);
  }
  Guarded([&] { window.Close(); });
}

TEST(LargeTextFile, AFileOver32MbIsRefusedByEachTextWindowAndKept) {
  const struct {
    const char* file;
    void (*meet)(const std::string&);
  } cases[] = {{"ABC.pnd", Meet<TfrmPendra>}, {"Quick.qnf", Meet<TfrmQuickie>}, {"big.txt", Meet<TfrmEditor>}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TestEnv().Reset();
    WriteFileBytes(TestEnv().folder + "Tabs.lst", "ABC\r\n");
    const std::string path = TestEnv().folder + c.file;
    // Sparse: only its length is written.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    c.meet(path);
    const auto errors = TestEnv().dialogs.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Cannot open file " + path + ". It is larger than 32 MB, more than Pendra can show.");
    EXPECT_EQ(SizeOf(path), kSize);
  }
}

}  // namespace
}  // namespace pendra::test
