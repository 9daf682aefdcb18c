// Replacing list files on Windows: the file is moved over the old one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "settings/code_page.h"
#include "settings/data_folder.h"
#include "settings/errors.h"
#include "settings/list_file.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return count;
}

class WinListFile : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "pendra-list-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    SetFileAttributesA((folder_ + "ToDo.lst").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"Message.lst", "ToDo.lst"}) DeleteFileA((folder_ + name).c_str());
    RemoveFile(folder_ + "Caf\xC3\xA9.pnd");
    RemoveDirectoryA((folder_ + "Tabs.lst").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string folder_;
};

TEST_F(WinListFile, ReplacesAnExistingFileAndLeavesNothingBeside) {
  const std::string path = folder_ + "Message.lst";
  WriteFileBytes(path, "old line\r\nand another\r\n");
  WriteListFile(path, {"9:05:00 AM-6/19/2000--new", ""});
  EXPECT_EQ(ReadFileBytes(path), "9:05:00 AM-6/19/2000--new\r\n\r\n");
  EXPECT_EQ(ReadListFile(path), (Lines{"9:05:00 AM-6/19/2000--new", ""}));
  EXPECT_EQ(FilesIn(folder_), 1);

  // File names in UTF-8.
  const std::string page = folder_ + "Caf\xC3\xA9.pnd";
  WriteListFile(page, {"caf\xE9"});
  EXPECT_TRUE(FileExists(page));
  EXPECT_EQ(ReadListFile(page), Lines{"caf\xE9"});
}

TEST_F(WinListFile, AFileThatCannotBeReplacedStaysAsItWas) {
  const std::string path = folder_ + "ToDo.lst";
  WriteFileBytes(path, "keep\r\n");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  try {
    WriteListFile(path, {"lost?"});
    ADD_FAILURE() << "write did not fail";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
  }
  EXPECT_EQ(ReadFileBytes(path), "keep\r\n");
  EXPECT_EQ(FilesIn(folder_), 1);

  // A file held without sharing is not a missing one.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReadListFile(path), Error);
  CloseHandle(held);

  const std::string folder = folder_ + "Tabs.lst";
  CreateDirectoryA(folder.c_str(), nullptr);
  EXPECT_THROW(ReadListFile(folder), Error);
  EXPECT_THROW(WriteListFile(folder, {"x"}), Error);
  EXPECT_EQ(FilesIn(folder_), 1);
}

// A list in the system's code page (1252, and 932 and 65001 in their passes)
// is written byte for byte as read while every line fits, a line of bytes
// the code page gives no character too; once a character does not fit, the
// list goes to UTF-8 after the mark, and one that cannot keep such bytes then
// keeps what it replaces in Backup and says so.
TEST_F(WinListFile, AListKeepsItsBytesUntilACharacterDoesNotFitAlsoInJapaneseAndUtf8CodePage) {
  const UINT cp = GetACP();
  // A line of bytes of no character (a mark before bytes that are no UTF-8, a
  // lone lead byte, a byte UTF-8 has not), then one that fits, as shown.
  const std::string broken = std::string("\xEF\xBB\xBF") + (cp == 932 ? "a\x81" : cp == CP_UTF8 ? "ab\xFF" : "Caf\xE9");
  const std::string fits = cp == 932 ? "\x97\x5C\x92\xE8\x95\x5C" : cp == CP_UTF8 ? "\xE6\x97\xA5" : "Caf\xE9 \x80";
  const std::string fitsShown = cp == 932     ? "\xE4\xBA\x88\xE5\xAE\x9A\xE8\xA1\xA8"
                                : cp == CP_UTF8 ? fits
                                                : "Caf\xC3\xA9 \xE2\x82\xAC";
  const std::string emoji = "\xF0\x9F\x98\x80 \xC5\x81ukasz";
  const std::string path = folder_ + "ToDo.lst";
  WriteFileBytes(path, broken + "\n" + fits + "\n");
  DataFolder data(folder_, [] { return DateTime{{2025, 3, 1}, {14, 5, 9}}; });
  DataFile& file = data.File("ToDo.lst");
  Lines lines = file.ReadLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], fitsShown);
  lines.push_back("new");
  (void)file.WriteLines(lines);
  EXPECT_EQ(ReadFileBytes(path), broken + "\r\n" + fits + "\r\nnew\r\n");

  lines.push_back(emoji);
  const DataOutcome saved = file.WriteLines(lines);
  const bool bytesLost = cp == 932;  // only there does a line hold bytes of no character
  if (cp == CP_UTF8) {
    EXPECT_EQ(ReadFileBytes(path), broken + "\r\n" + fits + "\r\nnew\r\n" + emoji + "\r\n");
  } else {
    EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF" + lines[0] + "\r\n" + fitsShown + "\r\nnew\r\n" + emoji + "\r\n");
  }
  const auto notice = std::find_if(saved.notices.begin(), saved.notices.end(),
                                   [](const DataNotice& n) { return n.kind == DataNotice::Kind::BytesNotKept; });
  ASSERT_EQ(notice != saved.notices.end(), bytesLost);
  if (bytesLost) {
    const std::string copy = notice->text.substr(notice->text.rfind(" kept as ") + 9);
    EXPECT_EQ(ReadWholeFile(copy.substr(0, copy.size() - 1)), broken + "\r\n" + fits + "\r\nnew\r\n");
  }
  // Turned UTF-8, it stays so without the character that made it.
  EXPECT_EQ(file.ReadLines(), lines);
  lines.pop_back();
  (void)file.WriteLines(lines);
  EXPECT_EQ(ReadFileBytes(path), cp == CP_UTF8 ? broken + "\r\n" + fits + "\r\nnew\r\n"
                                               : "\xEF\xBB\xBF" + lines[0] + "\r\n" + fitsShown + "\r\nnew\r\n");

  const std::string backup = folder_ + "Backup\\";
  for (const FolderFile& f : pendra::FilesIn(backup)) RemoveFile(backup + f.name);
  RemoveDirectoryA(backup.c_str());
}

}  // namespace
}  // namespace pendra::test
