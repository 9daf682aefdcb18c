#include "reminders/scheduler.h"

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
  if (stored == stored_) return;
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
                    MessageSpacing spacing) {
  return DueReminder{kind, line, line.substr(messageBegin), spacing};
}

// The distinct time texts the clock showed in the seconds first..last of
// today, in the order they appeared.
std::vector<std::string> TimeTexts(const LocaleFormats& formats, int first, int last) {
  std::vector<std::string> texts;
  std::unordered_set<std::string> seen;
  const bool manySeconds = last - first > 16;
  for (int second = first; second <= last; ++second) {
    std::string text = FormatTimeText(formats, TimeFromSeconds(second));
    if (!texts.empty() && texts.back() == text) continue;
    // A 12-hour format without AM/PM repeats its texts; each counts once.
    bool repeated = false;
    if (manySeconds) {
      repeated = !seen.insert(text).second;
    } else {
      for (const auto& t : texts) repeated = repeated || t == text;
    }
    if (!repeated) texts.push_back(std::move(text));
  }
  return texts;
}

}  // namespace

std::vector<DueReminder> ReminderScheduler::CheckSecond(Kind kind, const DateTime& now,
                                                        const LocaleFormats& formats,
                                                        unsigned formatsGeneration,
                                                        const TodayRefs& refs) {
  // The span of today's seconds not yet examined: from the one after the
  // previous run, never before midnight. The first run, and a run after the
  // clock was set back, examine only the current second.
  Span& span = spans_[static_cast<std::size_t>(Index(kind))];
  const int nowSecond = SecondsOfDay(now.time);
  int first = nowSecond;
  const bool sameDay = span.last && span.last->date == now.date;
  if (sameDay && span.last->time <= now.time) {
    first = SecondsOfDay(span.last->time) + 1;
  } else if (span.last && span.last->date < now.date) {
    first = 0;
  }
  span.last = now;

  std::vector<std::string> texts = TimeTexts(formats, first, nowSecond);
  const std::string nowText =
      texts.size() == 1 && first == nowSecond ? texts[0] : FormatTimeText(formats, now.time);
  // A second examined again still shows its text: rows added since are looked at.
  if (texts.empty()) texts.push_back(nowText);
  // The text the previous run saw may still be on the clock (a format without
  // seconds): its entries announced then are not announced again.
  const bool continues = sameDay && texts.front() == span.text;
  const unsigned version = book_.Version(kind);
  const bool listChanged = version != span.version;
  span.version = version;

  std::vector<DueReminder> due;
  std::unordered_map<std::string, int> announced;  // while the last of `texts` showed
  if (continues) announced = std::move(span.announced);
  if (!continues || listChanged || texts.size() > 1) {
    const EntryIndex& cached = CacheFor(kind, formats, formatsGeneration);
    const Lines& list = book_.List(kind);
    const MessageSpacing spacing =
        kind == Kind::OneTime ? MessageSpacing::SingleBreak : MessageSpacing::EmptyLine;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const bool continued = t == 0 && continues;
      if (continued && !listChanged) continue;  // nothing new can be due
      // Only the text still on the clock needs its announced entries kept.
      const bool last = t + 1 == texts.size();
      // Equal rows count apart: as many of each as were announced already.
      std::unordered_map<std::string, int> already;
      if (continued) {
        already = announced;
      } else if (last && !announced.empty()) {
        announced.clear();
      }
      const std::vector<int>* rows = cached.RowsAt(texts[t]);
      if (!rows) continue;
      for (int row : *rows) {
        const auto& item = cached.At(static_cast<std::size_t>(row));
        const std::string& line = list[static_cast<std::size_t>(row)];
        if (!FallsToday(kind, item, line, now.date, refs)) continue;
        if (continued) {
          auto seen = already.find(line);
          if (seen != already.end() && seen->second > 0) {
            --seen->second;
            continue;
          }
        }
        if (last) ++announced[line];
        due.push_back(MakeDue(kind, line, item.messageBegin, spacing));
      }
    }
  }
  // A 12-hour format without AM/PM may show the current text earlier in a long
  // span; then its entries were announced there.
  span.text = nowText;
  span.announced = texts.back() == nowText ? std::move(announced)
                                            : std::unordered_map<std::string, int>{};
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
      due.push_back(MakeDue(Kind::OneTime, list[row], item.messageBegin, MessageSpacing::EmptyLine));
    }
  }
  return due;
}

std::vector<DueReminder> ReminderScheduler::CatchUpLate(Kind kind, const DateTime& now,
                                                       const LocaleFormats& formats,
                                                       unsigned formatsGeneration,
                                                       const TodayRefs& refs,
                                                       int repeatIntervalMinutes,
                                                       const Lines& known) {
  std::vector<DueReminder> due;
  if (kind == Kind::OneTime && repeatIntervalMinutes != 0) return due;
  std::unordered_map<std::string_view, int> had;
  for (const std::string& line : known) ++had[line];
  // The first second the kind's next check examines, as CheckSecond finds it.
  const Span& span = spans_[static_cast<std::size_t>(Index(kind))];
  int next = SecondsOfDay(now.time);
  if (span.last && span.last->date == now.date && span.last->time <= now.time) {
    next = SecondsOfDay(span.last->time) + 1;
  } else if (span.last && span.last->date < now.date) {
    next = 0;
  }
  const std::string nextText =
      next < 86400 ? FormatTimeText(formats, TimeFromSeconds(next)) : std::string();
  const EntryIndex& cached = CacheFor(kind, formats, formatsGeneration);
  const Lines& list = book_.List(kind);
  for (std::size_t row = 0; row < cached.Size(); ++row) {
    const auto& item = cached.At(row);
    if (!item.cut || !item.time || SecondsOfDay(*item.time) >= next || item.clockText == nextText)
      continue;
    const std::string& line = list[row];
    if (const auto it = had.find(line); it != had.end() && it->second > 0) {
      --it->second;
      continue;
    }
    if (FallsToday(kind, item, line, now.date, refs))
      due.push_back(MakeDue(kind, line, item.messageBegin, MessageSpacing::EmptyLine));
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

// Whether an entry is one of today's reminders whose time lies before `before`.
bool MissedToday(Kind kind, const EntryFields& f, const TextReader& reader, const Date& today,
                 const TimeOfDay& before, const TodayRefs& refs) {
  const auto time = reader.ReadTime(f.time);
  if (!time || !(*time < before)) return false;
  switch (kind) {
    case Kind::Weekly: return f.schedule == refs.dayStr;
    case Kind::Monthly: return f.schedule == refs.monthStr;
    case Kind::Daily: {
      const auto begins = reader.ReadDate(f.schedule);
      return begins && today >= *begins;
    }
    case Kind::OneTime: {
      const auto date = reader.ReadDate(f.schedule);
      return date && *date == today;
    }
  }
  return false;
}

DueReminder CaughtUp(Kind kind, const std::string& line, const EntryFields& f) {
  return DueReminder{kind, line, std::string(f.message), MessageSpacing::EmptyLine};
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
      if (MissedToday(kind, *fields, readers.Of(static_cast<std::size_t>(Index(kind))), at.date, at.time, refs))
        announce(CaughtUp(kind, line, *fields));
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
