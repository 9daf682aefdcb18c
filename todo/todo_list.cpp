#include "todo/todo_list.h"

#include <utility>

#include "settings/errors.h"

namespace pendra {

std::string ToDoItemLine(std::string_view dateText, std::string_view text) {
  std::string line;
  line.reserve(dateText.size() + text.size() + 10);
  line += ' ';
  line += dateText;
  line.append(9, ' ');
  line += text;
  return line;
}

void ToDoList::Load() {
  // Read before replacing: a file that cannot be read leaves the list as it is.
  items_ = file_.ReadLines();
  read_ = true;
}

void ToDoList::Reload() {
  Load();
  commands_.cancel = false;
}

DataOutcome ToDoList::Save() {
  if (!read_) throw Error(NotReadMessage());
  DataOutcome outcome = file_.WriteLines(items_);
  if (outcome.result == SaveResult::ChangedElsewhere) items_ = file_.ReadLines();
  commands_.save = false;
  commands_.cancel = false;
  return outcome;
}

std::optional<DataOutcome> ToDoList::SaveForClose() {
  if (!read_) return std::nullopt;
  return file_.WriteLines(items_);
}

ToDoList::Refreshed ToDoList::Refresh() {
  if (!read_ || !file_.ChangedOnDisk() || file_.EditedLines(items_)) {
    file_.ForgetLooks();
    return Refreshed::Nothing;
  }
  if (!file_.AtRest(!items_.empty())) return Refreshed::NotYet;
  try {
    Load();
  } catch (const Error&) {
    return Refreshed::Nothing;
  }
  return Refreshed::Read;
}

std::string ToDoList::NotReadMessage() const {
  return Path() + " could not be read, so it is left as it is";
}

std::optional<int> ToDoList::Add(std::string_view dateText, std::string_view text) {
  std::optional<int> added;
  if (!text.empty()) {
    items_.push_back(ToDoItemLine(dateText, text));
    added = static_cast<int>(items_.size()) - 1;
  }
  commands_.save = true;
  commands_.cancel = true;
  return added;
}

bool ToDoList::Acts(ListFocus focus) const {
  return focus.selected && focus.index >= 0 && static_cast<std::size_t>(focus.index) < items_.size();
}

void ToDoList::Changed() {
  commands_.items = false;
  commands_.save = true;
  commands_.cancel = true;
}

std::optional<int> ToDoList::Remove(ListFocus focus) {
  if (!Acts(focus)) return std::nullopt;
  items_.erase(items_.begin() + focus.index);
  Changed();
  return focus.index;
}

std::optional<int> ToDoList::Move(ToDoMove move, ListFocus focus) {
  if (!Acts(focus)) return std::nullopt;
  const int from = focus.index;
  const int last = static_cast<int>(items_.size()) - 1;
  int to = from;
  switch (move) {
    case ToDoMove::Up: to = from - 1; break;
    case ToDoMove::Down: to = from + 1; break;
    case ToDoMove::ToTop: to = 0; break;
    case ToDoMove::ToBottom: to = last; break;
  }
  // The first item cannot go up nor the last down: nothing happens, and the
  // commands stay as they are.
  if (to < 0 || to > last || to == from) return std::nullopt;
  std::string item = std::move(items_[static_cast<std::size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Changed();
  return to;
}

}  // namespace pendra
