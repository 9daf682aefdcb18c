#pragma once
// Deciding which reminders fall due. Portable: the Win32 layer owns the timers
// and passes the clock in.
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "reminders/announcement.h"
#include "reminders/entry_index.h"
#include "reminders/reminder_book.h"
#include "reminders/written_formats.h"
#include "settings/datetime.h"

namespace pendra {

// Mirrors of the window's hidden references editDayStr and editMonthStr.
struct TodayRefs {
  std::string dayStr;    // English weekday name
  std::string monthStr;  // day of the month, no leading zero
  static TodayRefs For(const Date& today);
};

struct DueReminder {
  Kind kind;
  std::string entry;    // whole entry text: the identity of a waiting announcement
  std::string message;  // message field
  MessageSpacing spacing = MessageSpacing::EmptyLine;
};

class ReminderScheduler {
 public:
  explicit ReminderScheduler(const ReminderBook& book) : book_(book) {}

  // The one-second check of a kind (tmrTime for one-time, tmrDayEvent,
  // tmrDailyEvent, tmrMonth). An entry is due while the clock's time text
  // names the time of day its time field reads as, so an entry written under
  // another time format still falls due; a field that reads as no time
  // matches only the same text. Each entry is announced once while its text
  // is on the clock: once a second with seconds in the format, once a minute
  // without, also when checking starts, or the entry is added, inside that
  // minute. A tick that runs late examines every second of today since the
  // previous run of that check, so an entry due in between is announced once;
  // the span never reaches back before today's midnight. The first run, and a
  // run after the clock was set back, examine the current second only.
  // Entries that do not cut or whose date does not convert are passed over.
  // Result: in the order of the seconds, list order within one.
  std::vector<DueReminder> CheckSecond(Kind kind, const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration, const TodayRefs& refs);

  // The repeat check of the one-time list (tmrEvent).
  std::vector<DueReminder> CheckRepeat(const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration);

  // The catch-up of a list that could not be read at start and is read later
  // that day: its reminders of today whose time passed before the seconds the
  // kind's check will still examine, less those whose time the clock shows
  // at the first of them (the check announces those, the list having
  // changed). The one-time list only when the repeat interval is 0, as at
  // start. A list read again after another program changed it passes over
  // the entries it held before (`known`, as often as each was there): they
  // had their turn.
  std::vector<DueReminder> CatchUpLate(Kind kind, const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration, const TodayRefs& refs,
                                       int repeatIntervalMinutes, const Lines& known = {});

  // The formats the lists were written with: each list's fields are read by
  // the set it was written with first.
  void SetStoredFormats(const StoredFormats& stored);

  // Midnight refresh: true on the first clock tick of a day other than the day
  // of the last refresh (or of the window's creation); it records the new day.
  bool TakeMidnightRefresh(const Date& today);
  void SetRefreshDate(const Date& day) { refreshDate_ = day; }

 private:
  struct Cached;  // one list's entry index, and what it was made for
  // What one kind's check has examined: the last second, the time text the
  // clock showed then, and the entries announced while that text showed.
  struct Span {
    std::optional<DateTime> last;
    std::string text;
    unsigned version = 0;  // the list's version when last examined
    std::unordered_map<std::string, int> announced;  // by entry text: equal rows count apart
  };
  const ReminderBook& book_;
  std::array<Span, 4> spans_;
  std::optional<Date> refreshDate_;
  std::array<std::shared_ptr<Cached>, 4> cache_;
  StoredFormats stored_;
  unsigned storedGeneration_ = 0;
  const EntryIndex& CacheFor(Kind kind, const LocaleFormats& formats, unsigned generation);
};

// The first-start test of the catch-up: the reminder window was last closed
// on another day than today, or never. The stored date is compared as a date
// when the reader reads it, so a change of the date format since the close
// does not count as a new day; otherwise its text is compared.
bool FirstStartToday(const TextReader& reader, const Date& today, const std::string& lastBootDate);

// The readers of what is stored: one for each list (by Index(kind)) and one
// for the date of the last close (kLastBootSlot).
class StoredReaders {
 public:
  StoredReaders(const LocaleFormats& current);  // NOLINT: formats not known: the current ones
  StoredReaders(const StoredFormats& stored, const LocaleFormats& current);
  const TextReader& Of(std::size_t slot) const { return readers_[slot]; }

 private:
  std::vector<TextReader> readers_;
};

using ListSet = std::array<bool, 4>;  // by Index(kind)
inline constexpr ListSet kEveryList{true, true, true, true};

// The start-up catch-up. Announces (through `announce`, which returns once the
// user has closed the box) the reminders of today whose time had passed: all
// weekly, then daily, then monthly, then one-time (only when the repeat
// interval is 0), of the lists named. `now` gives the current local time at
// each call.
void RunCatchUp(const ReminderBook& book, const StoredReaders& readers,
                const std::string& lastBootDate, const TodayRefs& refs, int repeatIntervalMinutes,
                const std::function<DateTime()>& now,
                const std::function<void(const DueReminder&)>& announce,
                const ListSet& lists = kEveryList);


// Test button of a page: every entry in list order, whatever its schedule.
std::vector<DueReminder> TestAnnouncements(const ReminderBook& book, Kind kind);

// Keeps announcement boxes bounded: one box at a time; announcements that fall
// due while a box is open wait in order. Every due row of one tick is queued,
// equal rows too; a row that a later tick finds due again while its box still
// waits is not queued twice.
class AnnouncementGate {
 public:
  void OfferTick(std::vector<DueReminder> due);  // what one timer tick found due
  void Offer(DueReminder item) { OfferTick({std::move(item)}); }
  bool BoxOpen() const { return depth_ > 0; }
  void BoxOpened() { ++depth_; }
  void BoxClosed() {
    if (depth_ > 0) --depth_;
  }
  std::optional<DueReminder> Next();           // the next waiting one, when no box is open
  std::size_t Waiting() const { return waiting_.size(); }

 private:
  int depth_ = 0;
  std::deque<DueReminder> waiting_;
  std::unordered_map<std::string, int> waitingCounts_;  // by kind and entry
};

}  // namespace pendra
