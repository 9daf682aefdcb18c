// A text file just over the 32 MB a text window takes, where each of the
// three windows loads one: refused whole, by its size, with the message, and
// kept as it is through the window's close.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "tests/win/test_env_win.h"
#include "tests/win/text_windows_win.h"

namespace pendra::test {
namespace {

constexpr LONGLONG kSize = kMaxTextFileBytes + 1;

LONGLONG SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// The notebook loads its page at the show, quick notes reads its note again,
// the editor opens the file.
TEST(LargeTextFile, AFileOver32MbIsRefusedByEachTextWindowAndKept) {
  const char* const files[] = {"ABC.pnd", "big.txt", "Quick.qnf"};
  for (int i = 0; i < 3; ++i) {
    const TextWindow& w = kTextWindows[i];
    SCOPED_TRACE(w.name);
    TestEnv().Reset();
    WriteFileBytes(TestEnv().folder + "Tabs.lst", "ABC\r\n");
    const std::string path = TestEnv().folder + files[i];
    // Sparse: only its length is written.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = kSize;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    const auto window = w.make();
    window->Show();
    if (std::strcmp(w.name, "editor") == 0) {
      TestEnv().dialogs.openAnswers.push_back(path);
      MenuCommand(window->Handle(), TfrmEditor::btnOpen);
      EXPECT_EQ(w.text(*window).TextLength(), 0);
    }
    Guarded([&] { window->Close(); });
    const auto errors = TestEnv().dialogs.Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "Cannot open file " + path + ". It is larger than 32 MB, more than Pendra can show.");
    EXPECT_EQ(SizeOf(path), kSize);
  }
}

}  // namespace
}  // namespace pendra::test
