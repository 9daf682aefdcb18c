#include "reminders/written_formats.h"

#include <algorithm>
#include <charconv>

#include "reminders/entry.h"

namespace pendra {

namespace {

constexpr char kSetSeparator = ';';
constexpr char kFieldSeparator = '|';
constexpr std::string_view kWrittenPart = "written=";
constexpr std::string_view kContentPart = "content=";
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

namespace {

// The places of a part ("written=0,1,,0,0") of the stored value: one per
// slot, or none when the part is not there or has another number of places.
std::optional<std::vector<std::string_view>> PartPlaces(std::string_view value, std::string_view part) {
  const std::size_t at = value.rfind(part);
  if (at == std::string_view::npos || (at > 0 && value[at - 1] != kSetSeparator)) return std::nullopt;
  std::string_view places = value.substr(at + part.size());
  places = places.substr(0, places.find(kSetSeparator));
  auto split = Split(places, ',');
  if (split.size() != kStoredSlots) return std::nullopt;
  return split;
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text, int base) {
  Number number{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number, base);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return number;
}

}  // namespace

void StoredFormats::Load(std::string_view value) {
  remembered_ = ParseFormatsValue(value);
  written_ = {};
  content_ = {};
  if (remembered_.empty()) return;
  if (const auto places = PartPlaces(value, kContentPart)) {
    std::array<std::optional<std::uint64_t>, kStoredSlots> content;
    bool spoilt = false;
    for (std::size_t slot = 0; slot < kStoredSlots && !spoilt; ++slot) {
      if ((*places)[slot].empty()) continue;
      content[slot] = ReadNumber<std::uint64_t>((*places)[slot], 16);
      spoilt = !content[slot] || (*places)[slot].size() != 16;
    }
    if (!spoilt) content_ = content;
  }
  written_.fill(remembered_.front());
  const auto places = PartPlaces(value, kWrittenPart);
  if (!places) return;
  std::array<std::optional<WrittenFormats>, kStoredSlots> written;
  for (std::size_t slot = 0; slot < kStoredSlots; ++slot) {
    const std::string_view place = (*places)[slot];
    if (place.empty()) continue;
    const auto at = ReadNumber<std::size_t>(place, 10);
    if (!at || *at >= remembered_.size()) return;
    written[slot] = remembered_[*at];
  }
  written_ = written;
}

void StoredFormats::Held(std::size_t slot, std::uint64_t content) {
  if (content_[slot] && *content_[slot] != content) written_[slot].reset();
  content_[slot] = content;
}

void StoredFormats::Follow(const WrittenFormats& now) {
  if (inForce_ && *inForce_ != now) {
    remembered_ = PutFirst(*inForce_, remembered_);
    for (auto& w : written_)
      if (!w) w = *inForce_;
  }
  inForce_ = now;
}

void StoredFormats::Wrote(std::size_t slot, const WrittenFormats& now,
                          std::optional<std::uint64_t> content) {
  if (content) content_[slot] = content;
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
  if (std::none_of(content_.begin(), content_.end(), [](const auto& c) { return c.has_value(); }))
    return value;
  value.append(1, kSetSeparator).append(kContentPart);
  for (std::size_t slot = 0; slot < kStoredSlots; ++slot) {
    if (slot > 0) value += ',';
    if (!content_[slot]) continue;
    char digits[17] = {};
    const auto end = std::to_chars(digits, digits + 16, *content_[slot], 16).ptr;
    value.append(16 - static_cast<std::size_t>(end - digits), '0').append(digits, end);
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
