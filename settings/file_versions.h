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
// Backup copies kept at most: every one of the last day, one a day for a
// month; and at most this many bytes in all, the oldest let go first.
inline constexpr int kBackupMonthDays = 30;
inline constexpr std::uint64_t kBackupLimitBytes = 50ull << 20;
// A version is kept at most once per file in this many seconds of saves.
inline constexpr int kBackupEverySeconds = 10 * 60;

// "ToDo 2025-03-01 14-05-09.lst": the file's name with the time before its
// extension, so the copy opens as the file does; the second copy of the same
// second adds " (2)", and so on.
std::string BackupName(std::string_view fileName, const DateTime& at, int number = 1);
struct BackupCopy {
  std::string fileName;  // the data file it is a copy of
  DateTime at;
};
std::optional<BackupCopy> ParseBackupName(std::string_view name);

// Whether a save keeps the version it replaces: the first save of a file in a
// run, then one each ten minutes; a clock set back starts the ten afresh.
bool CopyDue(const std::optional<DateTime>& lastCopy, const DateTime& now);

// Seconds from one local time to another (negative when `to` is earlier).
long long SecondsBetween(const DateTime& from, const DateTime& to);

// The files of a Backup folder to let go at `now`: per data file every copy
// of the last day, then the newest copy of each day, none older than a month;
// then the oldest while all together hold more than `limitBytes`, but never
// the newest. A copy dated ahead of the clock counts as new. Temporary files
// of copies a kill cut short go too; files that are no copies stay.
std::vector<std::string> CopiesToPrune(const std::vector<FolderFile>& files, const DateTime& now,
                                       std::uint64_t limitBytes = kBackupLimitBytes);

}  // namespace pendra
