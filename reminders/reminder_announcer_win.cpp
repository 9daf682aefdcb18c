#include "reminders/reminder_announcer_win.h"

#include "platform/services.h"
#include "platform/window_win.h"
#include "reminders/reminder_clock_win.h"
#include "reminders/reminder_lists_win.h"
#include "reminders/reminder_pages_win.h"
#include "settings/code_page.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

// Closes the box count it opened however the announcement ends.
class BoxScope {
 public:
  explicit BoxScope(AnnouncementGate& gate) : gate_(gate) { gate_.BoxOpened(); }
  ~BoxScope() { gate_.BoxClosed(); }
  BoxScope(const BoxScope&) = delete;
  BoxScope& operator=(const BoxScope&) = delete;

 private:
  AnnouncementGate& gate_;
};

}  // namespace

ReminderAnnouncer::ReminderAnnouncer(ReminderPages& pages, ReminderLists& lists, ReminderClockWnd& clock)
    : pages_(pages), lists_(lists), clock_(clock), scheduler_(lists.Book()) {
  scheduler_.SetRefreshDate(Svc().clock->Now().date);
}

void ReminderAnnouncer::ClockTick(UINT_PTR timer) {
  switch (timer) {
    case ReminderClockWnd::tmrTime: tmrTimeTimer(); break;
    case ReminderClockWnd::tmrEvent: tmrEventTimer(); break;
    case ReminderClockWnd::tmrDayEvent: CheckSecond(Kind::Weekly); break;
    case ReminderClockWnd::tmrDailyEvent: CheckSecond(Kind::Daily); break;
    case ReminderClockWnd::tmrMonth: CheckSecond(Kind::Monthly); break;
    default: break;
  }
}

TodayRefs ReminderAnnouncer::Refs() const {
  return TodayRefs{GetText(pages_.Page(Kind::Weekly).editRef), GetText(pages_.Page(Kind::Monthly).editRef)};
}

void ReminderAnnouncer::tmrTimeTimer() {
  const DateTime now = Svc().clock->Now();
  const LocaleFormats& formats = Svc().locale->Formats();
  const std::string timeText = FormatTimeText(formats, now.time);
  for (Kind k : {Kind::OneTime, Kind::Weekly, Kind::Monthly, Kind::Daily})
    SetTextUtf8(pages_.Page(k).stxtClock, timeText);
  CheckSecond(Kind::OneTime);
}

void ReminderAnnouncer::MidnightRefresh(const Date& today) {
  const TodayRefs refs = TodayRefs::For(today);
  for (Kind k : {Kind::Weekly, Kind::OneTime, Kind::Daily, Kind::Monthly}) {
    ReminderPage& p = pages_.Page(k);
    HWND picker = p.dtpSchedule ? p.dtpSchedule : p.dtpCalendar;
    SetPickerDateTime(picker, today, PickerDateTime(picker).time);
  }
  ReminderPage& weekly = pages_.Page(Kind::Weekly);
  ReminderPage& monthly = pages_.Page(Kind::Monthly);
  SetText(weekly.cbSchedule, refs.dayStr);
  SetText(weekly.editRef, refs.dayStr);
  SetText(monthly.cbSchedule, refs.monthStr);
  SetText(monthly.editRef, refs.monthStr);
}

void ReminderAnnouncer::CheckSecond(Kind kind) {
  ILocale& locale = *Svc().locale;
  const DateTime now = Svc().clock->Now();
  // Whichever one-second timer ticks first on a new day moves the references
  // to it, so the weekly and monthly checks never compare with yesterday.
  if (scheduler_.TakeMidnightRefresh(now.date)) MidnightRefresh(now.date);
  // Likewise whichever ticks first in a new minute reads a list whose file
  // could not be read before, so its reminders are announced from then on.
  lists_.RetryUnreadListsEachMinute(now);
  lists_.FollowFormats();
  Offer(scheduler_.CheckSecond(kind, now, locale.Formats(), locale.Generation(), Refs()));
}

void ReminderAnnouncer::tmrEventTimer() {
  lists_.FollowFormats();
  ILocale& locale = *Svc().locale;
  Offer(scheduler_.CheckRepeat(Svc().clock->Now(), locale.Formats(), locale.Generation()));
}

void ReminderAnnouncer::Offer(std::vector<DueReminder> due) {
  gate_.OfferTick(std::move(due));
  DrainAnnouncements();
}

void ReminderAnnouncer::DrainAnnouncements() {
  while (!gate_.BoxOpen()) {
    std::optional<DueReminder> next = gate_.Next();
    if (!next) break;
    ShowAnnouncement(*next, Words::Standard);
  }
}

void ReminderAnnouncer::ShowAnnouncement(const DueReminder& due, Words words) {
  BoxScope open(gate_);
  const std::string text = ComposeAnnouncement(due.kind, due.message, Svc().locale->Formats(),
                                                Svc().clock->Now(), words, due.spacing);
  const std::string sound = SlotSound(pages_.Page(due.kind));
  // The sound starts first and the box comes up while it plays, so a long
  // sound keeps nobody waiting; answering the box ends it. Ticks that fall
  // due meanwhile wait behind the open box.
  if (sound.empty()) {
    Svc().dialogs->Announce(text);
    return;
  }
  Svc().sound->Start(sound);
  struct StopSound {
    ~StopSound() { Svc().sound->Stop(); }
  } stop;
  Svc().dialogs->Announce(text);
}

void ReminderAnnouncer::TestRun(Kind kind) {
  const Words words = kind == Kind::OneTime ? Words::OneTimeTest : Words::Standard;
  const std::vector<DueReminder> all = TestAnnouncements(lists_.Book(), kind);
  {
    // The whole run counts as one open box: ticks meanwhile wait their turn.
    BoxScope open(gate_);
    for (const auto& due : all) ShowAnnouncement(due, words);
  }
  DrainAnnouncements();
}

void ReminderAnnouncer::CatchUpLateList(Kind kind) {
  const Date today = Svc().clock->Now().date;
  bool& pending = lateCatchUp_[static_cast<size_t>(Index(kind))];
  if (pending) {
    pending = false;
    if (today == catchUpDay_) CatchUp(kind, std::nullopt);
  }
  scheduler_.Saw(kind, lists_.Book().List(kind), today);
}

void ReminderAnnouncer::CatchUpList(Kind kind, const Lines& before, const std::optional<DateTime>& since) {
  const Date today = Svc().clock->Now().date;
  scheduler_.Saw(kind, before, today);
  CatchUp(kind, since);
  scheduler_.Saw(kind, lists_.Book().List(kind), today);
}

void ReminderAnnouncer::CatchUp(Kind kind, const std::optional<DateTime>& since) {
  lists_.FollowFormats();
  ILocale& locale = *Svc().locale;
  gate_.OfferTick(scheduler_.CatchUpLate(kind, Svc().clock->Now(), locale.Formats(), locale.Generation(),
                                         Refs(), clock_.EventMinutes(), since));
}

void ReminderAnnouncer::RunStartCatchUp() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  // The registry holds the date in the code page; the lists' texts are UTF-8.
  const std::string lastBoot = Utf8FromCodePage(ini.ReadString("Last Boot", " Date", ""));
  const StoredReaders readers = lists_.Readers();
  const ReminderBook& book = lists_.Book();
  const Date today = Svc().clock->Now().date;
  // The lists not read yet get their catch-up when they are read, later
  // today; the ticks under the boxes below may read them already.
  ListSet read{};
  if (FirstStartToday(readers.Of(kLastBootSlot), today, lastBoot)) {
    catchUpDay_ = today;
    for (Kind k : kAllKinds) {
      read[static_cast<size_t>(Index(k))] = book.Loaded(k);
      lateCatchUp_[static_cast<size_t>(Index(k))] = !book.Loaded(k);
    }
  }
  {
    BoxScope open(gate_);
    RunCatchUp(
        book, readers, lastBoot, Refs(), clock_.EventMinutes(), [] { return Svc().clock->Now(); },
        [&](const DueReminder& due) {
          // A clock set back that day brings none of them again.
          scheduler_.Announced(due, today);
          ShowAnnouncement(due, Words::Standard);
        },
        read);
  }
  DrainAnnouncements();
}

}  // namespace pendra
