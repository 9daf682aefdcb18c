#pragma once
// A data file of the program (a list, a page, the note) as the window that
// owns it reads and saves it, in a folder other programs may write too: a
// sync tool, another editor, a second PC. The file is never written over a
// version Pendra has not seen without that version being kept, and the
// version a save replaces is kept in the folder "Backup" beside the data.
#include <optional>
#include <string>

#include "settings/datetime.h"
#include "settings/file_versions.h"
#include "settings/list_file.h"

namespace pendra {

enum class SaveResult {
  Written,             // the file holds Pendra's bytes (written, or held them already)
  ChangedElsewhere,    // another program changed it and Pendra had no change: nothing written
  WrittenKeepingTheirs // both changed: Pendra's written, the other version kept as a copy
};

class DataFile {
 public:
  explicit DataFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // Reads the file whole and remembers what it was; fails as ReadWholeFile
  // does, and remembers nothing then.
  std::string Read();
  // The same as a list; a missing file is an empty list, and counts as read.
  Lines ReadLines();

  // Whether another program has written, replaced or made the file since it
  // was last read or written here. One look at its size and time, and a
  // read only when they cannot tell. A deleted file is no change: Pendra
  // writes what it holds as a new file. A file found unchanged after all
  // (rewritten with the same bytes) is taken as read again.
  bool ChangedOnDisk();
  // Whether these bytes (lines) differ from what was last read or written.
  bool Edited(std::string_view bytes) const { return HashOf(bytes) != content_; }
  bool EditedLines(const Lines& lines) const { return HashOfLines(lines) != content_; }

  // Saves the bytes in place of the file: first a look at what it holds now.
  // - Changed elsewhere while these bytes are what was read: nothing is
  //   written (ChangedElsewhere); the caller reads the file again.
  // - Changed elsewhere, and changed here: the other version is kept as a
  //   copy in Backup (beside the file, where Backup cannot take it), then
  //   these bytes are written, and a box captioned "Pendra" names the copy.
  // - Otherwise the version replaced is kept in Backup when one is due
  //   (CopyDue, counted per path for the whole run, whichever DataFile
  //   saved it), and the folder is pruned then.
  // A Backup folder that cannot be written never stops the save: it is said
  // once per run, after a save that succeeded. A file there that cannot be
  // read, or a failed write, fails with "Cannot create file <path>" and
  // changes nothing.
  SaveResult Write(const std::string& bytes);
  // The same for a list; an empty list where no file is reads as that list
  // already, so a failure to make the file is no failure.
  SaveResult WriteLines(const Lines& lines);

 private:
  // Reads the file whole and takes its stamp.
  std::string ReadStamped();
  // The file holds bytes of this hash, as Pendra wrote or found them.
  void Remember(std::uint64_t hash);

  std::string path_;
  FileStamp stamp_;
  std::uint64_t content_ = HashOf("");  // what Pendra holds as read or written
};

// The folder "Backup" beside a data file, with its trailing separator.
std::string BackupFolderOf(const std::string& path);

// Whether this run has said that its Backup folder cannot be written; it is
// said once per run.
bool& BackupTroubleSaid();

}  // namespace pendra
