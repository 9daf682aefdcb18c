#include "reminders/scheduler.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "reminders/entry.h"

namespace pendra {

namespace {

// Whether the entry falls on today: its date for one-time and daily entries,
// its weekday or day of the month for the others.
bool FallsToday(Kind kind, const EntryIndex::Item& item, const std::string& line,
                const Date& today, const TodayRefs& refs) {
  const std::string_view schedule =
      std::string_view(line).substr(item.scheduleBegin, item.scheduleLength);
  switch (kind) {
    case Kind::OneTime: return item.date && *item.date == today;
    case Kind::Weekly: return schedule == refs.dayStr;
    case Kind::Daily: return item.date && today >= *item.date;
    case Kind::Monthly: return schedule == refs.monthStr;
  }
  return false;
}

}  // namespace

TodayRefs TodayRefs::For(const Date& today) {
  return TodayRefs{kEnglishWeekdayNames[static_cast<std::size_t>(DayOfWeek(today))],
                   std::to_string(today.day)};
}

// Offsets in the index point into the book's lines; the index follows the
// list's changes, and is made anew when the list was loaded whole or the
// formats changed.
struct ReminderScheduler::Cached {
  unsigned version = 0;
  unsigned generation = 0;
  unsigned remembered = 0;
  EntryIndex index;
};

void ReminderScheduler::SetStoredFormats(const StoredFormats& stored) {
  if (stored.ReadsAlike(stored_)) return;
  stored_ = stored;
  ++storedGeneration_;
}

const EntryIndex& ReminderScheduler::CacheFor(Kind kind, const LocaleFormats& formats,
                                              unsigned generation) {
  auto& cached = cache_[static_cast<std::size_t>(Index(kind))];
  const unsigned version = book_.Version(kind);
  const Lines& list = book_.List(kind);
  if (cached && cached->generation == generation && cached->remembered == storedGeneration_ &&
      cached->index.MadeWith(formats)) {
    if (cached->version != version) {
      if (const auto changes = book_.ChangesSince(kind, cached->version)) {
        for (const auto& change : *changes) cached->index.Apply(change);
        cached->version = version;
      }
    }
    if (cached->version == version && cached->index.Size() == list.size()) return cached->index;
  }
  cached = std::make_shared<Cached>(Cached{version, generation, storedGeneration_,
                                           EntryIndex(kind, stored_.Reader(static_cast<std::size_t>(Index(kind)), formats), list)});
  return cached->index;
}

namespace {

DueReminder MakeDue(Kind kind, const std::string& line, std::size_t messageBegin,
                    MessageSpacing spacing, int moment) {
  return DueReminder{kind, line, line.substr(messageBegin), spacing, moment};
}

constexpr int kSecondsPerDay = 86400;

// The message field of an entry; the whole line where it does not cut.
std::string_view MessageOf(std::string_view line) {
  const std::size_t separator = line.find("--");
  return separator == std::string_view::npos ? line : line.substr(separator + 2);
}

// A time text and the first second of a span it showed in.
struct Shown {
  std::string text;
  int from = 0;
};

// The distinct time texts the clock showed in the seconds first..last of
// today, in the order they appeared.
std::vector<Shown> TimeTexts(const LocaleFormats& formats, int first, int last) {
  std::vector<Shown> texts;
  std::unordered_set<std::string> seen;
  const bool manySeconds = last - first > 16;
  for (int second = first; second <= last; ++second) {
    std::string text = FormatTimeText(formats, TimeFromSeconds(second));
    if (!texts.empty() && texts.back().text == text) continue;
    // A 12-hour format without AM/PM repeats its texts; each counts once.
    bool repeated = false;
    if (manySeconds) {
      repeated = !seen.insert(text).second;
    } else {
      for (const auto& t : texts) repeated = repeated || t.text == text;
    }
    if (!repeated) texts.push_back({std::move(text), second});
  }
  return texts;
}

// The first second of the kind's next check: the one after its last run,
// today's first on a later day, the current one at the first run or after
// the clock was set back.
int NextChecked(const std::optional<DateTime>& last, const DateTime& now) {
  if (last && last->date == now.date && last->time <= now.time) return SecondsOfDay(last->time) + 1;
  if (last && last->date < now.date) return 0;
  return SecondsOfDay(now.time);
}

}  // namespace

DateTime SecondsBefore(const DateTime& t, long long seconds) {
  const long long s = SecondsOfDay(t.time) - seconds;
  const long long days = s >= 0 ? s / kSecondsPerDay : -((-s + kSecondsPerDay - 1) / kSecondsPerDay);
  return DateTime{AddDays(t.date, static_cast<int>(days)),
                  TimeFromSeconds(static_cast<int>(s - days * kSecondsPerDay))};
}

int ShownFrom(const LocaleFormats& formats, int second) {
  const std::string text = FormatTimeText(formats, TimeFromSeconds(second));
  // No real time format shows one text for more than an hour.
  for (int steps = 0; second > 0 && steps < 3600; ++steps, --second)
    if (FormatTimeText(formats, TimeFromSeconds(second - 1)) != text) break;
  return second;
}

ReminderScheduler::Announcements& ReminderScheduler::AnnouncedOn(Kind kind, const Date& day) {
  auto& days = records_[static_cast<std::size_t>(Index(kind))].days;
  for (auto it = days.begin(); it != days.end();) {
    const long apart = DaysBetween(it->first, day);
    it = apart > 1 || apart < -1 ? days.erase(it) : std::next(it);
  }
  return days[day];
}

bool ReminderScheduler::FirstTimeAt(Announcements& record, int moment, const std::string& line,
                                    int occurrence) {
  int& count = record[moment][line];
  if (occurrence < count) return false;
  ++count;
  return true;
}

void ReminderScheduler::Saw(Kind kind, const Lines& lines, const Date& today) {
  Record& record = records_[static_cast<std::size_t>(Index(kind))];
  if (record.seenDay != today) {
    record.seen.clear();
    record.seenDay = today;
  }
  record.seen.insert(lines.begin(), lines.end());
}

void ReminderScheduler::Announced(const DueReminder& due, const Date& today) {
  if (due.moment >= 0) ++AnnouncedOn(due.kind, today)[due.moment][due.entry];
}

std::vector<DueReminder> ReminderScheduler::CheckSecond(Kind kind, const DateTime& now,
                                                        const LocaleFormats& formats,
                                                        unsigned formatsGeneration,
                                                        const TodayRefs& refs) {
  // The span of today's seconds not yet examined: from the one after the
  // previous run, never before midnight. The first run, and a run after the
  // clock was set back, examine only the current second.
  Span& span = spans_[static_cast<std::size_t>(Index(kind))];
  const int nowSecond = SecondsOfDay(now.time);
  const int first = NextChecked(span.last, now);
  const bool sameDay = span.last && span.last->date == now.date;
  const bool onward = sameDay && span.last->time <= now.time;
  span.last = now;

  std::vector<Shown> texts = TimeTexts(formats, first, nowSecond);
  // A second examined again still shows its text: rows added since are looked at.
  if (texts.empty()) texts.push_back({FormatTimeText(formats, now.time), nowSecond});
  Shown& head = texts.front();
  // The text the previous run saw may still be on the clock (a format without
  // seconds); otherwise it shows from where it first showed, which a clock set
  // back finds again.
  if (onward && head.text == span.text && span.from >= 0) head.from = span.from;
  else head.from = ShownFrom(formats, head.from);
  const bool continues = sameDay && head.text == span.text && head.from == span.from;
  const unsigned version = book_.Version(kind);
  const bool listChanged = version != span.version;
  span.version = version;

  std::vector<DueReminder> due;
  if (!continues || listChanged || texts.size() > 1) {
    const EntryIndex& cached = CacheFor(kind, formats, formatsGeneration);
    const Lines& list = book_.List(kind);
    const MessageSpacing spacing =
        kind == Kind::OneTime ? MessageSpacing::SingleBreak : MessageSpacing::EmptyLine;
    Announcements* record = nullptr;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      if (t == 0 && continues && !listChanged) continue;  // nothing new can be due
      const std::vector<int>* rows = cached.RowsAt(texts[t].text);
      if (!rows) continue;
      if (!record) record = &AnnouncedOn(kind, now.date);
      // Equal rows count apart: as many of each as were announced already.
      std::unordered_map<std::string_view, int> occurrences;
      for (int row : *rows) {
        const auto& item = cached.At(static_cast<std::size_t>(row));
        const std::string& line = list[static_cast<std::size_t>(row)];
        if (!FallsToday(kind, item, line, now.date, refs)) continue;
        if (!FirstTimeAt(*record, texts[t].from, line, occurrences[line]++)) continue;
        due.push_back(MakeDue(kind, line, item.messageBegin, spacing, texts[t].from));
      }
    }
  }
  // A 12-hour format without AM/PM may show the current text earlier in a long
  // span; then its entries were announced there, and that moment goes on.
  const Shown* current = &texts.back();
  if (texts.size() > 1 || first != nowSecond) {
    const std::string nowText = FormatTimeText(formats, now.time);
    for (const Shown& t : texts)
      if (t.text == nowText) current = &t;
  }
  span.text = current->text;
  span.from = current->from;
  return due;
}

std::vector<DueReminder> ReminderScheduler::CheckRepeat(const DateTime& now,
                                                        const LocaleFormats& formats,
                                                        unsigned formatsGeneration) {
  const EntryIndex& cached = CacheFor(Kind::OneTime, formats, formatsGeneration);
  const Lines& list = book_.List(Kind::OneTime);
  std::vector<DueReminder> due;
  for (std::size_t row = 0; row < cached.Size(); ++row) {
    const auto& item = cached.At(row);
    if (item.cut && item.date && item.time && *item.date == now.date && now.time >= *item.time) {
      due.push_back(MakeDue(Kind::OneTime, list[row], item.messageBegin, MessageSpacing::EmptyLine, -1));
    }
  }
  return due;
}

void ReminderScheduler::CarryOver(Kind kind, const Date& today, const LocaleFormats& formats,
                                  const EntryIndex& index, const TodayRefs& refs) {
  const Lines& list = book_.List(kind);
  for (auto& at : AnnouncedOn(kind, today)) {
    std::unordered_map<std::string, int>& announced = at.second;
    const std::vector<int>* rows = index.RowsAt(FormatTimeText(formats, TimeFromSeconds(at.first)));
    if (!rows) continue;
    // The announced texts the list no longer holds as they were, and the rows
    // due then that were not announced under their own text.
    std::unordered_map<std::string, int> gone = announced;
    std::vector<const std::string*> others;
    for (int row : *rows) {
      const std::string& line = list[static_cast<std::size_t>(row)];
      if (!FallsToday(kind, index.At(static_cast<std::size_t>(row)), line, today, refs)) continue;
      const auto held = gone.find(line);
      if (held != gone.end() && held->second > 0) --held->second;
      else others.push_back(&line);
    }
    // Each of those rows takes the place of one text gone: the same reminder,
    // written anew. Its message tells it first (other formats), else the
    // list order (a message edited).
    auto replace = [&](std::unordered_map<std::string, int>::iterator old, const std::string* line) {
      --old->second;
      if (--announced[old->first] == 0) announced.erase(old->first);
      ++announced[*line];
    };
    std::vector<const std::string*> unmatched;
    for (const std::string* line : others) {
      auto old = std::find_if(gone.begin(), gone.end(), [&](const auto& g) {
        return g.second > 0 && MessageOf(g.first) == MessageOf(*line);
      });
      if (old != gone.end()) replace(old, line);
      else unmatched.push_back(line);
    }
    auto old = gone.begin();
    for (const std::string* line : unmatched) {
      while (old != gone.end() && old->second == 0) ++old;
      if (old == gone.end()) break;
      replace(old, line);
    }
  }
}

std::vector<DueReminder> ReminderScheduler::CatchUpLate(Kind kind, const DateTime& now,
                                                       const LocaleFormats& formats,
                                                       unsigned formatsGeneration,
                                                       const TodayRefs& refs,
                                                       int repeatIntervalMinutes,
                                                       const std::optional<DateTime>& since) {
  std::vector<DueReminder> due;
  if (kind == Kind::OneTime && repeatIntervalMinutes != 0) return due;
  int lower = 0;
  if (since && since->date > now.date) return due;  // the clock was set back since
  if (since && since->date == now.date) lower = SecondsOfDay(since->time);
  const std::size_t k = static_cast<std::size_t>(Index(kind));
  // The first second the kind's next check examines, and the moment its text
  // shows from: the check announces what the list holds for that moment.
  const int next = NextChecked(spans_[k].last, now);
  const int nextFrom = next < kSecondsPerDay ? ShownFrom(formats, next) : kSecondsPerDay;
  const EntryIndex& cached = CacheFor(kind, formats, formatsGeneration);
  if (since) CarryOver(kind, now.date, formats, cached, refs);
  Announcements& record = AnnouncedOn(kind, now.date);
  const Record& held = records_[k];
  const bool seenToday = held.seenDay == now.date;
  std::unordered_map<int, std::unordered_map<std::string_view, int>> occurrences;
  const Lines& list = book_.List(kind);
  for (std::size_t row = 0; row < cached.Size(); ++row) {
    const auto& item = cached.At(row);
    if (!item.cut || !item.time) continue;
    const std::string& line = list[row];
    const int at = SecondsOfDay(*item.time);
    // Under a 12-hour format without AM/PM the text comes twice a day.
    for (const int second : {at, at + kSecondsPerDay / 2}) {
      if (second >= next || second < lower) continue;
      if (second != at && FormatTimeText(formats, TimeFromSeconds(second)) != item.clockText) continue;
      const int from = ShownFrom(formats, second);
      if (from < lower || from == nextFrom) continue;
      if (!FallsToday(kind, item, line, now.date, refs)) break;
      if (seenToday && held.seen.count(line) > 0) break;
      if (FirstTimeAt(record, from, line, occurrences[from][line]++))
        due.push_back(MakeDue(kind, line, item.messageBegin, MessageSpacing::EmptyLine, from));
    }
  }
  return due;
}

bool ReminderScheduler::TakeMidnightRefresh(const Date& today) {
  if (!refreshDate_) {
    refreshDate_ = today;
    return false;
  }
  if (*refreshDate_ == today) return false;
  refreshDate_ = today;
  return true;
}

StoredReaders::StoredReaders(const LocaleFormats& current) : readers_(kStoredSlots, TextReader(current)) {}

StoredReaders::StoredReaders(const StoredFormats& stored, const LocaleFormats& current) {
  for (std::size_t slot = 0; slot < kStoredSlots; ++slot) readers_.push_back(stored.Reader(slot, current));
}

bool FirstStartToday(const TextReader& reader, const Date& today, const std::string& lastBootDate) {
  if (const auto closed = reader.ReadDate(lastBootDate)) return *closed != today;
  return FormatDateText(reader.Current(), today) != lastBootDate;
}

namespace {

// The time of an entry that is one of today's reminders whose time lies
// before `before`; none for any other.
std::optional<TimeOfDay> MissedToday(Kind kind, const EntryFields& f, const TextReader& reader,
                                     const Date& today, const TimeOfDay& before, const TodayRefs& refs) {
  const auto time = reader.ReadTime(f.time);
  if (!time || !(*time < before)) return std::nullopt;
  bool falls = false;
  switch (kind) {
    case Kind::Weekly: falls = f.schedule == refs.dayStr; break;
    case Kind::Monthly: falls = f.schedule == refs.monthStr; break;
    case Kind::Daily: {
      const auto begins = reader.ReadDate(f.schedule);
      falls = begins && today >= *begins;
      break;
    }
    case Kind::OneTime: {
      const auto date = reader.ReadDate(f.schedule);
      falls = date && *date == today;
      break;
    }
  }
  return falls ? time : std::nullopt;
}

}  // namespace

void RunCatchUp(const ReminderBook& book, const StoredReaders& readers,
                const std::string& lastBootDate, const TodayRefs& refs, int repeatIntervalMinutes,
                const std::function<DateTime()>& now,
                const std::function<void(const DueReminder&)>& announce, const ListSet& lists) {
  const DateTime start = now();
  if (!FirstStartToday(readers.Of(kLastBootSlot), start.date, lastBootDate)) return;

  // Each list is examined as it stood when its turn came; the boxes shown
  // meanwhile cannot pull rows from under the loop.
  auto each = [&](Kind kind) {
    if (!lists[static_cast<std::size_t>(Index(kind))]) return;
    const Lines rows = book.List(kind);
    for (const auto& line : rows) {
      const auto fields = CutEntry(line);
      if (!fields) continue;
      // The one-time step reads the clock afresh for each entry.
      const DateTime at = kind == Kind::OneTime ? now() : start;
      const TextReader& reader = readers.Of(static_cast<std::size_t>(Index(kind)));
      if (const auto time = MissedToday(kind, *fields, reader, at.date, at.time, refs))
        announce(DueReminder{kind, line, std::string(fields->message), MessageSpacing::EmptyLine,
                             ShownFrom(reader.Current(), SecondsOfDay(*time))});
    }
  };
  each(Kind::Weekly);
  each(Kind::Daily);
  each(Kind::Monthly);
  if (repeatIntervalMinutes == 0) each(Kind::OneTime);
}

std::vector<DueReminder> TestAnnouncements(const ReminderBook& book, Kind kind) {
  std::vector<DueReminder> all;
  for (const auto& line : book.List(kind)) {
    if (const auto fields = CutEntry(line)) {
      all.push_back(DueReminder{kind, line, std::string(fields->message), MessageSpacing::EmptyLine});
    }
  }
  return all;
}

namespace {

std::string WaitingKey(const DueReminder& item) {
  return std::to_string(Index(item.kind)) + '|' + item.entry;
}

}  // namespace

void AnnouncementGate::OfferTick(std::vector<DueReminder> due) {
  // Per entry of this tick, how many of its equal rows still wait from an
  // earlier tick: that many of them are not queued again.
  std::unordered_map<std::string, int> stillWaiting;
  for (auto& item : due) {
    std::string key = WaitingKey(item);
    auto [skip, fresh] = stillWaiting.try_emplace(key, 0);
    if (fresh) {
      const auto waiting = waitingCounts_.find(key);
      skip->second = waiting == waitingCounts_.end() ? 0 : waiting->second;
    }
    if (skip->second > 0) {
      --skip->second;
      continue;
    }
    ++waitingCounts_[std::move(key)];
    waiting_.push_back(std::move(item));
  }
}

std::optional<DueReminder> AnnouncementGate::Next() {
  if (BoxOpen() || waiting_.empty()) return std::nullopt;
  DueReminder next = std::move(waiting_.front());
  waiting_.pop_front();
  const auto count = waitingCounts_.find(WaitingKey(next));
  if (count != waitingCounts_.end() && --count->second <= 0) waitingCounts_.erase(count);
  return next;
}

}  // namespace pendra
