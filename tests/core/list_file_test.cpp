#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "settings/errors.h"
#include "settings/list_file.h"

namespace pendra {
namespace {

class ListFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pendra-list-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
      }
      closedir(d);
    }
    return names;
  }

  std::string dir_;
};

void ExpectError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error; expected: " << message;
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), message);
  }
}

TEST(ListText, LineEndsAreCrLfOrCrOrLf) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a"), (Lines{"a"}));  // a last line without an end counts
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
  EXPECT_EQ(SplitLines("a\n\nb"), (Lines{"a", "", "b"}));  // empty middle line is an item
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two ends

  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

TEST(ListText, RandomTextSurvivesSplitAndJoin) {
  std::mt19937 rng(7);
  const char pieces[] = "ab\r\n\r\n-\x80\xFF";
  for (int i = 0; i < 5000; ++i) {
    std::string text(rng() % 40, '\0');
    for (char& c : text) c = pieces[rng() % (sizeof pieces - 1)];
    Lines lines = SplitLines(text);
    for (const auto& line : lines) {
      ASSERT_EQ(line.find('\r'), std::string::npos);
      ASSERT_EQ(line.find('\n'), std::string::npos);
    }
    ASSERT_EQ(SplitLines(JoinLines(lines)), lines);
  }
}

TEST_F(ListFileTest, WrittenListReadsBackWithEveryByteUnchanged) {
  std::string high;
  for (int c = 0x80; c <= 0xFF; ++c) high += static_cast<char>(c);
  std::string low;
  for (int c = 1; c < 0x20; ++c)
    if (c != '\r' && c != '\n') low += static_cast<char>(c);
  const Lines lines{"9:05:00 AM-6/19/2000--caf\xE9 -- done", "", high, low,
                    std::string("nul\0inside", 10), " trailing blank "};
  const std::string path = PathOf("Message.lst");
  WriteListFile(path, lines);
  EXPECT_EQ(Bytes(path), JoinLines(lines));
  EXPECT_EQ(ReadListFile(path), lines);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Message.lst"}));  // no temporary left

  WriteListFile(path, {});  // an empty list is an empty file
  EXPECT_EQ(Bytes(path), "");

  Put(path, "one\ntwo\r\nthree\rfour");  // as other programs write it
  EXPECT_EQ(ReadListFile(path), (Lines{"one", "two", "three", "four"}));
}

TEST_F(ListFileTest, AReadOrAWriteTakesAwayTheTemporariesThatKilledWritesLeft) {
  const std::string path = PathOf("ToDo.lst");
  const std::vector<std::string> left{"ToDo.lst.1f2e3d4c5b-1.tmp", "ToDo.lst.0-a.tmp"};
  // Only names a write of this very file makes are taken.
  const std::vector<std::string> kept{"ToDo.lst.tmp",      "ToDo.lst.bak",      "ToDo.lst.-1.tmp",
                                      "ToDo.lst.1-.tmp",   "ToDo.lst.x1-1.tmp", "ToDo.lst.1-1.tmp.txt",
                                      "Tabs.lst.1f-1.tmp", "xToDo.lst.1-1.tmp"};
  for (const auto& name : kept) Put(PathOf(name), "the user's");
  std::vector<std::string> expected = kept;
  expected.push_back("ToDo.lst");
  std::sort(expected.begin(), expected.end());
  Put(path, "a\r\n");
  for (const std::function<void()>& touch : std::vector<std::function<void()>>{
           [&] { EXPECT_EQ(ReadListFile(path), Lines{"a"}); }, [&] { WriteListFile(path, {"b"}); }}) {
    for (const auto& name : left) Put(PathOf(name), "half a list");
    touch();
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected);
  }
}

TEST_F(ListFileTest, MissingFileIsAnEmptyListAndFileHelpers) {
  const std::string path = PathOf("DayMessage.lst");
  EXPECT_EQ(ReadListFile(path), Lines{});
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(RemoveFile(path));
  WriteListFile(path, {"x"});
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(dir_));  // a folder is not a file
  EXPECT_TRUE(RemoveFile(path));
  EXPECT_FALSE(FileExists(path));
}

TEST_F(ListFileTest, ReadingAFolderOrADeviceFailsAtOnce) {
  const std::string path = PathOf("Tabs.lst");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  ExpectError([&] { ReadListFile(path); }, "Cannot open file " + path);
  // A pipe nobody writes to would keep the read waiting for ever.
  const std::string pipe = PathOf("Quick.qnf");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ExpectError([&] { ReadWholeFile(pipe); }, "Cannot open file " + pipe);
  ExpectError([&] { ReadWholeFile("/dev/zero"); }, "Cannot open file /dev/zero");
}

TEST_F(ListFileTest, FailedWritesReportAndLeaveTheOldFileIntact) {
  // No such folder.
  const std::string nowhere = PathOf("no-such-folder/ToDo.lst");
  ExpectError([&] { WriteListFile(nowhere, {"a"}); }, "Cannot create file " + nowhere);

  // A folder in the place of the file: it is not replaced.
  const std::string folder = PathOf("Quick.qnf");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  ExpectError([&] { WriteListFile(folder, {"a"}); }, "Cannot create file " + folder);

  // A name so long that no temporary name fits beside it: the old contents stay.
  const std::string longName = PathOf(std::string(250, 'n') + ".pnd");
  Put(longName, "old\r\n");
  ExpectError([&] { WriteListFile(longName, {"new"}); }, "Cannot create file " + longName);
  EXPECT_EQ(Bytes(longName), "old\r\n");

  std::vector<std::string> left = Entries();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Quick.qnf", std::string(250, 'n') + ".pnd"}));
}

TEST_F(ListFileTest, AWriteThatChangesNothingLeavesTheFileAlone) {
  const std::string path = PathOf("ToDo.lst");
  Put(path, "old\r\n");
  struct stat before{}, after{};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  WriteListFile(path, {"old"});
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // not replaced
  WriteListFile(path, {"olD"});
  EXPECT_EQ(Bytes(path), "olD\r\n");
  // A missing file is the empty list already: nowhere to write it is no fault.
  WriteListFile(PathOf("no-such-folder/ToDo.lst"), {});
  WriteListFile(PathOf("Message.lst"), {});
  EXPECT_EQ(Bytes(PathOf("Message.lst")), "");
}

TEST_F(ListFileTest, WithoutWriteRightsTheFileStaysAsItWas) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const std::string path = PathOf("ToDo.lst");
  Put(path, "old\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);  // a read-only file in a writable folder
  ExpectError([&] { WriteListFile(path, {"new"}); }, "Cannot create file " + path);
  EXPECT_EQ(Bytes(path), "old\r\n");
  WriteListFile(path, {"old"});  // nothing to change: no failure
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);

  ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
  ExpectError([&] { WriteListFile(path, {"new"}); }, "Cannot create file " + path);
  EXPECT_EQ(Bytes(path), "old\r\n");
  WriteListFile(path, {"old"});
  EXPECT_EQ(Entries(), (std::vector<std::string>{"ToDo.lst"}));
}

}  // namespace
}  // namespace pendra
