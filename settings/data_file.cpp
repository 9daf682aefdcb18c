#include "settings/data_file.h"

#include <cstring>
#include <map>

#include "platform/services.h"
#include "settings/code_page.h"
#include "settings/errors.h"

namespace pendra {

namespace {

// A copy of the file at `path` as it is now, in `folder` under the name for
// `now`; none when it cannot be made there.
std::optional<std::string> CopyInto(const std::string& folder, const std::string& path,
                                    std::string_view name, const DateTime& now) {
  for (int number = 1; number < 100; ++number) {
    const std::string copy = folder + BackupName(name, now, number);
    if (PathExists(copy)) continue;
    // The replace that follows leaves the old bytes to this second name:
    // nothing to copy, and nothing a kill could tear.
    if (LinkFile(path, copy)) return copy;
    // A file system without hard links (FAT): the bytes, whole or not at all.
    try {
      ReplaceWholeFile(copy, ReadWholeFile(path));
      return copy;
    } catch (const Error&) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

struct KeptCopy {
  std::optional<std::string> path;
  bool backupFailed = false;
};

// Whether a Backup folder is due its pruning: at its first copy of a run,
// then at most once an hour, so that a save need not list a folder of
// hundreds of copies each time (a clock set back prunes at once).
bool PruneDue(const std::string& folder, const DateTime& now) {
  static std::map<std::string, DateTime> lastPrunes;
  const auto last = lastPrunes.find(folder);
  if (last != lastPrunes.end()) {
    const long long seconds = SecondsBetween(last->second, now);
    if (seconds >= 0 && seconds < 60 * 60) return false;
  }
  lastPrunes[folder] = now;
  return true;
}

// Keeps the version of the file on disk now in Backup, and prunes the folder.
// Another program's version is kept beside the file where Backup cannot take
// it: it is not lost for a folder that cannot be written.
KeptCopy KeepCopy(const std::string& path, const DateTime& now, bool theirs) {
  const std::size_t nameStart = FileNameStart(path, AnsiCodePage());
  const std::string_view name = std::string_view(path).substr(nameStart);
  const std::string folder = BackupFolderOf(path);
  if (MakeFolder(folder)) {
    if (auto copy = CopyInto(folder, path, name, now)) {
      if (PruneDue(folder, now))
        for (const std::string& doomed : CopiesToPrune(FilesIn(folder), now)) RemoveFile(folder + doomed);
      return {std::move(copy), false};
    }
  }
  if (!theirs) return {std::nullopt, true};
  return {CopyInto(path.substr(0, nameStart), path, name, now), true};
}

// When a save of each file last kept a copy in this run, by path: the
// windows may make their DataFile afresh for each read (a notebook tab).
std::map<std::string, DateTime>& LastCopies() {
  static std::map<std::string, DateTime> copies;
  return copies;
}

}  // namespace

std::string BackupFolderOf(const std::string& path) {
  const std::size_t start = FileNameStart(path, AnsiCodePage());
  const char separator = start > 0 ? path[start - 1] : '\\';
  return path.substr(0, start) + kBackupFolderName + separator;
}

bool& BackupTroubleSaid() {
  static bool said = false;
  return said;
}

std::string DataFile::ReadStamped() {
  const std::optional<FileFacts> facts = FactsOf(path_);
  const std::int64_t takenAt = FileClockNow();
  std::string bytes = ReadWholeFile(path_);
  stamp_ = StampOf(facts, HashOf(bytes), takenAt);
  return bytes;
}

std::string DataFile::Read() {
  std::string bytes = ReadStamped();
  content_ = stamp_.hash;
  return bytes;
}

Lines DataFile::ReadLines() {
  if (!PathExists(path_)) {
    stamp_ = {};
    content_ = HashOf("");
    return {};
  }
  Lines lines = SplitLines(ReadStamped());
  // What Pendra would write of them, whatever line ends the file has.
  content_ = HashOfLines(lines);
  return lines;
}

bool DataFile::ChangedOnDisk() {
  const std::optional<FileFacts> now = FactsOf(path_);
  switch (LookAt(stamp_, now)) {
    case DiskLook::Same:
    case DiskLook::Gone:
      return false;
    case DiskLook::Changed:
      return true;
    case DiskLook::ReadToTell:
      break;
  }
  const std::int64_t takenAt = FileClockNow();
  ContentHash hash;
  if (!ReadInPieces(path_, [&](std::string_view piece) {
        hash.Add(piece);
        return true;
      }))
    return true;
  if (hash.Value() != stamp_.hash) return true;
  stamp_ = StampOf(now, stamp_.hash, takenAt);
  return false;
}

void DataFile::Remember(std::uint64_t hash) {
  stamp_ = StampOf(FactsOf(path_), hash, FileClockNow());
  content_ = hash;
}

SaveResult DataFile::Write(const std::string& bytes) {
  // One read of what the file holds now tells whether it holds these bytes
  // already and whether another program changed it.
  std::optional<std::uint64_t> diskHash;
  bool same = false;
  std::size_t at = 0;  // the bytes on disk
  if (PathExists(path_)) {
    ContentHash hash;
    same = true;
    if (!ReadInPieces(path_, [&](std::string_view piece) {
          hash.Add(piece);
          same = same && piece.size() <= bytes.size() - at &&
                 std::memcmp(piece.data(), bytes.data() + at, piece.size()) == 0;
          at += piece.size();
          return true;
        }))
      throw Error("Cannot create file " + path_);
    same = same && at == bytes.size();
    diskHash = hash.Value();
  }
  const std::uint64_t mine = HashOf(bytes);
  if (same) {
    // Left as it is: a save that changes nothing succeeds also where the
    // file or its folder is read-only.
    RemoveLeftTemporaries(path_);
    Remember(mine);
    return SaveResult::Written;
  }
  const SaveVerdict verdict = JudgeSave(stamp_, diskHash, mine != content_);
  if (verdict == SaveVerdict::KeepTheirs) return SaveResult::ChangedElsewhere;
  // A file the user protects is not replaced, and no copy is made of it.
  if (!MayReplace(path_)) throw Error("Cannot create file " + path_);
  const bool theirs = verdict == SaveVerdict::ReplaceKeepingTheirs;
  const DateTime now = Svc().clock->Now();
  const auto last = LastCopies().find(path_);
  const bool due =
      CopyDue(last == LastCopies().end() ? std::nullopt : std::optional(last->second), now);
  KeptCopy kept;
  // An empty version (a page made at its first show) holds nothing to keep.
  if (theirs || (verdict == SaveVerdict::Replace && due && at > 0)) {
    kept = KeepCopy(path_, now, theirs);
    // Without a copy, the other version would be lost: nothing is written.
    if (theirs && !kept.path) throw Error("Cannot create file " + path_);
  }
  try {
    ReplaceWholeFile(path_, bytes);
  } catch (const Error&) {
    // The version on disk stays; its copy would be a second name of it.
    if (kept.path) RemoveFile(*kept.path);
    throw;
  }
  Remember(mine);
  if (kept.path) LastCopies()[path_] = now;
  if (kept.backupFailed && !BackupTroubleSaid()) {
    BackupTroubleSaid() = true;
    Tell("Earlier versions of Pendra's files cannot be kept in " + BackupFolderOf(path_) +
             ": the folder cannot be made or written to. Pendra saves your files without them, "
             "and says this once until it is started again.",
         MsgIcon::Warning);
  }
  if (theirs) {
    Tell(path_ + " was changed by another program since Pendra read it. Pendra saved its own version; "
             "the other one is kept as " + *kept.path + ".",
         MsgIcon::Warning);
    return SaveResult::WrittenKeepingTheirs;
  }
  return SaveResult::Written;
}

SaveResult DataFile::WriteLines(const Lines& lines) {
  if (lines.empty() && !PathExists(path_)) {
    // Where the file cannot be made (a folder that cannot be written),
    // nothing is lost, and an exit must not stop for it.
    try {
      return Write({});
    } catch (const Error&) {
      return SaveResult::Written;
    }
  }
  return Write(JoinLines(lines));
}

}  // namespace pendra
