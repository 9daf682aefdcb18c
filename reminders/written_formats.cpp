#include "reminders/written_formats.h"

#include <algorithm>
#include <charconv>

#include "reminders/entry.h"

namespace pendra {

namespace {

constexpr char kSetSeparator = ';';
constexpr char kFieldSeparator = '|';
constexpr std::string_view kWrittenPart = "written=";
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

TextReader::TextReader(const LocaleFormats& current) : current_(current), formats_{current} {}

TextReader::TextReader(const LocaleFormats& current, const std::vector<WrittenFormats>& remembered,
                       const std::optional<WrittenFormats>& writtenWith)
    : current_(current) {
  auto add = [&](LocaleFormats f) {
    if (std::find(formats_.begin(), formats_.end(), f) == formats_.end()) formats_.push_back(std::move(f));
  };
  if (writtenWith) add(With(current, *writtenWith));
  add(current);
  for (const WrittenFormats& w : remembered) add(With(current, w));
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

void StoredFormats::Load(std::string_view value) {
  remembered_ = ParseFormatsValue(value);
  written_ = {};
  if (remembered_.empty()) return;
  written_.fill(remembered_.front());
  const std::size_t part = value.rfind(kWrittenPart);
  if (part == std::string_view::npos || (part > 0 && value[part - 1] != kSetSeparator)) return;
  const auto places = Split(value.substr(part + kWrittenPart.size()), ',');
  if (places.size() != kStoredSlots) return;
  std::array<std::optional<WrittenFormats>, kStoredSlots> written;
  for (std::size_t slot = 0; slot < kStoredSlots; ++slot) {
    const std::string_view place = places[slot];
    if (place.empty()) continue;
    std::size_t at = 0;
    const auto result = std::from_chars(place.data(), place.data() + place.size(), at);
    if (result.ec != std::errc() || result.ptr != place.data() + place.size() || at >= remembered_.size())
      return;
    written[slot] = remembered_[at];
  }
  written_ = written;
}

void StoredFormats::Follow(const WrittenFormats& now) {
  if (inForce_ && *inForce_ != now) {
    remembered_ = PutFirst(*inForce_, remembered_);
    for (auto& w : written_)
      if (!w) w = *inForce_;
  }
  inForce_ = now;
}

void StoredFormats::Wrote(std::size_t slot, const WrittenFormats& now) {
  remembered_ = PutFirst(now, remembered_);
  if (std::find(remembered_.begin(), remembered_.end(), now) == remembered_.end()) {
    written_[slot].reset();
    return;
  }
  written_[slot] = now;
  // What this run read without knowing its formats it read with these.
  for (auto& w : written_)
    if (!w) w = inForce_ ? *inForce_ : now;
}

TextReader StoredFormats::Reader(std::size_t slot, const LocaleFormats& current) const {
  return TextReader(current, remembered_, written_[slot]);
}

std::string StoredFormats::Value() const {
  std::string value = FormatsValue(remembered_);
  if (remembered_.empty()) return value;
  value.append(1, kSetSeparator).append(kWrittenPart);
  for (std::size_t slot = 0; slot < kStoredSlots; ++slot) {
    if (slot > 0) value += ',';
    if (!written_[slot]) continue;
    const auto at = std::find(remembered_.begin(), remembered_.end(), *written_[slot]);
    if (at != remembered_.end()) value += std::to_string(at - remembered_.begin());
  }
  return value;
}

std::string EntryInFormats(Kind kind, const std::string& entry, const TextReader& reader) {
  const auto fields = CutEntry(entry);
  if (!fields) return entry;
  const auto time = reader.ReadTime(fields->time);
  const std::string timeText = time ? FormatTimeText(reader.Current(), *time) : std::string(fields->time);
  std::string schedule(fields->schedule);
  if (kind == Kind::OneTime || kind == Kind::Daily) {
    if (const auto date = reader.ReadDate(fields->schedule)) schedule = FormatDateText(reader.Current(), *date);
  }
  return ComposeEntry(timeText, schedule, fields->message);
}

}  // namespace pendra
