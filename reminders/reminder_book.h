#pragma once
// The four reminder lists. The book is the one place the lists change; the
// reminder window's list controls mirror it. Every change of a shown list
// bumps its version and is kept in a short log, so that the list controls and
// the scheduler's cache of cut entries can follow the change row by row
// instead of reading the whole list again.
//
// The book also knows, per list, whether it was read from its file and whether
// it has changed since it was read or last written. A list not read is never
// written: its file may hold reminders the program could not see.
#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "reminders/reminder_kinds.h"
#include "settings/list_file.h"

namespace pendra {

enum class MoveKind { Up, Down, ToTop, ToBottom };

// Whether a move of the row at p in a list of n rows acts, and where it goes.
bool MoveActs(MoveKind move, int p, int n);
int MoveDestination(MoveKind move, int p, int n);

// What the user is told when a list file cannot be read.
std::string UnreadListMessage(const std::string& path);

// One change of a shown list: a row put in, taken out or moved.
struct ListChange {
  enum class Op { Insert, Erase, Move };
  Op op = Op::Insert;
  int at = 0;        // Insert: the new row's place; Erase: the row's; Move: where it was
  int to = 0;        // Move: where it went
  std::string text;  // Insert: the row
  bool operator==(const ListChange&) const = default;
};
using ListChanges = std::vector<ListChange>;

// Makes the same change to a copy of the list.
void ApplyChange(Lines& lines, const ListChange& change);

class ReminderBook {
 public:
  const Lines& List(Kind kind) const { return lists_[Index(kind)]; }
  unsigned Version(Kind kind) const { return versions_[Index(kind)]; }
  // The changes that lead from that version of the shown list to the present
  // one, in order; nullopt when they are no longer known (the list was loaded
  // anew, or much has changed since): then the whole list is to be read.
  std::optional<ListChanges> ChangesSince(Kind kind, unsigned version) const;

  // A load from the file: the list is read and in step with its file. Ends an
  // edit in progress. Rows the file has as before stay as they are, so a load
  // that brings back one row is a change of one row.
  void Replace(Kind kind, Lines lines);
  // Appending is the OK of the page: it ends an edit in progress, since the
  // appended entry stands for the one taken out.
  void Append(Kind kind, std::string entry);
  void RemoveAt(Kind kind, int index);          // ThrowListIndexError when out of range
  bool Move(Kind kind, int index, MoveKind move);  // false when it does not act
  // Writes every entry anew (its texts in other formats): the shown list and
  // an entry taken out by an edit in progress. False when nothing changed.
  bool Rewrite(Kind kind, const std::function<std::string(const std::string&)>& anew);

  // Edit: the row is taken out of the shown list but stays in what is saved,
  // at its place, until the edit ends (OK appends, Cancel reloads).
  std::string BeginEdit(Kind kind, int index);
  void EndEdit(Kind kind);
  // Ends an edit by putting its entry back at its place; what a save writes
  // stays as it was.
  void PutBackEdit(Kind kind);
  bool EditInProgress(Kind kind) const { return edits_[Index(kind)].has_value(); }
  // The lines a save of this list writes: the shown list, with an entry taken
  // out by an edit in progress kept at its place.
  Lines LinesToSave(Kind kind) const;

  // False until the list's file has been read (a missing file reads as empty).
  bool Loaded(Kind kind) const { return loaded_[Index(kind)]; }
  bool AllLoaded() const { return loaded_[0] && loaded_[1] && loaded_[2] && loaded_[3]; }
  // What a save writes differs from the file as last read or written.
  bool Changed(Kind kind) const { return changed_[Index(kind)]; }
  // The list was written: in step with its file again.
  void MarkSaved(Kind kind) { changed_[Index(kind)] = false; }

 private:
  struct Edit {
    int index;
    std::string entry;
  };
  // changes[i] led from version `from + i` to the next one.
  struct Log {
    unsigned from = 0;
    std::deque<ListChange> changes;
  };
  // Makes a change of the shown list, bumps its version and logs the change.
  void Record(Kind kind, ListChange change);
  // The list was loaded anew: it is read again as a whole.
  void Reset(Kind kind, Lines lines);
  std::array<Lines, 4> lists_;
  std::array<unsigned, 4> versions_{};
  std::array<Log, 4> logs_;
  std::array<bool, 4> loaded_{};
  std::array<bool, 4> changed_{};
  std::array<std::optional<Edit>, 4> edits_;
};

}  // namespace pendra
