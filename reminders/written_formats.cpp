#include "reminders/written_formats.h"

#include <algorithm>

namespace pendra {

namespace {

constexpr char kSetSeparator = ';';
constexpr char kFieldSeparator = '|';
// The system's pictures and designators are at most 80 characters; a value
// far longer than eight such sets was not written by the program.
constexpr std::size_t kLongestField = 80;
constexpr std::size_t kLongestValue = 4096;

LocaleFormats With(LocaleFormats f, const WrittenFormats& w) {
  f.shortDate = w.shortDate;
  f.longTime = w.longTime;
  f.am = w.am;
  f.pm = w.pm;
  return f;
}

bool Storable(std::string_view field) {
  return field.size() <= kLongestField &&
         field.find_first_of(std::string{kSetSeparator, kFieldSeparator, '\0'}) == std::string_view::npos;
}

// A set is kept only when it reads back a date and a time it wrote: that
// leaves out pictures that are garbage, or that no text could be read by.
bool Usable(const WrittenFormats& w) {
  if (!Storable(w.shortDate) || !Storable(w.longTime) || !Storable(w.am) || !Storable(w.pm))
    return false;
  const LocaleFormats f = With(LocaleFormats{}, w);
  constexpr Date kDay{2031, 11, 25};
  constexpr TimeOfDay kTime{9, 45, 30};
  const auto date = ParseDateText(f, FormatDateText(f, kDay));
  const auto time = ParseTimeText(f, FormatTimeText(f, kTime));
  return date == kDay && time && time->hour == kTime.hour && time->minute == kTime.minute;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = text.find(separator, begin);
    parts.push_back(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    if (end == std::string_view::npos) return parts;
    begin = end + 1;
  }
}

void AddIfNew(std::vector<WrittenFormats>& sets, const WrittenFormats& w) {
  if (sets.size() < kMostFormatsRemembered && std::find(sets.begin(), sets.end(), w) == sets.end())
    sets.push_back(w);
}

}  // namespace

WrittenFormats WrittenFormats::Of(const LocaleFormats& f) {
  return WrittenFormats{f.shortDate, f.longTime, f.am, f.pm};
}

std::vector<WrittenFormats> ParseFormatsValue(std::string_view value) {
  std::vector<WrittenFormats> sets;
  if (value.size() > kLongestValue) return sets;
  for (std::string_view set : Split(value, kSetSeparator)) {
    const auto fields = Split(set, kFieldSeparator);
    if (fields.size() != 4) continue;
    WrittenFormats w{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                     std::string(fields[3])};
    if (Usable(w)) AddIfNew(sets, w);
  }
  return sets;
}

std::vector<WrittenFormats> PutFirst(const WrittenFormats& newest,
                                     const std::vector<WrittenFormats>& before) {
  std::vector<WrittenFormats> sets;
  if (Usable(newest)) AddIfNew(sets, newest);
  for (const WrittenFormats& w : before)
    if (Usable(w)) AddIfNew(sets, w);
  return sets;
}

std::string FormatsValue(const std::vector<WrittenFormats>& sets) {
  std::string value;
  for (const WrittenFormats& w : sets) {
    if (!value.empty()) value += kSetSeparator;
    value.append(w.shortDate).append(1, kFieldSeparator).append(w.longTime);
    value.append(1, kFieldSeparator).append(w.am).append(1, kFieldSeparator).append(w.pm);
  }
  return value;
}

TextReader::TextReader(const LocaleFormats& current) : formats_{current} {}

TextReader::TextReader(const LocaleFormats& current, const std::vector<WrittenFormats>& remembered)
    : formats_{current} {
  for (const WrittenFormats& w : remembered) {
    LocaleFormats f = With(current, w);
    if (std::find(formats_.begin(), formats_.end(), f) == formats_.end())
      formats_.push_back(std::move(f));
  }
}

std::optional<TimeOfDay> TextReader::ReadTime(std::string_view text) const {
  for (const LocaleFormats& f : formats_)
    if (auto time = ParseTimeText(f, text)) return time;
  return std::nullopt;
}

std::optional<Date> TextReader::ReadDate(std::string_view text) const {
  for (const LocaleFormats& f : formats_)
    if (auto date = ParseDateText(f, text)) return date;
  return std::nullopt;
}

}  // namespace pendra
