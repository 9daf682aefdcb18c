#pragma once
// The data folder (the program folder) and its files, as the windows read
// and save them in a folder other programs may write too: a sync tool,
// another editor, a second PC. The folder has one owner, DataFolder, through
// which every read, write, delete, copy and prune of a data file goes:
//
// - A file is never written over a version Pendra has not seen without that
//   version being kept: another program's version goes to the folder of
//   versions as a copy of its own kind, which is never let go.
// - The version a save replaces, or a delete takes away, is kept there too,
//   as the ten-minute rule and the size of the change say (CopyDue,
//   TakesMostAway), and let go by age and size later.
// - Only what Pendra made is ever deleted: the versions it recorded, while
//   each is as Pendra made it. A folder of versions that Pendra did not make
//   is never pruned.
//
// Nothing here shows anything: each save or delete returns what the user
// must hear of (its notices), and the window that asked says it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/datetime.h"
#include "settings/file_versions.h"
#include "settings/list_file.h"
#include "settings/list_text.h"

namespace pendra {

class DataFolder;

enum class SaveResult {
  Written,              // the file holds Pendra's bytes (written, or held them already)
  ChangedElsewhere,     // another program changed it and Pendra had no change: nothing written
  WrittenKeepingTheirs, // both changed: Pendra's written, the other version kept as a copy
  NotRemoved            // a delete that could not be made: the file is as it was
};

// Something a save or a delete did that the user must be told.
struct DataNotice {
  enum class Kind {
    TheirsKept,       // another program's version was kept as a copy; never lost in silence
    BackupUnwritable, // no earlier versions can be kept; said once a run
    BytesNotKept,     // a list turned UTF-8 could not keep bytes of no character; kept as a copy
    NotRemoved        // a delete asked for did not happen: the file is as it was
  };
  Kind kind;
  std::string text;
};

struct [[nodiscard]] DataOutcome {
  SaveResult result = SaveResult::Written;
  std::vector<DataNotice> notices;
};

// One file of the data folder. Its path, like every path here, is UTF-8.
class DataFile {
 public:
  DataFile(DataFolder& folder, std::string name);
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  const std::string& Path() const { return path_; }
  const std::string& Name() const { return name_; }

  // Reads the file whole and remembers what it was; fails as ReadWholeFile
  // does, and remembers nothing then.
  std::string Read();
  // The same as a list of UTF-8 lines, the file read in UTF-8 or in the
  // code page (ListText); a missing file is an empty list, and counts as read.
  Lines ReadLines();

  // Whether another program has written, replaced or made the file since it
  // was last read or written here. One look at its size and time, and a
  // read only when they cannot tell. A deleted file is no change: Pendra
  // writes what it holds as a new file. A file found unchanged after all
  // (rewritten with the same bytes) is taken as read again.
  bool ChangedOnDisk();
  // Whether these bytes (lines) differ from what was last read or written.
  bool Edited(std::string_view bytes) const { return HashOf(bytes) != content_; }
  bool EditedLines(const Lines& lines) const { return HashOf(text_.Encode(lines).bytes) != content_; }
  // The hash of the bytes last read or written here.
  std::uint64_t ContentHash() const { return content_; }

  // Whether a change another program makes to the file has come to rest: no
  // program holds it open for writing, and it was last written a while ago,
  // or looks a moment apart found the same size and time. A file emptied
  // where Pendra holds content must stay so longer (kEmptyLooks looks), since
  // a program rewriting a file in place empties it first.
  bool AtRest(bool holdsContent);
  // The looks start afresh (the file was read, or is not waited for now).
  void ForgetLooks() { looks_.reset(); }
  static constexpr int kEmptyLooks = 10;

  // Saves the bytes in place of the file: first a look at what it holds now.
  // - Changed elsewhere while these bytes are what was read: nothing is
  //   written (ChangedElsewhere); the caller reads the file again.
  // - Changed elsewhere, and changed here: the other version is kept as a
  //   copy of its own kind (beside the file, where the folder of versions
  //   cannot take it), then these bytes are written, with a notice.
  // - Otherwise the version replaced is kept when one is due, and the folder
  //   of versions is pruned now and then.
  // A folder of versions that cannot be written never stops the save (a
  // notice, once a run). A file there that cannot be read, or a failed
  // write, fails with "Cannot create file <path>" and changes nothing.
  DataOutcome Write(const std::string& bytes) { return Save(bytes, false); }
  // The same for a list, written as it was read while every line fits the
  // code page (ListText). An empty list where no file is reads as that list
  // already, so a failure to make the file is no failure. A list turned UTF-8
  // that cannot keep the bytes of lines read in no character keeps what it
  // replaces as a copy, whatever the time, and says so; without the copy
  // nothing is written.
  DataOutcome WriteLines(const Lines& lines);
  // Deletes the file as a save replaces it: a look first, then the version it
  // held kept, whatever the time, as another program's when it changed since
  // Pendra read it. A file that cannot be kept or deleted stays as it was
  // (NotRemoved, with a notice saying so); none there is removed already.
  DataOutcome Remove();

 private:
  DataOutcome NotRemoved(const char* why, std::vector<DataNotice> notices) const;
  // Reads the file whole and takes its stamp.
  std::string ReadStamped();
  // Write, keeping what it replaces when `bytesLost`.
  DataOutcome Save(const std::string& bytes, bool bytesLost);
  // The file holds bytes of this hash, as Pendra wrote or found them.
  void Remember(std::uint64_t hash);
  // The file is not there (any more): what Pendra holds is an empty list.
  void Forget();

  DataFolder& folder_;
  std::string name_;
  std::string path_;
  FileStamp stamp_;
  std::uint64_t content_ = HashOf("");  // what Pendra holds as read or written
  ListText text_;  // how the list was read
  // What the looks at a changing file found: its facts at the last look, and
  // how many looks in a row found them so.
  struct Looks {
    std::optional<FileFacts> facts;
    int steady = 0;
  };
  std::optional<Looks> looks_;
};

class DataFolder {
 public:
  // `folder` (UTF-8) with its trailing separator; `now` gives the local time,
  // by which copies are named and let go.
  DataFolder(std::string folder, std::function<DateTime()> now);
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;
  ~DataFolder();

  const std::string& Folder() const { return folder_; }
  // The file of that name in the folder: the same object for the whole run,
  // so every window that reads or saves it shares what Pendra knows of it.
  DataFile& File(const std::string& name);

 private:
  friend class DataFile;

  struct Kept {
    std::optional<std::string> copy;       // its path
    std::optional<std::string> versions;   // the folder it went to, when it went there
    bool folderFailed = false;             // the folder of versions could not take it
  };
  // A copy of the file as it is now in the folder of versions, or, when
  // `beside`, beside the file where that folder cannot take it.
  Kept KeepCopy(const DataFile& file, CopyKind kind, const DateTime& now, bool beside);
  // After the save or delete the copy was made for: a version is recorded,
  // the copy time remembered, and the folder pruned when due.
  void Settle(const DataFile& file, const Kept& kept, CopyKind kind, const DateTime& now);
  // The notices of a save or delete that kept (or could not keep) a copy.
  std::vector<DataNotice> Notices(const DataFile& file, const Kept& kept, CopyKind kind, bool removed);
  // The folder of versions, with its trailing separator, made when first
  // needed: "Backup", unless a folder Pendra did not make has that name; then
  // "Pendra Backup". None when neither can be had.
  std::optional<std::string> VersionFolder();
  bool IsOurs(const std::string& folder);
  void Prune(const std::string& folder, const DateTime& now);
  DateTime Now() const { return now_(); }
  char Separator() const { return folder_.empty() ? '\\' : folder_.back(); }

  std::string folder_;
  std::function<DateTime()> now_;
  std::map<std::string, std::unique_ptr<DataFile>> files_;
  // When a save of each file last kept a version in this run, by name.
  std::map<std::string, DateTime> lastCopies_;
  // When the folder of versions was last pruned in this run.
  std::optional<DateTime> lastPrune_;
  // Folders named for versions that are someone else's, found so this run.
  std::set<std::string> notOurs_;
  bool troubleSaid_ = false;
};

}  // namespace pendra
