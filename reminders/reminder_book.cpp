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

// How many changes each list keeps for those who follow it, and by how many
// rows a load may differ from the list and still be taken as row changes.
constexpr std::size_t kLogLength = 64;
constexpr std::size_t kMostRowsFollowed = 32;

void CheckIndex(const Lines& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) ThrowListIndexError(index);
}

}  // namespace

void ApplyChange(Lines& lines, const ListChange& change) {
  const auto at = lines.begin() + change.at;
  switch (change.op) {
    case ListChange::Op::Insert:
      lines.insert(at, change.text);
      break;
    case ListChange::Op::Erase:
      lines.erase(at);
      break;
    case ListChange::Op::Move:
      if (change.to > change.at) {
        std::rotate(at, at + 1, lines.begin() + change.to + 1);
      } else if (change.to < change.at) {
        std::rotate(lines.begin() + change.to, at, at + 1);
      }
      break;
  }
}

void ReminderBook::Record(Kind kind, ListChange change) {
  const auto i = Index(kind);
  ApplyChange(lists_[i], change);
  Log& log = logs_[i];
  log.changes.push_back(std::move(change));
  if (log.changes.size() > kLogLength) {
    log.changes.pop_front();
    ++log.from;
  }
  ++versions_[i];
}

void ReminderBook::Reset(Kind kind, Lines lines) {
  const auto i = Index(kind);
  lists_[i] = std::move(lines);
  ++versions_[i];
  logs_[i].changes.clear();
  logs_[i].from = versions_[i];
}

std::optional<ListChanges> ReminderBook::ChangesSince(Kind kind, unsigned version) const {
  const Log& log = logs_[Index(kind)];
  if (version < log.from || version > Version(kind)) return std::nullopt;
  return ListChanges(log.changes.begin() + (version - log.from), log.changes.end());
}

void ReminderBook::Replace(Kind kind, Lines lines) {
  // What lies between the rows the file and the list share at their two ends
  // is what the load changes.
  const Lines& list = lists_[Index(kind)];
  std::size_t head = 0;
  while (head < list.size() && head < lines.size() && list[head] == lines[head]) ++head;
  std::size_t tail = 0;
  while (tail < list.size() - head && tail < lines.size() - head &&
         list[list.size() - 1 - tail] == lines[lines.size() - 1 - tail])
    ++tail;
  const std::size_t erased = list.size() - head - tail;
  const std::size_t inserted = lines.size() - head - tail;
  const int at = static_cast<int>(head);
  if (erased + inserted <= kMostRowsFollowed) {
    for (std::size_t k = 0; k < erased; ++k) Record(kind, {ListChange::Op::Erase, at, 0, {}});
    for (std::size_t k = 0; k < inserted; ++k)
      Record(kind,
             {ListChange::Op::Insert, at + static_cast<int>(k), 0, std::move(lines[head + k])});
  } else {
    Reset(kind, std::move(lines));
  }
  edits_[Index(kind)].reset();
  loaded_[Index(kind)] = true;
  changed_[Index(kind)] = false;
}

void ReminderBook::Append(Kind kind, std::string entry) {
  // Appending is how an OK ends an edit: the edited entry takes the old one's
  // place in what is saved, so the old one must not be kept as well.
  edits_[Index(kind)].reset();
  const int end = static_cast<int>(lists_[Index(kind)].size());
  Record(kind, {ListChange::Op::Insert, end, 0, std::move(entry)});
  changed_[Index(kind)] = true;
}

void ReminderBook::RemoveAt(Kind kind, int index) {
  CheckIndex(lists_[Index(kind)], index);
  Record(kind, {ListChange::Op::Erase, index, 0, {}});
  auto& edit = edits_[Index(kind)];
  if (edit && index < edit->index) --edit->index;
  changed_[Index(kind)] = true;
}

bool ReminderBook::Rewrite(Kind kind, const std::function<std::string(const std::string&)>& anew) {
  const auto i = Index(kind);
  Lines lines = lists_[i];
  for (std::string& line : lines) line = anew(line);
  bool changed = lines != lists_[i];
  if (changed) Reset(kind, std::move(lines));
  if (auto& edit = edits_[i]) {
    std::string entry = anew(edit->entry);
    changed = changed || entry != edit->entry;
    edit->entry = std::move(entry);
  }
  if (changed) changed_[i] = true;
  return changed;
}

bool ReminderBook::Move(Kind kind, int index, MoveKind move) {
  const Lines& list = lists_[Index(kind)];
  CheckIndex(list, index);
  const int n = static_cast<int>(list.size());
  if (!MoveActs(move, index, n)) return false;
  Record(kind, {ListChange::Op::Move, index, MoveDestination(move, index, n), {}});
  changed_[Index(kind)] = true;
  return true;
}

std::string ReminderBook::BeginEdit(Kind kind, int index) {
  CheckIndex(lists_[Index(kind)], index);
  auto& edit = edits_[Index(kind)];
  int place = index;
  if (edit) {
    // A second edit on the page must not drop the first one's entry: it goes
    // back into the list at its place before the new row is taken out.
    place = index < edit->index ? index : index + 1;
    PutBackEdit(kind);
  }
  std::string entry = lists_[Index(kind)][static_cast<std::size_t>(place)];
  Record(kind, {ListChange::Op::Erase, place, 0, {}});
  edit = Edit{place, entry};
  return entry;
}

void ReminderBook::EndEdit(Kind kind) {
  auto& edit = edits_[Index(kind)];
  if (!edit) return;
  // The entry taken out leaves what is saved as well; the shown list stays.
  edit.reset();
  changed_[Index(kind)] = true;
}

void ReminderBook::PutBackEdit(Kind kind) {
  auto& edit = edits_[Index(kind)];
  if (!edit) return;
  const int size = static_cast<int>(lists_[Index(kind)].size());
  const int place = std::clamp(edit->index, 0, size);
  std::string entry = std::move(edit->entry);
  edit.reset();
  Record(kind, {ListChange::Op::Insert, place, 0, std::move(entry)});
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
