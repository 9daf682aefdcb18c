#include "reminders/entry_index.h"

#include <algorithm>
#include <string_view>

#include "reminders/entry.h"

namespace pendra {

EntryIndex::EntryIndex(Kind kind, const TextReader& reader, const Lines& list)
    : kind_(kind), reader_(reader) {
  items_.reserve(list.size());
  for (const auto& line : list) items_.push_back(Cut(line));
  // Rows join their groups in list order, so each group is in list order.
  for (std::size_t row = 0; row < items_.size(); ++row) {
    if (items_[row].cut) rowsByTime_[items_[row].clockText].push_back(static_cast<int>(row));
  }
}

EntryIndex::Item EntryIndex::Cut(const std::string& line) const {
  Item item;
  const auto fields = CutEntry(line);
  if (!fields) return item;
  item.cut = true;
  item.scheduleBegin = static_cast<std::size_t>(fields->schedule.data() - line.data());
  item.scheduleLength = fields->schedule.size();
  item.messageBegin = static_cast<std::size_t>(fields->message.data() - line.data());
  if (kind_ == Kind::OneTime || kind_ == Kind::Daily) {
    item.date = reader_.ReadDate(fields->schedule);
  }
  const auto time = reader_.ReadTime(fields->time);
  item.time = time;
  item.clockText = time ? FormatTimeText(reader_.Current(), *time) : std::string(fields->time);
  return item;
}

const std::vector<int>* EntryIndex::RowsAt(const std::string& clockText) const {
  const auto rows = rowsByTime_.find(clockText);
  return rows == rowsByTime_.end() ? nullptr : &rows->second;
}

void EntryIndex::Join(int row) {
  const Item& item = items_[static_cast<std::size_t>(row)];
  if (!item.cut) return;
  auto& rows = rowsByTime_[item.clockText];
  rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void EntryIndex::Leave(int row) {
  const Item& item = items_[static_cast<std::size_t>(row)];
  if (!item.cut) return;
  const auto group = rowsByTime_.find(item.clockText);
  if (group == rowsByTime_.end()) return;
  auto& rows = group->second;
  rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
  if (rows.empty()) rowsByTime_.erase(group);
}

void EntryIndex::Shift(int first, int last, int delta) {
  if (first > last) return;
  // Every row in the range moves alike, so each group keeps its order.
  for (auto& [text, rows] : rowsByTime_) {
    for (int& row : rows) {
      if (row >= first && row <= last) row += delta;
    }
  }
}

void EntryIndex::Apply(const ListChange& change) {
  const int at = change.at;
  const int end = static_cast<int>(items_.size()) - 1;
  switch (change.op) {
    case ListChange::Op::Insert:
      Shift(at, end, +1);
      items_.insert(items_.begin() + at, Cut(change.text));
      Join(at);
      break;
    case ListChange::Op::Erase:
      Leave(at);
      items_.erase(items_.begin() + at);
      Shift(at + 1, end, -1);
      break;
    case ListChange::Op::Move: {
      const int to = change.to;
      if (to == at) break;
      Leave(at);
      if (to > at) {
        Shift(at + 1, to, -1);
        std::rotate(items_.begin() + at, items_.begin() + at + 1, items_.begin() + to + 1);
      } else {
        Shift(to, at - 1, +1);
        std::rotate(items_.begin() + to, items_.begin() + at, items_.begin() + at + 1);
      }
      Join(to);
      break;
    }
  }
}

bool EntryIndex::operator==(const EntryIndex& other) const {
  return kind_ == other.kind_ && reader_ == other.reader_ && items_ == other.items_ &&
         rowsByTime_ == other.rowsByTime_;
}

}  // namespace pendra
