// The reminder timers run four one-second checks on the UI thread; with four
// lists of 10,000 entries one second of them must stay within 2 ms of CPU.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "reminders/entry.h"
#include "reminders/scheduler.h"

namespace pendra {
namespace {

constexpr int kEntries = 10000;
constexpr Date kStartDay{2024, 3, 4};
constexpr int kStartSecond = 8 * 3600;

// Times spread over the day (a fifth of them on a round minute), one-time
// dates within two months around today, every weekday and month day, daily
// beginning dates partly ahead, a few hand-edited lines that do not cut.
ReminderBook MakeBook(const LocaleFormats& f, int entries = kEntries) {
  ReminderBook book;
  std::mt19937 rng(2024);
  auto time = [&] {
    const int second = static_cast<int>(rng() % 86400);
    return FormatTimeText(f, TimeFromSeconds(rng() % 5 == 0 ? second / 60 * 60 : second));
  };
  auto date = [&](int spread) {
    return FormatDateText(f, AddDays(kStartDay, static_cast<int>(rng() % (2 * spread)) - spread));
  };
  const std::string message = "Call the office about the quarterly report - room 4";
  for (Kind kind : kAllKinds) {
    Lines lines;
    for (int i = 0; i < entries; ++i) {
      if (i % 500 == 499) {
        lines.push_back("hand-edited line without the separator");
        continue;
      }
      std::string schedule;
      switch (kind) {
        case Kind::OneTime: schedule = date(30); break;
        case Kind::Weekly: schedule = kEnglishWeekdayNames[rng() % 7]; break;
        case Kind::Daily: schedule = date(400); break;
        case Kind::Monthly: schedule = std::to_string(rng() % 31 + 1); break;
      }
      lines.push_back(ComposeEntry(time(), schedule, message));
    }
    book.Replace(kind, std::move(lines));
  }
  return book;
}

struct Clock {
  Date day = kStartDay;
  int second = kStartSecond;
  void Advance(int seconds) {
    second += seconds;
    if (second >= 86400) {
      day = AddDays(day, 1);
      second = seconds;  // first tick of the new day: a span from midnight
    }
  }
  DateTime Now() const { return DateTime{day, TimeFromSeconds(second)}; }
};

// After a change of the formats the lists are read by the formats they were
// written with, remembered: the cut entries are cached all the same.
LocaleFormats Iso() {
  LocaleFormats f;
  f.shortDate = "yyyy-MM-dd";
  f.longTime = "HH:mm:ss";
  return f;
}

void FourChecks(benchmark::State& state, int secondsPerTick, bool formatsChanged = false) {
  const LocaleFormats written;
  const LocaleFormats formats = formatsChanged ? Iso() : written;
  const ReminderBook book = MakeBook(written);
  ReminderScheduler scheduler(book);
  if (formatsChanged) {
    StoredFormats stored;
    stored.Load(FormatsValue({WrittenFormats::Of(written)}));
    scheduler.SetStoredFormats(stored);
  }
  Clock clock;
  for (Kind k : kAllKinds) {  // the first run cuts and converts the lists
    scheduler.CheckSecond(k, clock.Now(), formats, 0, TodayRefs::For(clock.day));
  }
  std::size_t announced = 0;
  for (auto _ : state) {
    clock.Advance(secondsPerTick);
    const DateTime now = clock.Now();
    const TodayRefs refs = TodayRefs::For(now.date);
    for (Kind k : kAllKinds) {
      auto due = scheduler.CheckSecond(k, now, formats, 0, refs);
      announced += due.size();
      benchmark::DoNotOptimize(due);
    }
  }
  state.counters["announced/tick"] =
      benchmark::Counter(static_cast<double>(announced), benchmark::Counter::kAvgIterations);
}

void BM_OneSecondOfFourChecks(benchmark::State& state) { FourChecks(state, 1); }
void BM_OneSecondOfFourChecksAfterAFormatChange(benchmark::State& state) {
  FourChecks(state, 1, true);
}
void BM_LateTickSpanningThreeSeconds(benchmark::State& state) { FourChecks(state, 3); }
void BM_LateTickSpanningAnHour(benchmark::State& state) { FourChecks(state, 3600); }

// A change to a list (an OK, a move) is followed by the next check: the moved
// row is cut again, the others only renumbered.
void FirstCheckAfter(benchmark::State& state, int row, MoveKind move) {
  const LocaleFormats formats;
  ReminderBook book = MakeBook(formats, static_cast<int>(state.range(0)));
  ReminderScheduler scheduler(book);
  Clock clock;
  scheduler.CheckSecond(Kind::Daily, clock.Now(), formats, 0, TodayRefs::For(clock.day));
  for (auto _ : state) {
    state.PauseTiming();
    book.Move(Kind::Daily, row, move);
    clock.Advance(1);
    state.ResumeTiming();
    auto due =
        scheduler.CheckSecond(Kind::Daily, clock.Now(), formats, 0, TodayRefs::For(clock.day));
    benchmark::DoNotOptimize(due);
  }
}

void BM_FirstCheckAfterAListChange(benchmark::State& state) {
  FirstCheckAfter(state, 1, MoveKind::Up);
}
void BM_FirstCheckAfterMoveToBottom(benchmark::State& state) {
  FirstCheckAfter(state, 0, MoveKind::ToBottom);
}

void BM_RepeatCheck(benchmark::State& state) {
  const LocaleFormats formats;
  const ReminderBook book = MakeBook(formats);
  ReminderScheduler scheduler(book);
  const DateTime now{kStartDay, TimeOfDay{15, 0, 0}};
  for (auto _ : state) {
    auto due = scheduler.CheckRepeat(now, formats, 0);
    benchmark::DoNotOptimize(due);
  }
}

BENCHMARK(BM_OneSecondOfFourChecks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneSecondOfFourChecksAfterAFormatChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LateTickSpanningThreeSeconds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LateTickSpanningAnHour)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstCheckAfterAListChange)->Arg(kEntries)->Arg(40000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstCheckAfterMoveToBottom)->Arg(kEntries)->Arg(40000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepeatCheck)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pendra
