#pragma once
// The entries of one reminder list cut and converted for the scheduler's
// checks, with the rows grouped by the clock text of their time, so that a
// second's check looks at the few rows whose time matches instead of at every
// row. It follows the list's changes row by row: after a move, a removal or an
// added entry only that row is cut again.
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "reminders/reminder_book.h"
#include "reminders/written_formats.h"
#include "settings/datetime.h"

namespace pendra {

class EntryIndex {
 public:
  struct Item {
    bool cut = false;  // false: a line that does not cut; it is in no group
    // Offsets into the row's text.
    std::size_t scheduleBegin = 0, scheduleLength = 0, messageBegin = 0;
    std::optional<Date> date;       // one-time and daily: the converted schedule
    std::optional<TimeOfDay> time;  // the converted time field
    // The time of day the field reads as, written as the clock writes it, so
    // an entry stored under another time format still meets its time; a field
    // that reads as no time is its own text.
    std::string clockText;
    bool operator==(const Item&) const = default;
  };

  // Fields are read by the reader's formats; the clock texts are written with
  // its current ones.
  EntryIndex(Kind kind, const TextReader& reader, const Lines& list);

  // Follows one change of the list (as ReminderBook::ChangesSince gives it).
  void Apply(const ListChange& change);

  bool MadeWith(const LocaleFormats& formats) const { return reader_.Current() == formats; }
  std::size_t Size() const { return items_.size(); }
  const Item& At(std::size_t row) const { return items_[row]; }
  // The rows whose time the clock writes as this text, in list order; null: none.
  const std::vector<int>* RowsAt(const std::string& clockText) const;

  // The same rows, cut alike and grouped alike.
  bool operator==(const EntryIndex& other) const;

 private:
  Item Cut(const std::string& line) const;
  void Join(int row);   // puts the row into its group
  void Leave(int row);  // takes it out
  // Adds delta to every grouped row from first to last.
  void Shift(int first, int last, int delta);

  Kind kind_;
  TextReader reader_;
  std::vector<Item> items_;
  std::unordered_map<std::string, std::vector<int>> rowsByTime_;
};

}  // namespace pendra
