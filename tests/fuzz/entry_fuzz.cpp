// Reminder entries as a hand-edited list may hold them: cutting, the time and
// date text readers, what Edit makes of a line, and the scheduler's checks,
// catch-up and Test on a list of such lines. Under the en-US, German and ISO
// pictures, and under pictures taken from the input, as a user may set them.
//
// The input is the list's text; the bytes at its end choose the pictures, the
// clock and the time and date of the entries composed and cut again. Pictures
// taken from the input come first, each ended by a backslash and one more
// character.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/announcement.h"
#include "reminders/entry.h"
#include "reminders/page_rules.h"
#include "reminders/reminder_book.h"
#include "reminders/scheduler.h"
#include "settings/list_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace pendra {
namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

bool ValidTime(const TimeOfDay& t) {
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
         t.second < 60;
}

// A text that converts names a time or a date that is written and read back
// as the same one. With pictures from the input only validity is asked.
void CheckReaders(const LocaleFormats& f, bool knownPictures, std::string_view text) {
  if (const auto t = ParseTimeText(f, text)) {
    FUZZ_REQUIRE(ValidTime(*t));
    const std::string written = FormatTimeText(f, *t);
    if (knownPictures) FUZZ_REQUIRE(ParseTimeText(f, written) == t);
  }
  if (const auto d = ParseDateText(f, text)) {
    FUZZ_REQUIRE(IsValidDate(*d));
    const std::string written = FormatDateText(f, *d);
    if (knownPictures) FUZZ_REQUIRE(ParseDateText(f, written) == d);
  }
}

void CheckCut(std::string_view line) {
  const auto fields = CutEntry(line);
  const std::size_t hyphen = line.find('-');
  const std::size_t separator = line.find("--");
  FUZZ_REQUIRE(fields.has_value() ==
               (hyphen != std::string_view::npos && separator != std::string_view::npos));
  if (!fields) return;
  FUZZ_REQUIRE(Inside(fields->time, line) && Inside(fields->schedule, line) &&
               Inside(fields->message, line));
  FUZZ_REQUIRE(fields->time == line.substr(0, hyphen));
  FUZZ_REQUIRE(fields->schedule.find("--") == std::string_view::npos);
  // Composed again, the fields give back the line, except for a line with
  // just "--" after its time: no entry is written so, it has no schedule to
  // give back.
  const bool bare = separator == hyphen && line.substr(hyphen, 3) != "---";
  if (!bare) {
    FUZZ_REQUIRE(ComposeEntry(fields->time, fields->schedule, fields->message) == line);
  }
}

// An entry as the OK buttons compose it cuts into the fields it was made of.
// Time text holds no "-"; a schedule is a date text, a weekday name, a day of
// the month or typed text that holds no "--" and does not begin or end with
// "-" (those would run into the separators).
void CheckComposed(const LocaleFormats& f, const TimeOfDay& time, std::string_view schedule,
                   std::string_view message) {
  const std::string timeText = FormatTimeText(f, time);
  FUZZ_REQUIRE(timeText.find('-') == std::string::npos);
  if (schedule.find("--") != std::string_view::npos ||
      (!schedule.empty() && (schedule.front() == '-' || schedule.back() == '-')))
    return;
  const std::string entry = ComposeEntry(timeText, schedule, message);
  const auto fields = CutEntry(entry);
  FUZZ_REQUIRE(fields);
  FUZZ_REQUIRE(fields->time == timeText);
  FUZZ_REQUIRE(fields->schedule == schedule);
  FUZZ_REQUIRE(fields->message == message);
  FUZZ_REQUIRE(ParseTimeText(f, fields->time) == time);
}

void CheckDue(const std::vector<DueReminder>& due, const Lines& lines, const LocaleFormats& f,
              const DateTime& now) {
  for (const DueReminder& d : due) {
    FUZZ_REQUIRE(std::find(lines.begin(), lines.end(), d.entry) != lines.end());
    const auto fields = CutEntry(d.entry);
    FUZZ_REQUIRE(fields && fields->message == d.message);
    const std::string text =
        ComposeAnnouncement(d.kind, d.message, f, now, Words::Standard, d.spacing);
    FUZZ_REQUIRE(text.size() >= d.message.size() &&
                 text.compare(text.size() - d.message.size(), std::string::npos, d.message) == 0);
  }
}

DateTime Later(const DateTime& t, int seconds) {
  const int s = SecondsOfDay(t.time) + seconds;
  return DateTime{AddDays(t.date, s / 86400), TimeFromSeconds(s)};
}

}  // namespace
}  // namespace pendra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  FuzzedDataProvider in(data, size);

  LocaleFormats f;
  const int pictures = in.ConsumeIntegralInRange(0, 3);
  switch (pictures) {
    case 0: f = fuzz::EnUs(); break;
    case 1: f = fuzz::German(); break;
    case 2: f = fuzz::Iso(); break;
    default:
      f.shortDate = in.ConsumeRandomLengthString(24);
      f.longTime = in.ConsumeRandomLengthString(24);
      f.am = in.ConsumeRandomLengthString(8);
      f.pm = in.ConsumeRandomLengthString(8);
      break;
  }
  const bool known = pictures < 3;
  const DateTime now{AddDays(Date{2000, 1, 1}, in.ConsumeIntegralInRange(-400, 20000)),
                     TimeFromSeconds(in.ConsumeIntegralInRange(0, 86399))};
  // A late tick's span; past 16 seconds the check goes another way.
  const int span = in.ConsumeIntegralInRange(0, 40);
  const TimeOfDay composedTime = TimeFromSeconds(in.ConsumeIntegralInRange(0, 86399));
  const Date composedDate = AddDays(Date{1950, 1, 1}, in.ConsumeIntegralInRange(0, 36524));
  const Kind kind = kAllKinds[in.ConsumeIntegralInRange<std::size_t>(0, 3)];
  const Lines lines = SplitLines(in.ConsumeRemainingBytesAsString());

  // Each line serves as a message, and the line before it as typed schedule text.
  std::string_view typed;
  for (const std::string& line : lines) {
    CheckCut(line);
    CheckReaders(f, known, line);
    if (const auto fields = CutEntry(line)) {
      CheckReaders(f, known, fields->time);
      CheckReaders(f, known, fields->schedule);
    }
    const EditPlan plan = PlanEdit(kind, line, f, now.date);
    FUZZ_REQUIRE(plan.cut == CutEntry(line).has_value());
    FUZZ_REQUIRE(plan.cut || plan.message == line);
    FUZZ_REQUIRE(IsValidDate(plan.scheduleDate));
    if (known) {
      CheckComposed(f, composedTime, FormatDateText(f, composedDate), line);
      CheckComposed(f, composedTime, kEnglishWeekdayNames[DayOfWeek(composedDate)], line);
      CheckComposed(f, composedTime, std::to_string(composedDate.day), line);
      CheckComposed(f, composedTime, typed, line);
    }
    typed = line;
  }

  ReminderBook book;
  for (Kind k : kAllKinds) book.Replace(k, lines);
  ReminderScheduler scheduler(book);
  const DateTime later = Later(now, span);
  for (Kind k : kAllKinds) {
    CheckDue(scheduler.CheckSecond(k, now, f, 1, TodayRefs::For(now.date)), lines, f, now);
    CheckDue(scheduler.CheckSecond(k, later, f, 1, TodayRefs::For(later.date)), lines, f, later);
    CheckDue(TestAnnouncements(book, k), lines, f, now);
  }
  CheckDue(scheduler.CheckRepeat(later, f, 1), lines, f, later);
  // The first line as a stored formats value: what reads is read back alike.
  const auto remembered = ParseFormatsValue(lines.empty() ? std::string() : lines.front());
  FUZZ_REQUIRE(ParseFormatsValue(FormatsValue(remembered)) == remembered);
  StoredFormats stored;
  stored.Load(lines.empty() ? std::string() : lines.front());
  FUZZ_REQUIRE(stored.Remembered() == remembered);
  scheduler.SetStoredFormats(stored);
  for (Kind k : kAllKinds)
    CheckDue(scheduler.CatchUpLate(k, later, f, 2, TodayRefs::For(later.date), 0), lines, f, later);

  std::vector<DueReminder> caughtUp;
  const std::string lastBoot = lines.empty() ? std::string() : lines.front();
  RunCatchUp(book, f, lastBoot, TodayRefs::For(now.date), 0, [&] { return now; },
             [&](const DueReminder& d) { caughtUp.push_back(d); });
  CheckDue(caughtUp, lines, f, now);
  return 0;
}
