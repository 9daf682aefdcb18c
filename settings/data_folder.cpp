#include "settings/data_folder.h"

#include <cstring>
#include <set>

#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/text_encoding.h"

namespace pendra {

namespace {

// The path functions take at most this many characters.
constexpr std::size_t kLongestPath = 259;

// The longest copy name a folder takes: the copy and the temporary file a
// copy by bytes writes beside it must fit a file name and a path.
std::size_t LongestCopyName(const std::string& folder) {
  const std::size_t room = kLongestPath > folder.size() + kLongestTemporarySuffix
                               ? kLongestPath - folder.size() - kLongestTemporarySuffix
                               : 1;
  return std::min<std::size_t>(255 - kLongestTemporarySuffix, room);
}

// A copy of the file at `path` as it is now, in `folder`; none when it
// cannot be made there.
std::optional<std::string> CopyInto(const std::string& folder, const std::string& path,
                                    const std::string& name, CopyKind kind, const DateTime& now) {
  for (int number = 1; number < 100; ++number) {
    const std::string copy =
        folder + BackupName(name, now, number, kind, LongestCopyName(folder), Utf8CodePage());
    // Two copies of the same second never take one name.
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

// Whether a name the record gives is a file of the folder itself, never a
// path that leads out of it, nor the record.
bool NamesAFileHere(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name != kCopyRecordName &&
         FileNameStart(name, Utf8CodePage()) == 0 && name.find(':') == std::string::npos;
}

// What a file holds now, by its hash and size; none when it cannot be read.
struct OnDisk {
  std::uint64_t hash = 0;
  std::size_t size = 0;
};
std::optional<OnDisk> LookInto(const std::string& path) {
  pendra::ContentHash hash;
  std::size_t size = 0;
  if (!ReadInPieces(path, [&](std::string_view piece) {
        hash.Add(piece);
        size += piece.size();
        return true;
      }))
    return std::nullopt;
  return OnDisk{hash.Value(), size};
}

// The record that marks a folder of versions as Pendra's.
bool StartRecord(const std::string& folder) {
  try {
    WriteWholeFile(folder + kCopyRecordName, CopyRecordHeading());
    return true;
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------

DataFile::DataFile(DataFolder& folder, std::string name)
    : folder_(folder), name_(std::move(name)), path_(folder.Folder() + name_) {}

std::string DataFile::ReadStamped() {
  const std::optional<FileFacts> facts = FactsOf(path_);
  const std::int64_t takenAt = FileClockNow();
  std::string bytes = ReadWholeFile(path_);
  stamp_ = StampOf(facts, HashOf(bytes), takenAt);
  looks_.reset();
  return bytes;
}

std::string DataFile::Read() {
  std::string bytes = ReadStamped();
  content_ = stamp_.hash;
  return bytes;
}

Lines DataFile::ReadLines() {
  if (!PathExists(path_)) {
    Forget();
    return {};
  }
  Lines lines = text_.Decode(ReadStamped());
  // What Pendra would write of them, whatever line ends the file has.
  content_ = HashOf(text_.Encode(lines).bytes);
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
  const std::optional<OnDisk> disk = LookInto(path_);
  if (!disk || disk->hash != stamp_.hash) return true;
  stamp_ = StampOf(now, stamp_.hash, takenAt);
  return false;
}

bool DataFile::AtRest(bool holdsContent) {
  const std::optional<FileFacts> facts = FactsOf(path_);
  const bool emptied = facts && facts->size == 0 && holdsContent;
  // Unwritten for a while (a change made while the window was hidden):
  // whole already. A clock set back counts nothing as quiet.
  const std::int64_t quietFor = facts ? FileClockNow() - facts->writeTime : 0;
  const std::int64_t quietEnough = emptied ? kEmptyLooks * kWriteTimeGranularity / 2 : kWriteTimeGranularity;
  if (facts && quietFor >= quietEnough && NoneWriting(path_)) return true;
  if (!looks_ || looks_->facts != facts) {
    looks_ = Looks{facts, 0};
    return false;
  }
  ++looks_->steady;
  return looks_->steady >= (emptied ? kEmptyLooks : 1) && NoneWriting(path_);
}

void DataFile::Remember(std::uint64_t hash) {
  looks_.reset();
  stamp_ = StampOf(FactsOf(path_), hash, FileClockNow());
  content_ = hash;
}

void DataFile::Forget() {
  stamp_ = {};
  content_ = HashOf("");
  text_.Forget();
}

DataOutcome DataFile::Save(const std::string& bytes, bool bytesLost) {
  // One read of what the file holds now tells whether it holds these bytes
  // already and whether another program changed it.
  std::optional<std::uint64_t> diskHash;
  bool same = false;
  std::size_t at = 0;  // the bytes on disk
  if (PathExists(path_)) {
    pendra::ContentHash hash;
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
    return {};
  }
  SaveVerdict verdict = JudgeSave(stamp_, diskHash, mine != content_);
  if (verdict == SaveVerdict::KeepTheirs) return {SaveResult::ChangedElsewhere, {}};
  // A file the user protects is not replaced, and no copy is made of it.
  if (!MayReplace(path_)) throw Error("Cannot create file " + path_);
  // Another program's empty version (a file emptied to be written again)
  // holds nothing to keep, and nothing to tell.
  if (verdict == SaveVerdict::ReplaceKeepingTheirs && at == 0) verdict = SaveVerdict::Replace;
  const bool theirs = verdict == SaveVerdict::ReplaceKeepingTheirs;
  const CopyKind kind = theirs ? CopyKind::Theirs : CopyKind::Version;
  const DateTime now = folder_.Now();
  const auto last = folder_.lastCopies_.find(name_);
  const bool keepLost = bytesLost && verdict == SaveVerdict::Replace && at > 0;
  // An empty version (a page made at its first show) holds nothing to keep.
  const bool due =
      verdict == SaveVerdict::Replace && at > 0 &&
      (keepLost ||
       CopyDue(last == folder_.lastCopies_.end() ? std::nullopt : std::optional(last->second), now) ||
       TakesMostAway(at, bytes.size()));
  DataFolder::Kept kept;
  if (theirs || due) {
    kept = folder_.KeepCopy(*this, kind, now, theirs || keepLost);
    // Without a copy, the other version would be lost: nothing is written.
    if ((theirs || keepLost) && !kept.copy) throw Error("Cannot create file " + path_);
  }
  try {
    ReplaceWholeFile(path_, bytes);
  } catch (const Error&) {
    // The version on disk stays; its copy would be a second name of it.
    if (kept.copy) RemoveFile(*kept.copy);
    throw;
  }
  Remember(mine);
  folder_.Settle(*this, kept, kind, now);
  DataOutcome outcome{theirs ? SaveResult::WrittenKeepingTheirs : SaveResult::Written,
                      folder_.Notices(*this, kept, kind, false)};
  if (keepLost)
    outcome.notices.push_back(
        {DataNotice::Kind::BytesNotKept,
         path_ + " held lines in bytes that are no characters of the system's code page. Now that the list holds "
                 "characters the code page does not have, Pendra stores it in UTF-8, which cannot keep those "
                 "bytes: they are saved as they were shown. The list as it was is kept as " +
             *kept.copy + "."});
  return outcome;
}

DataOutcome DataFile::WriteLines(const Lines& lines) {
  if (lines.empty() && !PathExists(path_)) {
    // Where the file cannot be made (a folder that cannot be written),
    // nothing is lost, and an exit must not stop for it.
    try {
      return Write({});
    } catch (const Error&) {
      return {};
    }
  }
  const ListText::Encoded encoded = text_.Encode(lines);
  DataOutcome outcome = Save(encoded.bytes, encoded.bytesLost);
  if (outcome.result != SaveResult::ChangedElsewhere) text_.Wrote(encoded);
  return outcome;
}

// A delete that did not happen is said, else the list the user removed would
// come back without a word.
DataOutcome DataFile::NotRemoved(const char* why, std::vector<DataNotice> notices) const {
  notices.push_back({DataNotice::Kind::NotRemoved, path_ + " was not removed: " + why});
  return {SaveResult::NotRemoved, std::move(notices)};
}

DataOutcome DataFile::Remove() {
  if (!PathExists(path_)) {
    Forget();
    return {};
  }
  // The look, as before a save: a version Pendra has not seen is another
  // program's.
  const std::optional<OnDisk> disk = LookInto(path_);
  if (!disk) return NotRemoved("another program is using it, or it cannot be read.", {});
  if (!MayReplace(path_)) return NotRemoved("it is read-only.", {});
  const CopyKind kind = stamp_.exists && disk->hash == stamp_.hash ? CopyKind::Version : CopyKind::Theirs;
  const DateTime now = folder_.Now();
  DataFolder::Kept kept;
  if (disk->size > 0) {
    // What a delete takes away is kept whatever the time: beside the file
    // where the folder of versions cannot take it, and not deleted at all
    // where no copy can be made.
    kept = folder_.KeepCopy(*this, kind, now, true);
    if (!kept.copy)
      return NotRemoved("no copy of it could be kept first.", folder_.Notices(*this, kept, kind, true));
  }
  if (!RemoveFile(path_)) {
    if (kept.copy) RemoveFile(*kept.copy);
    return NotRemoved("another program is using it, or it may not be deleted.", {});
  }
  Forget();
  folder_.Settle(*this, kept, kind, now);
  return {SaveResult::Written, folder_.Notices(*this, kept, kind, true)};
}

// ---------------------------------------------------------------------------

DataFolder::DataFolder(std::string folder, std::function<DateTime()> now)
    : folder_(std::move(folder)), now_(std::move(now)) {}

DataFolder::~DataFolder() = default;

DataFile& DataFolder::File(const std::string& name) {
  std::unique_ptr<DataFile>& file = files_[name];
  if (!file) file = std::make_unique<DataFile>(*this, name);
  return *file;
}

DataFolder::Kept DataFolder::KeepCopy(const DataFile& file, CopyKind kind, const DateTime& now, bool beside) {
  Kept kept;
  if (const std::optional<std::string> versions = VersionFolder()) {
    if ((kept.copy = CopyInto(*versions, file.Path(), file.Name(), kind, now))) {
      kept.versions = versions;
      return kept;
    }
  }
  kept.folderFailed = true;
  // Not lost for a folder of versions that cannot be written.
  if (beside) kept.copy = CopyInto(folder_, file.Path(), file.Name(), kind, now);
  return kept;
}

void DataFolder::Settle(const DataFile& file, const Kept& kept, CopyKind kind, const DateTime& now) {
  if (!kept.copy) return;
  if (kind == CopyKind::Version) lastCopies_[file.Name()] = now;
  if (!kept.versions) return;
  // Recorded, a version is Pendra's to let go; a copy the record misses
  // (another program's version, or one a kill cut off from its line) stays.
  if (kind == CopyKind::Version) {
    if (const std::optional<FileFacts> facts = FactsOf(*kept.copy)) {
      const RecordedCopy recorded{kept.copy->substr(kept.versions->size()), file.Name(), now, *facts};
      AppendToFile(*kept.versions + kCopyRecordName, CopyRecordLine(recorded));
    }
  }
  // At its first copy of a run, then at most once an hour, so that a save
  // need not look through hundreds of copies each time (a clock set back
  // prunes at once).
  const long long since = lastPrune_ ? SecondsBetween(*lastPrune_, now) : -1;
  if (lastPrune_ && since >= 0 && since < 60 * 60) return;
  lastPrune_ = now;
  Prune(*kept.versions, now);
}

std::vector<DataNotice> DataFolder::Notices(const DataFile& file, const Kept& kept, CopyKind kind, bool removed) {
  std::vector<DataNotice> notices;
  if (kept.folderFailed && !troubleSaid_) {
    troubleSaid_ = true;
    notices.push_back({DataNotice::Kind::BackupUnwritable,
                       "Earlier versions of Pendra's files cannot be kept in " + folder_ + kBackupFolderName +
                           Separator() +
                           ": the folder cannot be made or written to. Pendra saves your files without them, "
                           "and says this once until it is started again."});
  }
  if (kind == CopyKind::Theirs && kept.copy) {
    notices.push_back({DataNotice::Kind::TheirsKept,
                       file.Path() + " was changed by another program since Pendra read it. " +
                           (removed ? "Pendra removed it as you asked; the other program's version is kept as "
                                    : "Pendra saved its own version; the other one is kept as ") +
                           *kept.copy + "."});
  }
  return notices;
}

std::optional<std::string> DataFolder::VersionFolder() {
  for (const char* name : {kBackupFolderName, kOwnBackupFolderName}) {
    const std::string folder = folder_ + name + Separator();
    if (!PathExists(folder_ + name)) {
      if (!MakeFolder(folder)) return std::nullopt;
      StartRecord(folder);
      return folder;
    }
    if (IsOurs(folder)) return folder;
  }
  return std::nullopt;
}

bool DataFolder::IsOurs(const std::string& folder) {
  if (FileExists(folder + kCopyRecordName)) return true;
  if (notOurs_.count(folder)) return false;
  // A folder an earlier Pendra made, before it kept a record, holds only its
  // copies; the record marks it from now on. Its earlier copies stay.
  if (HoldsOnlyPendraCopies(FilesIn(folder)) && StartRecord(folder)) return true;
  notOurs_.insert(folder);
  return false;
}

void DataFolder::Prune(const std::string& folder, const DateTime& now) {
  const std::string recordPath = folder + kCopyRecordName;
  std::string text;
  try {
    text = ReadWholeFile(recordPath);
  } catch (const Error&) {
    return;  // no record: nothing here is known to be Pendra's
  }
  std::vector<RecordedCopy> ours;
  std::set<std::string> named;
  for (RecordedCopy& copy : ParseCopyRecord(text)) {
    // A record an earlier Pendra kept names its copies in the code page.
    if (!IsValidUtf8(copy.name)) copy.name = Utf8FromCodePage(copy.name);
    if (!IsValidUtf8(copy.fileName)) copy.fileName = Utf8FromCodePage(copy.fileName);
    if (!NamesAFileHere(copy.name) || !named.insert(copy.name).second) continue;
    // Changed, replaced or gone: no longer the copy Pendra made.
    const std::optional<FileFacts> facts = FactsOf(folder + copy.name);
    if (facts && *facts == copy.facts)
      ours.push_back(std::move(copy));
  }
  std::set<std::string> gone;
  for (const std::string& name : CopiesToPrune(ours, now))
    if (RemoveFile(folder + name)) gone.insert(name);
  std::string record = CopyRecordHeading();
  for (const RecordedCopy& copy : ours)
    if (!gone.count(copy.name)) record += CopyRecordLine(copy);
  if (record == text) return;
  try {
    ReplaceWholeFile(recordPath, record);
  } catch (const Error&) {
    // Copies the record still names that are gone are passed over next time.
  }
}

}  // namespace pendra
