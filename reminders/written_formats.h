#pragma once
// The formats the reminder lists were written with. Entries keep their time
// text and date text as written, so after the user changes the time or date
// format a field may read another way under the formats in force (12/8 is
// 8 December as M/d and 12 August as d/M). The program remembers, beside the
// date of the last close, the formats it wrote with, newest first, and which
// of them each list and the date were last written with: a field is read the
// way it was written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/reminder_kinds.h"
#include "settings/datetime.h"

namespace pendra {

// What a time text and a date text were written with.
struct WrittenFormats {
  std::string shortDate, longTime, am, pm;
  static WrittenFormats Of(const LocaleFormats& f);
  bool operator==(const WrittenFormats&) const = default;
};

// The registry value, under the reminder engine's key.
inline constexpr const char* kFormatsSection = "Last Boot";
inline constexpr const char* kFormatsIdent = "Formats";
inline constexpr std::size_t kMostFormatsRemembered = 8;

// The sets once `newest` was written with: it first, then the earlier ones,
// without repeats, at most kMostFormatsRemembered. A set that could not read
// back what it writes, or that the value cannot hold, is left out.
std::vector<WrittenFormats> PutFirst(const WrittenFormats& newest,
                                     const std::vector<WrittenFormats>& before);
// The stored value: sets newest first, separated by ";", their four fields by
// "|". What does not read as a set PutFirst would keep is left out, so a
// spoilt value reads as none.
std::string FormatsValue(const std::vector<WrittenFormats>& sets);
std::vector<WrittenFormats> ParseFormatsValue(std::string_view value);

// Reads time text and date text by the formats it was written with, when
// known, then by the current formats, then by each remembered set in turn
// (newest first). Where the formats it was written with are not known (lists
// copied from elsewhere) and two sets would read a text (3/4 as d/M and as
// M/d), the current formats win.
class TextReader {
 public:
  TextReader(const LocaleFormats& current);  // NOLINT: the current formats alone
  TextReader(const LocaleFormats& current, const std::vector<WrittenFormats>& remembered,
             const std::optional<WrittenFormats>& writtenWith = std::nullopt);

  // The formats in force, which the clock's texts are written with.
  const LocaleFormats& Current() const { return current_; }
  std::optional<TimeOfDay> ReadTime(std::string_view text) const;
  std::optional<Date> ReadDate(std::string_view text) const;
  bool operator==(const TextReader&) const = default;

 private:
  LocaleFormats current_;
  std::vector<LocaleFormats> formats_;  // in the order they are tried
};

// What was stored with which formats: the four lists (by Index(kind)) and
// the date of the last close.
inline constexpr std::size_t kLastBootSlot = 4;
inline constexpr std::size_t kStoredSlots = 5;

// The formats remembered and what each slot was written with, stored as one
// value: the sets newest first as FormatsValue writes them, then one part
// "written=" with the place among them of the set each slot was last written
// with ("written=0,0,1,0,0"; an empty place: not known), then one part
// "content=" with the content hash (16 hexadecimal digits) of the list file
// each list slot's formats hold for. A reader of the sets alone passes those
// parts over.
class StoredFormats {
 public:
  // From the stored value (empty: none). What does not read counts as none.
  // Without the "written=" part, the slots were written with the newest set,
  // which every write put first; without sets, nothing is known. Without a
  // "content=" part (a value of an earlier version, or a spoilt one), each
  // list's formats hold for the file as it is first read (Held).
  void Load(std::string_view value);
  // Pendra holds a list slot's file as having this content hash, read or
  // written. Formats recorded for another content are not known any more: the
  // file is not what Pendra wrote, and is read as a copied list is.
  void Held(std::size_t slot, std::uint64_t content);
  // The formats in force now. When they differ from those of the last call,
  // the earlier ones are remembered, and a slot whose formats were not known
  // takes them: this run read it with them.
  void Follow(const WrittenFormats& now);
  // A slot was written whole with `now` (a list: as bytes of that content
  // hash). A slot whose formats were not known is taken to be in the formats
  // in force: this run read it with them.
  void Wrote(std::size_t slot, const WrittenFormats& now,
             std::optional<std::uint64_t> content = std::nullopt);

  TextReader Reader(std::size_t slot, const LocaleFormats& current) const;
  const std::optional<WrittenFormats>& WrittenWith(std::size_t slot) const { return written_[slot]; }
  const std::vector<WrittenFormats>& Remembered() const { return remembered_; }
  std::string Value() const;
  bool operator==(const StoredFormats&) const = default;
  // The same readers for every slot, whatever the contents.
  bool ReadsAlike(const StoredFormats& other) const {
    return remembered_ == other.remembered_ && written_ == other.written_;
  }

 private:
  std::vector<WrittenFormats> remembered_;  // newest first
  std::array<std::optional<WrittenFormats>, kStoredSlots> written_;
  std::array<std::optional<std::uint64_t>, kStoredSlots> content_;  // none: not known
  std::optional<WrittenFormats> inForce_;
};

// An entry written anew with the current formats: its time field, and the
// date of a one-time or daily entry, as `reader` reads them. A field that
// does not read stays as it is.
std::string EntryInFormats(Kind kind, const std::string& entry, const TextReader& reader);

}  // namespace pendra
