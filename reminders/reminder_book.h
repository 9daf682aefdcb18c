#pragma once
// The four reminder lists. The book is the one place the lists change; the
// reminder window's list controls mirror it. Every change bumps the list's
// version so that caches of cut entries know when they are stale.
#include <array>
#include <optional>
#include <string>

#include "reminders/reminder_kinds.h"
#include "settings/list_file.h"

namespace pendra {

enum class MoveKind { Up, Down, ToTop, ToBottom };

// Whether a move of the row at p in a list of n rows acts, and where it goes.
bool MoveActs(MoveKind move, int p, int n);
int MoveDestination(MoveKind move, int p, int n);

class ReminderBook {
 public:
  const Lines& List(Kind kind) const { return lists_[Index(kind)]; }
  unsigned Version(Kind kind) const { return versions_[Index(kind)]; }

  void Replace(Kind kind, Lines lines);  // a load; ends an edit in progress
  // Appending is the OK of the page: it ends an edit in progress, since the
  // appended entry stands for the one taken out.
  void Append(Kind kind, std::string entry);
  void RemoveAt(Kind kind, int index);          // ThrowListIndexError when out of range
  bool Move(Kind kind, int index, MoveKind move);  // false when it does not act

  // Edit: the row is taken out of the shown list but stays in what is saved,
  // at its place, until the edit ends (OK appends, Cancel reloads).
  std::string BeginEdit(Kind kind, int index);
  void EndEdit(Kind kind);
  bool EditInProgress(Kind kind) const { return edits_[Index(kind)].has_value(); }
  // The lines a save of this list writes: the shown list, with an entry taken
  // out by an edit in progress kept at its place.
  Lines LinesToSave(Kind kind) const;

 private:
  struct Edit {
    int index;
    std::string entry;
  };
  void Bump(Kind kind) { ++versions_[Index(kind)]; }
  std::array<Lines, 4> lists_;
  std::array<unsigned, 4> versions_{};
  std::array<std::optional<Edit>, 4> edits_;
};

}  // namespace pendra
