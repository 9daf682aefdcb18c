#pragma once
// The four reminder lists: the book that holds them, their files, the list
// controls that show them, and the formats their time and date texts were
// written with. A list whose file cannot be read stays unread, is never
// written, and is tried again quietly. A list another program changed is read
// again, once the file is whole, when Pendra holds no change of its own, and
// kept beside Pendra's version in Backup when it does.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reminders/reminder_book.h"
#include "reminders/reminder_page_win.h"
#include "reminders/scheduler.h"
#include "reminders/written_formats.h"
#include "settings/data_folder.h"
#include "settings/datetime.h"

namespace pendra {

class ReminderPages;

class ReminderLists {
 public:
  explicit ReminderLists(ReminderPages& pages);

  ReminderBook& Book() { return book_; }
  const ReminderBook& Book() const { return book_; }
  const std::string& ListFilePath(Kind kind) const { return files_[static_cast<size_t>(Index(kind))]->Path(); }

  // Told when a list is read without another version before it (at creation,
  // or after it could not be read: the start-up catch-up it missed), when one
  // is read again after another program changed it (with the entries it held
  // before, and when its file was last known unchanged), when the remembered
  // formats change, and when a changed file is to be looked at again that
  // many milliseconds later (LookAtChangedLists).
  std::function<void(Kind)> onLateRead;
  std::function<void(Kind, const Lines&, const std::optional<DateTime>&)> onReread;
  std::function<void(const StoredFormats&)> onFormatsStored;
  std::function<void(unsigned)> onLookLater;
  // A moment; and the pause between looks at a file written for longer (a
  // sync tool holding it), so that such a file costs next to nothing.
  static constexpr unsigned kLookAgainMs = 500, kLookSlowlyMs = 5000;
  static constexpr int kQuickLooks = 20;

  // Reads the four lists when the window is created, reporting each that
  // cannot be read.
  void LoadAtCreation(const DateTime& now);
  // Refills the page's list control from the book (no row selected afterwards).
  void RefreshList(Kind kind);
  // Writes the book's list to the kind's file; an unread list is never written.
  // A file another program changed while the list holds no change of its own
  // is read instead.
  void SaveList(Kind kind);
  // Before the user changes a list written with formats no longer in force,
  // it is written whole in the current ones, so its file never mixes two.
  void PrepareChange(Kind kind);
  // Remove All: deletes the kind's list file, keeping what it held as a
  // copy, then loads the list (empty, or as the file stayed). False when
  // the file stayed.
  bool RemoveListFile(Kind kind);
  // Loads the kind's list file into the book and the list control; what
  // another program wrote since is taken as a look finds it.
  void LoadList(Kind kind);
  // Reads a list file into the book; false, with the list left as it was,
  // when the file cannot be read.
  bool TryLoadList(Kind kind);
  // Before a command changes a list whose file could not be read, the file is
  // tried again; the command ends with an error when it still cannot be read.
  void RequireLoaded(Kind kind);
  // Lists whose file could not be read are tried again, quietly: when the
  // window is shown and once a minute from the clock ticks.
  void RetryUnreadLists();
  void RetryUnreadListsEachMinute(const DateTime& now);
  // Lists whose file another program changed are read again, unless they hold
  // a change of their own (an edit in progress too), once the file is whole:
  // its size and time the same at two looks in a row, a look apart, and no
  // program holding it open for writing. A file emptied where the list has
  // rows waits longer (DataFile::AtRest), since a program rewriting a file in
  // place empties it first. Each look is one look at each file's size and
  // time; unread lists are left to the retries. Looked at when the window is
  // shown, and a moment after the program folder changed.
  void LookAtChangedLists();
  // The program folder changed, after `since` at the earliest: a list file
  // found changed at the next look is known unchanged until then. No file is
  // touched here.
  void FolderChanged(const DateTime& since);
  // Remove All is enabled exactly when the list has rows.
  void EnableRemoveAll(Kind kind);
  bool RemoveAllEnabled(Kind kind) const { return clearAllEnabled_[static_cast<size_t>(Index(kind))]; }

  // Reads a list's time and date texts by the formats it was written with
  // first; the readers of every list and of the date of the last close.
  TextReader Reader(Kind kind);
  StoredReaders Readers();
  // The formats the lists were written with: read quietly at creation (a
  // value that does not read counts as none), and recorded whenever a list
  // or the date of the last close (kLastBootSlot) is written.
  void ReadStoredFormats();
  void RememberFormats(size_t slot);
  // When the user changed the formats while the program runs, the ones in
  // force until then are read next, and remembered at the next write: this
  // run's lists were read and written with them. Costs a comparison otherwise.
  void FollowFormats();

 private:
  DataFile& File(Kind kind) { return *files_[static_cast<size_t>(Index(kind))]; }
  // Reads the file of a list another program changed; false when it cannot
  // be read now, the list left as it is, to be read at the next look.
  bool Reread(Kind kind);
  // Reads a list file (failing as DataFile does): it is known unchanged now,
  // and its formats hold only when it is what they were recorded for.
  Lines ReadFile(Kind kind);
  // A list file's lines, or nothing when it cannot be read now.
  std::optional<Lines> ReadIfReadable(Kind kind);
  // Takes another program's version of a list, read after the file was last
  // known unchanged (`since`): what it brings is caught up.
  void TakeTheirs(Kind kind, Lines lines, const std::optional<DateTime>& since);
  // Whether a changed list file is whole by this look (LookAtChangedLists).
  // The list file was read, written or found unchanged at `now`.
  void Looked(Kind kind, const DateTime& now);
  // When the list file was last known to hold what Pendra held.
  std::optional<DateTime> LastChecked(Kind kind) const;
  // Stores the remembered formats when they differ from the stored value.
  void StoreFormats();

  ReminderPages& pages_;
  ReminderBook book_;
  std::array<DataFile*, 4> files_;
  // The version of the book's list that each list control shows; none: the
  // control has not been filled.
  std::array<std::optional<unsigned>, 4> shownVersions_;
  // Remove All as the creation steps left it (enabled by design), for the
  // buttons built later.
  std::array<bool, 4> clearAllEnabled_{true, true, true, true};

  // When each list file was last read, written or found unchanged, and the
  // first change of the folder noticed since.
  std::array<std::optional<DateTime>, 4> checkedAt_;
  std::array<std::optional<DateTime>, 4> noticedAt_;
  int looksWaiting_ = 0;  // looks in a row that found a file not whole

  // The minute in which unread lists were last tried.
  Date retryDate_{};
  int retryMinute_ = -1;

  // The formats remembered, and the stored value they came from.
  StoredFormats stored_;
  std::string storedValue_;
  unsigned formatsGeneration_ = 0;
};

}  // namespace pendra
