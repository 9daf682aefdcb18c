#pragma once
// The formats the reminder lists were written with. Entries keep their time
// text and date text as written, so after the user changes the time or date
// format (or copies the lists from another machine) a field may no longer
// read under the formats in force. The program remembers, beside the date of
// the last close, the formats its lists were written with, and reads a field
// by the current formats first and by the remembered ones next.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Reads time text and date text by the current formats first, then by each
// remembered set in turn (newest first). Where both would read a text (3/4 as
// d/M and as M/d), the current formats win: they are how the list shows the
// text to the user and how Edit puts it into the pickers.
class TextReader {
 public:
  TextReader(const LocaleFormats& current);  // NOLINT: the current formats alone
  TextReader(const LocaleFormats& current, const std::vector<WrittenFormats>& remembered);

  const LocaleFormats& Current() const { return formats_.front(); }
  std::optional<TimeOfDay> ReadTime(std::string_view text) const;
  std::optional<Date> ReadDate(std::string_view text) const;
  bool operator==(const TextReader&) const = default;

 private:
  std::vector<LocaleFormats> formats_;  // the current ones first
};

}  // namespace pendra
