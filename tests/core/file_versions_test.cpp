#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "settings/file_versions.h"

namespace pendra {
namespace {

constexpr DateTime kNow{{2025, 3, 10}, {12, 0, 0}};

DateTime Ago(long long seconds) {
  const long long t = SecondsOfDay(kNow.time) - seconds;
  const long long days = t >= 0 ? t / 86400 : -((-t + 86399) / 86400);
  return {AddDays(kNow.date, static_cast<int>(days)), TimeFromSeconds(static_cast<int>(t - days * 86400))};
}

TEST(FileVersions, ACopyIsNamedByItsFileAndTimeAndReadBack) {
  EXPECT_EQ(BackupName("ToDo.lst", kNow), "ToDo 2025-03-10 12-00-00.lst");
  EXPECT_EQ(BackupName("v1.2 plan.pnd", kNow, 3), "v1.2 plan 2025-03-10 12-00-00 (3).pnd");
  for (const char* file : {"ToDo.lst", "v1.2 plan.pnd", "no extension", "Caf\xE9 \x82\xA0.pnd"})
    for (int number : {1, 12}) {
      const auto copy = ParseBackupName(BackupName(file, Ago(90061), number));
      ASSERT_TRUE(copy) << file;
      EXPECT_EQ(copy->fileName, file);
      EXPECT_EQ(copy->at, Ago(90061));
    }
  for (const char* other : {"ToDo.lst", "notes.txt", " 2025-03-10 12-00-00.lst", "ToDo 2025-02-30 12-00-00.lst",
                            "ToDo 2025-03-10 24-00-00.lst", "ToDo 2025-03-10 12-00-00 ().lst",
                            "ToDo 2025-03-10 12:00:00.lst", "ToDo 2025-03-10_12-00-00.lst"})
    EXPECT_FALSE(ParseBackupName(other)) << other;

  // Another program's version says so, and reads back as its own kind.
  const std::string theirs = BackupName("Inbox.pnd", kNow, 2, CopyKind::Theirs);
  EXPECT_EQ(theirs, "Inbox 2025-03-10 12-00-00 from another program (2).pnd");
  ASSERT_TRUE(ParseBackupName(theirs));
  EXPECT_EQ(ParseBackupName(theirs)->kind, CopyKind::Theirs);
  // A name near the limit gives way at its stem, never inside a character.
  const std::string longName = std::string(230, 'x') + "\x82\xA0.pnd";
  const std::string cut = BackupName(longName, kNow, 1, CopyKind::Version, 240, CodePage(932));
  EXPECT_LE(cut.size(), 240u);
  EXPECT_EQ(cut.substr(cut.size() - 24), " 2025-03-10 12-00-00.pnd");
  EXPECT_EQ(BackupName("\x82\xA0\x82\xA0.pnd", kNow, 1, CopyKind::Version, 27, CodePage(932)),
            "\x82\xA0 2025-03-10 12-00-00.pnd");
}

TEST(FileVersions, TheRecordNamesOnlyWellFormedCopies) {
  const RecordedCopy copy{"ToDo 2025-03-10 12-00-00.lst", "ToDo.lst", kNow, {123, 133800000000000000}};
  const std::string record = CopyRecordHeading() + CopyRecordLine(copy) + "junk\r\n" +
                             "a\tb\t2025-03-10 12-00-00\t1\r\n" + "a\tb\t2025-03-10 12-00-00\t1\tx\r\n" +
                             "\tb\t2025-03-10 12-00-00\t1\t2\r\n" + CopyRecordLine(copy).substr(0, 30);
  EXPECT_EQ(ParseCopyRecord(record), std::vector<RecordedCopy>{copy});

  // A folder of only an earlier Pendra's copies is taken as its own; one
  // with a file of the user's, or an empty one, is not.
  EXPECT_TRUE(HoldsOnlyPendraCopies({{"ToDo 2025-03-10 12-00-00.lst", 1}, {"Home 2025-03-10 12-00-00 (2).pnd", 1}}));
  EXPECT_FALSE(HoldsOnlyPendraCopies({}));
  EXPECT_FALSE(HoldsOnlyPendraCopies({{"ToDo 2025-03-10 12-00-00.lst", 1}, {"Quick 2025-03-03 10-10-10.docx", 1}}));
  EXPECT_FALSE(HoldsOnlyPendraCopies({{"Screenshot 2026-10-01 10-00-00.png", 1}}));
}

TEST(FileVersions, OneCopyPerTenMinutesAndAClockSetBackStartsAgain) {
  EXPECT_TRUE(CopyDue(std::nullopt, kNow));
  EXPECT_FALSE(CopyDue(Ago(599), kNow));
  EXPECT_TRUE(CopyDue(Ago(600), kNow));
  EXPECT_TRUE(CopyDue(Ago(-1), kNow));
  EXPECT_EQ(SecondsBetween(Ago(90061), kNow), 90061);
}

// Copies of two files over six weeks: which a prune at kNow lets go.
TEST(FileVersions, PruningKeepsTheLastDayThenOneADayForAMonth) {
  struct Row {
    const char* file;
    long long age;  // seconds before now
    bool kept;
  };
  const long long h = 3600, d = 86400;
  const Row rows[] = {
      {"ToDo.lst", -2 * h, true},           // a clock set back: counts as new
      {"ToDo.lst", 0, true},                // the last day, every one
      {"ToDo.lst", 10 * 60, true},
      {"ToDo.lst", 23 * h, true},
      {"ToDo.lst", d - 1, true},            // a second short of a day: still the last day
      {"ToDo.lst", d, false},               // a day old exactly: its day has a newer copy
      {"ToDo.lst", 25 * h, false},          // its day has a newer copy (23 h ago)
      {"ToDo.lst", 2 * d + 1 * h, true},    // the newest of its day
      {"ToDo.lst", 2 * d + 5 * h, false},
      {"ToDo.lst", 2 * d + 6 * h, false},
      {"ToDo.lst", 29 * d, true},
      {"ToDo.lst", 30 * d + 1, false},      // beyond a month, also alone on its day
      {"Home.pnd", 2 * d + 5 * h, true},    // each file keeps its own days
      {"Home.pnd", 40 * d, false},
  };
  std::vector<RecordedCopy> copies;
  std::vector<std::string> expected;
  for (const Row& row : rows) {
    copies.push_back({BackupName(row.file, Ago(row.age)), row.file, Ago(row.age), {1000, 1}});
    if (!row.kept) expected.push_back(copies.back().name);
  }
  std::vector<std::string> pruned = CopiesToPrune(copies, kNow);
  std::sort(pruned.begin(), pruned.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(pruned, expected);

  // Over the size limit the oldest go first, but never the newest of all.
  const std::vector<RecordedCopy> big{{"a3", "A.pnd", Ago(3 * h), {30, 1}},
                                      {"b2", "B.pnd", Ago(2 * h), {30, 1}},
                                      {"a1", "A.pnd", Ago(1 * h), {30, 1}}};
  EXPECT_EQ(CopiesToPrune(big, kNow, 60), std::vector<std::string>{big[0].name});
  EXPECT_EQ(CopiesToPrune(big, kNow, 10), (std::vector<std::string>{big[0].name, big[1].name}));
}

TEST(FileVersions, TheHashDoesNotDependOnThePiecesAndTheStampTellsChanges) {
  std::mt19937 rng(3);
  std::string bytes(1000, '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  for (int round = 0; round < 50; ++round) {
    ContentHash hash;
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t piece = std::min<std::size_t>(rng() % 20, bytes.size() - at);
      hash.Add(std::string_view(bytes).substr(at, piece));
      at += piece;
    }
    ASSERT_EQ(hash.Value(), HashOf(bytes));
  }
  EXPECT_NE(HashOf(bytes), HashOf(bytes.substr(1)));
  EXPECT_NE(HashOf(std::string(8, '\0')), HashOf(std::string(9, '\0')));
  EXPECT_NE(HashOf("abc"), HashOf(std::string("abc\0\0", 5)));  // a file padded with NUL bytes changed
  EXPECT_EQ(HashOfLines({"a", "", "b c"}), HashOf("a\r\n\r\nb c\r\n"));

  const FileFacts facts{7, 1000};
  const FileStamp settled = StampOf(facts, 42, 1000 + kWriteTimeGranularity + 1);
  const FileStamp fresh = StampOf(facts, 42, 1000 + kWriteTimeGranularity);
  EXPECT_EQ(LookAt(settled, facts), DiskLook::Same);
  EXPECT_EQ(LookAt(fresh, facts), DiskLook::ReadToTell);  // a second write may hide in the same time
  EXPECT_EQ(LookAt(settled, FileFacts{7, 999}), DiskLook::ReadToTell);  // a clock set back
  EXPECT_EQ(LookAt(settled, FileFacts{8, 1000}), DiskLook::Changed);
  EXPECT_EQ(LookAt(settled, std::nullopt), DiskLook::Gone);
  EXPECT_EQ(LookAt(FileStamp{}, facts), DiskLook::Changed);
  EXPECT_EQ(LookAt(FileStamp{}, std::nullopt), DiskLook::Same);

  EXPECT_EQ(JudgeSave(settled, 42, true), SaveVerdict::Replace);
  EXPECT_EQ(JudgeSave(settled, std::nullopt, false), SaveVerdict::Create);
  EXPECT_EQ(JudgeSave(settled, 43, false), SaveVerdict::KeepTheirs);
  EXPECT_EQ(JudgeSave(settled, 43, true), SaveVerdict::ReplaceKeepingTheirs);
  EXPECT_EQ(JudgeSave(FileStamp{}, 42, true), SaveVerdict::ReplaceKeepingTheirs);  // made elsewhere
}

}  // namespace
}  // namespace pendra
