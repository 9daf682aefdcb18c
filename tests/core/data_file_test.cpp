#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "settings/data_folder.h"
#include "settings/errors.h"
#include "tests/common/file_bytes.h"
#include "todo/todo_list.h"

namespace pendra {
namespace {

using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;

class DataFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/pendra-data-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = std::string(templ) + "/";
    path_ = dir_ + "ToDo.lst";
    folder_ = std::make_unique<DataFolder>(dir_, [this] { return now_; });
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }

  DataFile& File(const std::string& name = "ToDo.lst") { return folder_->File(name); }
  std::string Copy(const char* time, const char* more = "") const {
    return ReadFileBytes(dir_ + "Backup/ToDo 2025-03-01 " + time + more + ".lst");
  }
  bool Exists(const std::string& name) const {
    struct stat st{};
    return stat((dir_ + name).c_str(), &st) == 0;
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
  void At(int hour, int minute, int day = 1) { now_ = {{2025, 3, day}, {hour, minute, 9}}; }

  std::string dir_, path_;
  DateTime now_{{2025, 3, 1}, {14, 5, 9}};
  std::unique_ptr<DataFolder> folder_;
};

TEST_F(DataFileTest, TheReplacedVersionIsKeptOncePerTenMinutesAndWhenMostIsTakenAway) {
  WriteFileBytes(path_, "v0 with some words\r\n");
  DataFile& file = File();
  EXPECT_EQ(file.ReadLines(), Lines{"v0 with some words"});
  EXPECT_EQ(file.WriteLines({"v1 with some words"}).result, SaveResult::Written);
  At(14, 14);
  EXPECT_EQ(file.WriteLines({"v2 with more words"}).result, SaveResult::Written);
  At(14, 15);
  EXPECT_EQ(file.WriteLines({"v2 with more words"}).result, SaveResult::Written);  // nothing to replace
  EXPECT_EQ(file.WriteLines({"v3 with some words"}).result, SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "v3 with some words\r\n");
  EXPECT_EQ(Copy("14-05-09"), "v0 with some words\r\n");
  EXPECT_EQ(Copy("14-15-09"), "v2 with more words\r\n");
  EXPECT_FALSE(Exists("Backup/ToDo 2025-03-01 14-14-09.lst"));

  // Within the ten minutes: a save that takes most of the text away (a
  // select all and delete) keeps what it replaces, in its own name the same
  // second.
  EXPECT_EQ(file.WriteLines({"v4"}).result, SaveResult::Written);
  EXPECT_EQ(Copy("14-15-09", " (2)"), "v3 with some words\r\n");

  // Deleted by another program while shown: written as a new file.
  std::remove(path_.c_str());
  EXPECT_FALSE(file.ChangedOnDisk());
  EXPECT_EQ(file.WriteLines({"v5"}).result, SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "v5\r\n");

  // An empty version (a page made at its first show) holds nothing to keep.
  WriteFileBytes(dir_ + "ABC.pnd", "");
  DataFile& empty = File("ABC.pnd");
  empty.Read();
  EXPECT_EQ(empty.Write("text").result, SaveResult::Written);
  EXPECT_FALSE(Exists("Backup/ABC 2025-03-01 14-15-09.pnd"));
}

TEST_F(DataFileTest, ChangesElsewhereAreShownOrKeptNeverWrittenOver) {
  WriteFileBytes(path_, "mine\r\n");
  DataFile& file = File();
  file.ReadLines();
  EXPECT_FALSE(file.ChangedOnDisk());
  // Within the file system's time granularity, of the same size.
  RewriteKeepingSizeAndTime("them\r\n");
  EXPECT_TRUE(file.ChangedOnDisk());
  EXPECT_EQ(file.WriteLines({"mine"}).result, SaveResult::ChangedElsewhere);
  EXPECT_EQ(ReadFileBytes(path_), "them\r\n");

  EXPECT_TRUE(file.EditedLines({"mine", "new"}));
  const DataOutcome saved = file.WriteLines({"mine", "new"});
  EXPECT_EQ(saved.result, SaveResult::WrittenKeepingTheirs);
  EXPECT_EQ(ReadFileBytes(path_), "mine\r\nnew\r\n");
  EXPECT_EQ(Copy("14-05-09", " from another program"), "them\r\n");
  ASSERT_EQ(saved.notices.size(), 1u);
  EXPECT_EQ(saved.notices[0].kind, DataNotice::Kind::TheirsKept);
  EXPECT_NE(saved.notices[0].text.find("ToDo 2025-03-01 14-05-09 from another program.lst"), std::string::npos);
  EXPECT_FALSE(file.ChangedOnDisk());

  // Emptied by another program to be written again: nothing to keep or tell.
  WriteFileBytes(path_, "");
  const DataOutcome overEmpty = file.WriteLines({"mine", "newer"});
  EXPECT_EQ(overEmpty.result, SaveResult::Written);
  EXPECT_TRUE(overEmpty.notices.empty());

  // Years on, past every age and size the versions are let go by, another
  // program's version stays.
  At(10, 0, 28);
  now_.date.year = 2027;
  WriteFileBytes(path_, "their third\r\n");
  EXPECT_EQ(file.WriteLines({"mine again"}).result, SaveResult::WrittenKeepingTheirs);
  EXPECT_EQ(Copy("14-05-09", " from another program"), "them\r\n");
}

TEST_F(DataFileTest, ABackupFolderThatIsNotPendrasIsNeverTouched) {
  // The user's own Backup beside a portable Pendra, with files named as
  // copies are: Pendra keeps its versions in a folder of its own.
  ASSERT_EQ(std::system(("mkdir '" + dir_ + "Backup'").c_str()), 0);
  const char* theirs[] = {"Screenshot 2026-10-01 10-00-00.png", "Tax return 2025-01-15 09-30-00.pdf",
                          "ToDo 2025-01-01 10-00-00.lst"};
  for (const char* name : theirs) WriteFileBytes(dir_ + "Backup/" + name, "user's");
  WriteFileBytes(path_, "v0 of the list\r\n");
  DataFile& file = File();
  file.ReadLines();
  for (int day = 1; day <= 28; day += 3) {
    At(9, 0, day);
    EXPECT_EQ(file.WriteLines({"v" + std::to_string(day) + " of the list"}).result, SaveResult::Written);
  }
  for (const char* name : theirs) EXPECT_EQ(ReadFileBytes(dir_ + "Backup/" + name), "user's") << name;
  EXPECT_FALSE(Exists("Backup/" + std::string(kCopyRecordName)));
  EXPECT_TRUE(Exists("Pendra Backup/" + std::string(kCopyRecordName)));
  EXPECT_TRUE(Exists("Pendra Backup/ToDo 2025-03-25 09-00-09.lst"));
  EXPECT_TRUE(Exists("Pendra Backup/ToDo 2025-03-01 09-00-09.lst"));

  // In Pendra's own folder, a file the user put there, or a copy the user
  // changed, is theirs now, whatever its name.
  WriteFileBytes(dir_ + "Pendra Backup/ToDo 2025-03-02 10-00-00.lst", "user's");
  WriteFileBytes(dir_ + "Pendra Backup/ToDo 2025-03-25 09-00-09.lst", "user's edit");
  At(10, 0, 28);
  now_.date.month = 5;
  EXPECT_EQ(file.WriteLines({"may"}).result, SaveResult::Written);
  EXPECT_TRUE(Exists("Pendra Backup/ToDo 2025-03-02 10-00-00.lst"));
  EXPECT_TRUE(Exists("Pendra Backup/ToDo 2025-03-25 09-00-09.lst"));
  // Pendra's own, over a month old, are let go.
  EXPECT_FALSE(Exists("Pendra Backup/ToDo 2025-03-28 09-00-09.lst"));
  EXPECT_FALSE(Exists("Pendra Backup/ToDo 2025-03-01 09-00-09.lst"));
}

// In a long run the folder of versions is looked through at the first copy,
// then at most once an hour: a version past its month goes at the next look.
TEST_F(DataFileTest, TheFolderIsPrunedAtItsFirstCopyThenOnceAnHour) {
  WriteFileBytes(path_, "v0 of the list\r\n");
  DataFile& file = File();
  file.ReadLines();
  std::string record;
  auto plantOldVersion = [&](const std::string& name) {
    WriteFileBytes(dir_ + "Backup/" + name, "old");
    record += CopyRecordLine({name, "ToDo.lst", {{2025, 1, 1}, {9, 0, 0}}, *FactsOf(dir_ + "Backup/" + name)});
    WriteFileBytes(dir_ + "Backup/" + kCopyRecordName, CopyRecordHeading() + record);
  };
  ASSERT_EQ(std::system(("mkdir '" + dir_ + "Backup'").c_str()), 0);
  plantOldVersion("ToDo 2025-01-01 09-00-00.lst");
  // A record that names a file outside the folder names nothing to let go.
  WriteFileBytes(dir_ + "Notes.txt", "the user's");
  record += CopyRecordLine({"../Notes.txt", "ToDo.lst", {{2025, 1, 1}, {9, 0, 0}}, *FactsOf(dir_ + "Notes.txt")});
  WriteFileBytes(dir_ + "Backup/" + kCopyRecordName, CopyRecordHeading() + record);
  (void)file.WriteLines({"v1 of the list"});
  EXPECT_FALSE(Exists("Backup/ToDo 2025-01-01 09-00-00.lst"));
  EXPECT_TRUE(Exists("Notes.txt"));
  record.clear();
  plantOldVersion("ToDo 2025-01-01 09-00-01.lst");
  for (int minute = 15; minute <= 65; minute += 10) {
    At(14 + minute / 60, minute % 60);
    (void)file.WriteLines({"v" + std::to_string(minute) + " of the list"});
    EXPECT_EQ(Exists("Backup/ToDo 2025-01-01 09-00-01.lst"), minute < 65) << minute;
  }
}

TEST_F(DataFileTest, ABackupThatCannotBeWrittenIsSaidOnceAndTheirsGoesBesideTheFile) {
  // "Backup" and "Pendra Backup" are files: no folder for versions at all.
  WriteFileBytes(dir_ + "Backup", "a file");
  WriteFileBytes(dir_ + "Pendra Backup", "a file");
  WriteFileBytes(path_, "first\r\n");
  DataFile& file = File();
  file.ReadLines();
  DataOutcome saved = file.WriteLines({"second"});
  EXPECT_EQ(saved.result, SaveResult::Written);
  ASSERT_EQ(saved.notices.size(), 1u);
  EXPECT_EQ(saved.notices[0].kind, DataNotice::Kind::BackupUnwritable);
  At(14, 30);
  WriteFileBytes(path_, "theirs again\r\n");
  saved = file.WriteLines({"fourth"});
  EXPECT_EQ(saved.result, SaveResult::WrittenKeepingTheirs);
  ASSERT_EQ(saved.notices.size(), 1u);  // the trouble is not said twice
  EXPECT_EQ(ReadFileBytes(dir_ + "ToDo 2025-03-01 14-30-09 from another program.lst"), "theirs again\r\n");
  EXPECT_EQ(ReadFileBytes(path_), "fourth\r\n");
}

TEST_F(DataFileTest, ADeleteKeepsWhatItTakesAway) {
  WriteFileBytes(path_, "a reminder\r\n");
  DataFile& file = File();
  file.ReadLines();
  (void)file.WriteLines({"a reminder", "another"});  // a copy now: none for ten minutes
  EXPECT_EQ(file.Remove().result, SaveResult::Written);
  EXPECT_FALSE(Exists("ToDo.lst"));
  EXPECT_EQ(Copy("14-05-09", " (2)"), "a reminder\r\nanother\r\n");
  EXPECT_EQ(file.ReadLines(), Lines{});
  EXPECT_EQ(file.Remove().result, SaveResult::Written);  // nothing there: removed already

  // Changed elsewhere since read: the other program's version is kept and told.
  WriteFileBytes(path_, "theirs\r\n");
  const DataOutcome removed = file.Remove();
  EXPECT_EQ(removed.result, SaveResult::Written);
  EXPECT_EQ(Copy("14-05-09", " from another program"), "theirs\r\n");
  ASSERT_EQ(removed.notices.size(), 1u);
  EXPECT_EQ(removed.notices[0].kind, DataNotice::Kind::TheirsKept);

  // One that cannot be read stays, and the user is told why it came back.
  ASSERT_EQ(mkdir(path_.c_str(), 0700), 0);
  const DataOutcome refused = file.Remove();
  EXPECT_EQ(refused.result, SaveResult::NotRemoved);
  ASSERT_EQ(refused.notices.size(), 1u);
  EXPECT_EQ(refused.notices[0].text, path_ + " was not removed: another program is using it, or it cannot be read.");
  EXPECT_TRUE(Exists("ToDo.lst"));
}

// A tab named near the length limit still has its versions, under a name cut
// short at its stem; two Pendras (two PCs on one synced folder) each keep the
// other's version rather than write over it.
TEST_F(DataFileTest, NamesAtTheLimitAndTwoPendrasOnOneFolder) {
  const std::string name = std::string(226, 'n') + ".pnd";
  WriteFileBytes(dir_ + name, "first version");
  DataFile& page = File(name);
  page.Read();
  const DataOutcome saved = page.Write("second version");
  EXPECT_TRUE(saved.notices.empty());
  const std::string record = ReadFileBytes(dir_ + "Backup/" + kCopyRecordName);
  const std::vector<RecordedCopy> copies = ParseCopyRecord(record);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].fileName, name);
  EXPECT_LT(copies[0].name.size(), name.size());
  EXPECT_EQ(ReadFileBytes(dir_ + "Backup/" + copies[0].name), "first version");

  DataFolder other(dir_, [this] { return now_; });
  WriteFileBytes(path_, "shared\r\n");
  File().ReadLines();
  other.File("ToDo.lst").ReadLines();
  EXPECT_EQ(File().WriteLines({"from A"}).result, SaveResult::Written);
  EXPECT_EQ(other.File("ToDo.lst").WriteLines({"from B"}).result, SaveResult::WrittenKeepingTheirs);
  EXPECT_EQ(Copy("14-05-09", " from another program"), "from A\r\n");
  EXPECT_TRUE(File().ChangedOnDisk());
}

TEST_F(DataFileTest, AListStaysInTheCodePageUntilACharacterDoesNotFitAndThenStaysUtf8) {
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    std::string bytes;     // the file as found
    Lines shown;           // its lines, in UTF-8
    Lines written;         // what Pendra then saves
    std::string expected;  // the file after
  } cases[] = {
      // Byte for byte as before: the lines' own bytes, each ended CR LF.
      {"code page", "Caf\xE9\n\x80 5\n", {"Caf\xC3\xA9", "\xE2\x82\xAC 5"},
       {"\xE2\x82\xAC 5", "Caf\xC3\xA9"}, "\x80 5\r\nCaf\xE9\r\n"},
      {"one character too many", "Caf\xE9\r\n", {"Caf\xC3\xA9"}, {"Caf\xC3\xA9", "Zadzwo\xC5\x84 \xF0\x9F\x98\x80"},
       bom + "Caf\xC3\xA9\r\nZadzwo\xC5\x84 \xF0\x9F\x98\x80\r\n"},
      {"UTF-8 stays", bom + "Zadzwo\xC5\x84\r\n", {"Zadzwo\xC5\x84"}, {"Caf\xC3\xA9"}, bom + "Caf\xC3\xA9\r\n"},
      {"UTF-8 of another program, no mark", "\xD0\x92\xD0\xB0\n", {"\xD0\x92\xD0\xB0"}, {"ab", "\xD0\x92\xD0\xB0"},
       "ab\r\n\xD0\x92\xD0\xB0\r\n"},
      // A mark before bytes that are no UTF-8: the code page's, kept.
      {"broken mark", bom + "Caf\xE9\r\n", {"\xC3\xAF\xC2\xBB\xC2\xBF" "Caf\xC3\xA9"}, {"x", "\xC3\xAF\xC2\xBB\xC2\xBF" "Caf\xC3\xA9"},
       "x\r\n" + bom + "Caf\xE9\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFileBytes(path_, c.bytes);
    folder_ = std::make_unique<DataFolder>(dir_, [this] { return now_; });
    DataFile& file = File();
    EXPECT_EQ(file.ReadLines(), c.shown);
    EXPECT_FALSE(file.EditedLines(c.shown));
    EXPECT_EQ(file.WriteLines(c.written).result, SaveResult::Written);
    EXPECT_EQ(ReadFileBytes(path_), c.expected);
    EXPECT_EQ(file.ReadLines(), c.written);
  }
  // Turned UTF-8, it stays so while Pendra keeps it, and an empty list is an
  // empty file.
  EXPECT_EQ(File().WriteLines({"ab"}).result, SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "ab\r\n");
  WriteFileBytes(path_, bom + "\xC5\x84\r\n");
  File().ReadLines();
  EXPECT_EQ(File().WriteLines({"ab"}).result, SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), bom + "ab\r\n");
  EXPECT_EQ(File().WriteLines({}).result, SaveResult::Written);
  EXPECT_EQ(ReadFileBytes(path_), "");
}

TEST_F(DataFileTest, TheToDoListShowsChangesElsewhereUnlessItHasEditsOfItsOwn) {
  WriteFileBytes(path_, "a\nb");  // another program's line ends: no edit of the list's own
  ToDoList list(File());
  list.Load();
  using R = ToDoList::Refreshed;
  EXPECT_EQ(list.Refresh(), R::Nothing);
  // Just written: read at the next look that finds it as it was.
  WriteFileBytes(path_, "a\r\nb\r\nc\r\n");
  EXPECT_EQ(list.Refresh(), R::NotYet);
  EXPECT_EQ(list.Refresh(), R::Read);
  EXPECT_EQ(list.Items(), (Lines{"a", "b", "c"}));
  // Emptied in place to be written again: not taken for an empty list at once.
  WriteFileBytes(path_, "");
  for (int look = 0; look < DataFile::kEmptyLooks; ++look) ASSERT_EQ(list.Refresh(), R::NotYet) << look;
  WriteFileBytes(path_, "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(list.Refresh(), R::NotYet);
  EXPECT_EQ(list.Refresh(), R::Read);
  EXPECT_EQ(list.Items().size(), 4u);

  WriteFileBytes(path_, "x\r\n");
  EXPECT_EQ(list.Save().result, SaveResult::ChangedElsewhere);  // read instead of written
  EXPECT_EQ(list.Items(), Lines{"x"});
  EXPECT_FALSE(list.Commands().save);

  list.Add("d", "mine");
  WriteFileBytes(path_, "y\r\n");
  EXPECT_EQ(list.Refresh(), R::Nothing);
  ASSERT_TRUE(list.SaveForClose());
  EXPECT_EQ(ReadFileBytes(path_), "x\r\n d         mine\r\n");
  EXPECT_EQ(Copy("14-05-09", " from another program"), "y\r\n");
}

}  // namespace
}  // namespace pendra
