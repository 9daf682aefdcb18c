#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/services.h"
#include "settings/data_file.h"
#include "settings/errors.h"
#include "tests/common/file_bytes.h"
#include "todo/todo_list.h"

namespace pendra {
namespace {

using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;

class SetClock : public IClock {
 public:
  DateTime now{{2025, 3, 1}, {14, 5, 9}};
  DateTime Now() override { return now; }
};

// Saves name their copies by the program's clock.
SetClock& Clock() {
  static SetClock clock;
  return clock;
}
const bool kClockInstalled = [] {
  Svc().clock = &Clock();
  return true;
}();

class DataFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pendra-data-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = std::string(templ) + "/";
    path_ = dir_ + "ToDo.lst";
    Clock().now = {{2025, 3, 1}, {14, 5, 9}};
    BackupTroubleSaid() = false;
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }

  std::string Copy(const char* time, const char* more = "") const {
    return ReadFileBytes(dir_ + "Backup/ToDo 2025-03-01 " + time + more + ".lst");
  }
  // Another program rewrites the file with bytes of the same size, and its
  // time is what it was: only the bytes tell.
  void RewriteKeepingSizeAndTime(const std::string& bytes) {
    struct stat st{};
    ASSERT_EQ(stat(path_.c_str(), &st), 0);
    WriteFileBytes(path_, bytes);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
  }

  std::string dir_, path_;
};

TEST_F(DataFileTest, TheReplacedVersionIsKeptOncePerTenMinutes) {
  WriteFileBytes(path_, "v0\r\n");
  DataFile file(path_);
  EXPECT_EQ(file.ReadLines(), Lines{"v0"});
  EXPECT_EQ(file.WriteLines({"v1"}), SaveResult::Written);
  Clock().now.time.minute = 14;
  EXPECT_EQ(file.WriteLines({"v2"}), SaveResult::Written);
  Clock().now.time.minute = 15;
  EXPECT_EQ(file.WriteLines({"v2"}), SaveResult::Written);  // nothing to replace
  EXPECT_EQ(file.WriteLines({"v3"}), SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "v3\r\n");
  EXPECT_EQ(Copy("14-05-09"), "v0\r\n");
  EXPECT_EQ(Copy("14-15-09"), "v2\r\n");
  EXPECT_EQ(testing_files::ReadFileBytes(dir_ + "Backup/ToDo 2025-03-01 14-14-09.lst"), "");

  // Deleted by another program while shown: written as a new file.
  std::remove(path_.c_str());
  EXPECT_FALSE(file.ChangedOnDisk());
  EXPECT_EQ(file.WriteLines({"v4"}), SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "v4\r\n");

  // An empty version (a page made at its first show) holds nothing to keep.
  const std::string page = dir_ + "ABC.pnd";
  WriteFileBytes(page, "");
  DataFile empty(page);
  empty.Read();
  EXPECT_EQ(empty.Write("text"), SaveResult::Written);
  struct stat st{};
  EXPECT_NE(stat((dir_ + "Backup/ABC 2025-03-01 14-15-09.pnd").c_str(), &st), 0);
}

TEST_F(DataFileTest, ChangesElsewhereAreShownOrKeptNeverWrittenOver) {
  WriteFileBytes(path_, "mine\r\n");
  DataFile file(path_);
  file.ReadLines();
  EXPECT_FALSE(file.ChangedOnDisk());
  // Within the file system's time granularity, of the same size.
  RewriteKeepingSizeAndTime("them\r\n");
  EXPECT_TRUE(file.ChangedOnDisk());
  EXPECT_EQ(file.WriteLines({"mine"}), SaveResult::ChangedElsewhere);
  EXPECT_EQ(ReadFileBytes(path_), "them\r\n");

  EXPECT_TRUE(file.EditedLines({"mine", "new"}));
  EXPECT_EQ(file.WriteLines({"mine", "new"}), SaveResult::WrittenKeepingTheirs);
  EXPECT_EQ(ReadFileBytes(path_), "mine\r\nnew\r\n");
  EXPECT_EQ(Copy("14-05-09"), "them\r\n");
  EXPECT_FALSE(file.ChangedOnDisk());

  // A Backup folder that is a file: the save goes on, said once; the other
  // program's version goes beside the file.
  ASSERT_EQ(std::system(("rm -r '" + dir_ + "Backup' && touch '" + dir_ + "Backup'").c_str()), 0);
  Clock().now.time.minute = 30;
  EXPECT_EQ(file.WriteLines({"third"}), SaveResult::Written);
  EXPECT_TRUE(BackupTroubleSaid());
  WriteFileBytes(path_, "theirs again\r\n");
  EXPECT_EQ(file.WriteLines({"fourth"}), SaveResult::WrittenKeepingTheirs);
  EXPECT_EQ(ReadFileBytes(dir_ + "ToDo 2025-03-01 14-30-09.lst"), "theirs again\r\n");
  EXPECT_EQ(ReadFileBytes(path_), "fourth\r\n");
}

TEST_F(DataFileTest, TheToDoListShowsChangesElsewhereUnlessItHasEditsOfItsOwn) {
  WriteFileBytes(path_, "a\nb");  // another program's line ends: no edit of the list's own
  ToDoList list(path_);
  list.Load();
  EXPECT_FALSE(list.Refresh());
  WriteFileBytes(path_, "a\r\nb\r\nc\r\n");
  EXPECT_TRUE(list.Refresh());
  EXPECT_EQ(list.Items(), (Lines{"a", "b", "c"}));

  WriteFileBytes(path_, "x\r\n");
  EXPECT_TRUE(list.Save());  // read instead of written
  EXPECT_EQ(list.Items(), Lines{"x"});
  EXPECT_FALSE(list.Commands().save);

  list.Add("d", "mine");
  WriteFileBytes(path_, "y\r\n");
  EXPECT_FALSE(list.Refresh());
  EXPECT_TRUE(list.SaveForClose());
  EXPECT_EQ(ReadFileBytes(path_), "x\r\n d         mine\r\n");
  EXPECT_EQ(Copy("14-05-09"), "y\r\n");
}

}  // namespace
}  // namespace pendra
