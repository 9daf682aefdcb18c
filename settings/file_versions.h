#pragma once
// The rules behind a data file shared with other programs: what the file was
// when Pendra read it, whether another program has changed it since, and the
// earlier versions kept in the folder "Backup" beside the data (their names,
// how often one is kept, and which are let go).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/code_page.h"
#include "settings/datetime.h"
#include "settings/list_file.h"

namespace pendra {

// A 64-bit hash of bytes given in pieces of any size: a file is told apart
// from what it was without keeping its old bytes. Not proof against anyone
// forging a collision, which no other program here has reason to do.
class ContentHash {
 public:
  void Add(std::string_view bytes);
  std::uint64_t Value() const;

 private:
  void Mix(std::uint64_t word);
  std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
  std::uint64_t length_ = 0;
  std::uint64_t pending_ = 0;  // the bytes of a word not yet whole
};

std::uint64_t HashOf(std::string_view bytes);
// The hash of the bytes JoinLines makes of the lines, without making them.
std::uint64_t HashOfLines(const Lines& lines);

// What a file was when Pendra last read or wrote it: absent, or its size,
// last-write time and the hash of its bytes. Settled: its last write lay
// further back than the file system's time granularity when it was taken, so
// a later change of the same size must also change its time.
struct FileStamp {
  bool exists = false;
  FileFacts facts;
  std::uint64_t hash = 0;
  bool settled = false;
};

// The coarsest last-write time a file system keeps (FAT: two seconds), in the
// hundred-nanosecond ticks of FileFacts.
inline constexpr std::int64_t kWriteTimeGranularity = 20'000'000;

FileStamp StampOf(const std::optional<FileFacts>& facts, std::uint64_t hash, std::int64_t takenAt);

// What the facts of a file on disk say against its stamp.
enum class DiskLook {
  Same,       // unchanged, without reading it
  Changed,    // another program wrote, replaced or made it
  Gone,       // another program deleted it
  ReadToTell  // the same size and time, but the time cannot vouch: compare hashes
};
DiskLook LookAt(const FileStamp& known, const std::optional<FileFacts>& now);

// What a save does, from the file's stamp, the hash of its bytes on disk now
// (none: it is not there) and whether Pendra's bytes differ from what it read.
enum class SaveVerdict {
  Replace,              // nobody else changed it: replace it, keeping the old version
  Create,               // no file (never was, or another program deleted it): write it anew
  KeepTheirs,           // changed elsewhere, Pendra has no change: write nothing, read it again
  ReplaceKeepingTheirs  // both changed: Pendra's version is written, the other one kept as a copy
};
SaveVerdict JudgeSave(const FileStamp& known, std::optional<std::uint64_t> diskHash, bool ownChange);

inline constexpr const char* kBackupFolderName = "Backup";
// Where the versions go instead when a folder named Backup is there that
// Pendra did not make: the user's own folder is left alone.
inline constexpr const char* kOwnBackupFolderName = "Pendra Backup";
// The record, in the folder of the versions, of the copies Pendra made there.
// Pendra lets go only the files it names, and only while each is as Pendra
// made it; its presence marks the folder as Pendra's.
inline constexpr const char* kCopyRecordName = "Pendra copies.txt";
// Backup copies kept at most: every one of the last day, one a day for a
// month; and at most this many bytes in all, the oldest let go first.
inline constexpr int kBackupMonthDays = 30;
inline constexpr std::uint64_t kBackupLimitBytes = 50ull << 20;
// A version is kept at most once per file in this many seconds of saves.
inline constexpr int kBackupEverySeconds = 10 * 60;

// The kinds of copy: Pendra's own earlier version, let go by age and size;
// another program's version that a save of Pendra's replaced, or that a
// delete took away, kept until the user deletes it.
enum class CopyKind { Version, Theirs };

// "ToDo 2025-03-01 14-05-09.lst": the file's name with the time before its
// extension, so the copy opens as the file does; another program's version
// adds " from another program" after the time; the second copy of the same
// second adds " (2)", and so on. A name longer than `maxBytes` loses the end
// of its stem, never inside a character.
std::string BackupName(std::string_view fileName, const DateTime& at, int number = 1,
                       CopyKind kind = CopyKind::Version, std::size_t maxBytes = 255,
                       const CodePage& codePage = CodePage());
struct BackupCopy {
  std::string fileName;  // the data file it is a copy of
  DateTime at;
  CopyKind kind = CopyKind::Version;
};
std::optional<BackupCopy> ParseBackupName(std::string_view name);

// Whether a folder of these files, which has no record, holds only copies
// of Pendra's data files (a folder an earlier Pendra made before it kept a
// record): it is taken as Pendra's. An empty folder is someone else's.
bool HoldsOnlyPendraCopies(const std::vector<FolderFile>& files);

// One copy in the record: its name in the folder, the data file it is a copy
// of, when it was made, and the size and last-write time it had then.
struct RecordedCopy {
  std::string name;
  std::string fileName;
  DateTime at;
  FileFacts facts;
  friend bool operator==(const RecordedCopy&, const RecordedCopy&) = default;
};
// The record is text: a heading that says what it is, then a line a copy,
// its fields apart by tabs, which no file name holds. Lines that do not read
// as a copy name nothing.
std::string CopyRecordHeading();
std::string CopyRecordLine(const RecordedCopy& copy);
std::vector<RecordedCopy> ParseCopyRecord(std::string_view text);

// Whether a save keeps the version it replaces: the first save of a file in a
// run, then one each ten minutes; a clock set back starts the ten afresh.
// Whatever the time, a save that takes away most of the file's bytes (a
// select all and delete) keeps what it replaces.
bool CopyDue(const std::optional<DateTime>& lastCopy, const DateTime& now);
bool TakesMostAway(std::uint64_t replacedBytes, std::uint64_t newBytes);

// Seconds from one local time to another (negative when `to` is earlier).
long long SecondsBetween(const DateTime& from, const DateTime& to);

// The recorded copies to let go at `now`: per data file every copy of the
// last day, then the newest copy of each day, none older than a month; then
// the oldest while all together hold more than `limitBytes`, but never the
// newest. A copy dated ahead of the clock counts as new.
std::vector<std::string> CopiesToPrune(const std::vector<RecordedCopy>& copies, const DateTime& now,
                                       std::uint64_t limitBytes = kBackupLimitBytes);

}  // namespace pendra
