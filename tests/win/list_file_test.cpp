// Replacing list files on Windows: the file is moved over the old one.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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
    for (const char* name : {"Message.lst", "ToDo.lst", "Caf\xE9.pnd"})
      DeleteFileA((folder_ + name).c_str());
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

  // File names in UTF-8 (the name Café.pnd, which DeleteFileA below removes
  // in code page 1252).
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

}  // namespace
}  // namespace pendra::test
