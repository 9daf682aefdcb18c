#include "reminders/reminder_book.h"

#include <algorithm>
#include <utility>

#include "settings/errors.h"

namespace pendra {

bool MoveActs(MoveKind move, int p, int n) {
  if (p < 0 || p >= n) return false;
  switch (move) {
    case MoveKind::Up:
    case MoveKind::ToTop:
      return p > 0;
    case MoveKind::Down:
    case MoveKind::ToBottom:
      return p < n - 1;
  }
  return false;
}

int MoveDestination(MoveKind move, int p, int n) {
  switch (move) {
    case MoveKind::Up: return p - 1;
    case MoveKind::Down: return p + 1;
    case MoveKind::ToTop: return 0;
    case MoveKind::ToBottom: return n - 1;
  }
  return p;
}

std::string UnreadListMessage(const std::string& path) {
  return "Cannot read file " + path +
         ". Its reminders were not loaded, and the file will not be overwritten until it can be "
         "read";
}

namespace {

void CheckIndex(const Lines& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) ThrowListIndexError(index);
}

}  // namespace

void ReminderBook::Replace(Kind kind, Lines lines) {
  lists_[Index(kind)] = std::move(lines);
  edits_[Index(kind)].reset();
  loaded_[Index(kind)] = true;
  changed_[Index(kind)] = false;
  Bump(kind);
}

void ReminderBook::Append(Kind kind, std::string entry) {
  // Appending is how an OK ends an edit: the edited entry takes the old one's
  // place in what is saved, so the old one must not be kept as well.
  edits_[Index(kind)].reset();
  lists_[Index(kind)].push_back(std::move(entry));
  Change(kind);
}

void ReminderBook::RemoveAt(Kind kind, int index) {
  Lines& list = lists_[Index(kind)];
  CheckIndex(list, index);
  list.erase(list.begin() + index);
  auto& edit = edits_[Index(kind)];
  if (edit && index < edit->index) --edit->index;
  Change(kind);
}

bool ReminderBook::Move(Kind kind, int index, MoveKind move) {
  Lines& list = lists_[Index(kind)];
  CheckIndex(list, index);
  const int n = static_cast<int>(list.size());
  if (!MoveActs(move, index, n)) return false;
  const int to = MoveDestination(move, index, n);
  std::string row = std::move(list[static_cast<std::size_t>(index)]);
  list.erase(list.begin() + index);
  list.insert(list.begin() + to, std::move(row));
  Change(kind);
  return true;
}

std::string ReminderBook::BeginEdit(Kind kind, int index) {
  Lines& list = lists_[Index(kind)];
  CheckIndex(list, index);
  auto& edit = edits_[Index(kind)];
  int place = index;
  if (edit) {
    // A second edit on the page must not drop the first one's entry: it goes
    // back into the list at its place before the new row is taken out.
    place = index < edit->index ? index : index + 1;
    list = LinesToSave(kind);
    edit.reset();
  }
  std::string entry = list[static_cast<std::size_t>(place)];
  list.erase(list.begin() + place);
  edit = Edit{place, entry};
  Bump(kind);
  return entry;
}

void ReminderBook::EndEdit(Kind kind) {
  auto& edit = edits_[Index(kind)];
  if (!edit) return;
  // The entry taken out leaves what is saved as well.
  edit.reset();
  Change(kind);
}

void ReminderBook::PutBackEdit(Kind kind) {
  if (!edits_[Index(kind)]) return;
  lists_[Index(kind)] = LinesToSave(kind);
  edits_[Index(kind)].reset();
  Bump(kind);
}

Lines ReminderBook::LinesToSave(Kind kind) const {
  Lines lines = lists_[Index(kind)];
  if (const auto& edit = edits_[Index(kind)]) {
    const auto place = std::min(static_cast<std::size_t>(std::max(edit->index, 0)), lines.size());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place), edit->entry);
  }
  return lines;
}

}  // namespace pendra
