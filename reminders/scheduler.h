#pragma once
// Deciding which reminders fall due. Portable: the Win32 layer owns the timers
// and passes the clock in.
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
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
  // The second of today from which the clock showed the text it fell due at;
  // -1 where it did not fall due by the clock (Test, the repeats).
  int moment = -1;
};

// That many seconds before a local time.
DateTime SecondsBefore(const DateTime& t, long long seconds);

// The first second, up to `second` and not before midnight, of the run of
// seconds in which the clock shows the same text as at `second`: the moment a
// reminder due at that text fell due. A clock set back shows the same text at
// the same moment again; a 12-hour format without AM/PM shows it at another.
int ShownFrom(const LocaleFormats& formats, int second);

class ReminderScheduler {
 public:
  explicit ReminderScheduler(const ReminderBook& book) : book_(book) {}

  // The one-second check of a kind (tmrTime for one-time, tmrDayEvent,
  // tmrDailyEvent, tmrMonth). An entry is due while the clock's time text
  // names the time of day its time field reads as, so an entry written under
  // another time format still falls due; a field that reads as no time
  // matches only the same text. Each entry is announced once for each moment
  // it falls due (ShownFrom): once a second with seconds in the format, once a
  // minute without, also when checking starts, or the entry is added, inside
  // that minute; a clock set back (the end of daylight saving time, a user,
  // the time service) brings no moment twice. A tick that runs late examines
  // every second of today since the previous run of that check, so an entry
  // due in between is announced once; the span never reaches back before
  // today's midnight. The first run, and a run after the clock was set back,
  // examine the current second only. Entries that do not cut or whose date
  // does not convert are passed over. Result: in the order of the seconds,
  // list order within one.
  std::vector<DueReminder> CheckSecond(Kind kind, const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration, const TodayRefs& refs);

  // The repeat check of the one-time list (tmrEvent).
  std::vector<DueReminder> CheckRepeat(const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration);

  // The catch-up of a list read after the kind's check went on without it:
  // its reminders of today that fell due from `since` (none: from midnight,
  // for a list that could not be read at start) up to the seconds the check
  // will still examine, less those whose text the clock shows at the first of
  // them (the check announces those, the list having changed). The one-time
  // list only when the repeat interval is 0, as at start. For a list read
  // again, `since` is when the file was last known unchanged: what fell due
  // before it was checked with the list as Pendra held it. Passed over:
  // whatever was announced at its moment already (as often as it was; a list
  // rewritten in other formats, or with a message edited, keeps what it had
  // announced, row for row at each moment) and whatever the list held in any
  // earlier read of today (Saw).
  std::vector<DueReminder> CatchUpLate(Kind kind, const DateTime& now, const LocaleFormats& formats,
                                       unsigned formatsGeneration, const TodayRefs& refs,
                                       int repeatIntervalMinutes,
                                       const std::optional<DateTime>& since = std::nullopt);
  // The list held these entries today (a read, or what it held before a read
  // again): none of them is caught up again that day.
  void Saw(Kind kind, const Lines& lines, const Date& today);
  // An announcement made elsewhere (the start-up catch-up) at its moment, so
  // no check brings it again at that moment.
  void Announced(const DueReminder& due, const Date& today);

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
  // clock showed then and the moment it showed from.
  struct Span {
    std::optional<DateTime> last;
    std::string text;
    int from = -1;
    unsigned version = 0;  // the list's version when last examined
  };
  // What one kind announced, by day and moment, by entry text: equal rows
  // count apart. Yesterday's is kept for a clock set back over midnight.
  using Announcements = std::unordered_map<int, std::unordered_map<std::string, int>>;
  struct Record {
    std::map<Date, Announcements> days;
    Date seenDay{};
    std::unordered_set<std::string> seen;
  };
  Announcements& AnnouncedOn(Kind kind, const Date& day);
  // Whether the row, the `occurrence`th of its text at that moment in this
  // pass, is new there; it is counted as announced then.
  static bool FirstTimeAt(Announcements& record, int moment, const std::string& line, int occurrence);
  // What was announced before the list was read again stays announced under
  // the texts of the rows now due at its moments.
  void CarryOver(Kind kind, const Date& today, const LocaleFormats& formats, const EntryIndex& index,
                 const TodayRefs& refs);
  const ReminderBook& book_;
  std::array<Span, 4> spans_;
  std::array<Record, 4> records_;
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
