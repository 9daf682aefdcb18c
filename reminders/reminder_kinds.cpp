#include "reminders/reminder_kinds.h"

#include <cstddef>

namespace pendra {

namespace {

// The banners and headings keep their blanks: the message box and the heading
// strip show them as written.
constexpr std::array<KindInfo, kKindCount> kInfos{{
    {"Reminder", "Message.lst",
     "                    REMINDER                  ",
     "   Time  &  Date", "Message", 1,
     "Are you sure that you want to remove all your Reminders from this page?"},
    {"Weekly Reminder", "DayMessage.lst",
     "                  WEEKLY REMINDER                  ",
     "Time  &  Day", "                                            Message", 2,
     "Are you sure that you want to remove all your Weekly Reminders from this page?"},
    {"Daily Reminder", "DailyMessage.lst",
     "                  DAILY REMINDER                  ",
     "Time  &  Beginning Date", "Message", 3,
     "Are you sure that you want to remove all your Daily Reminders from this page?"},
    {"Monthly Reminder", "MonthMessage.lst",
     "                  MONTHLY  REMINDER              ",
     "Time & Month Day", "                                            Message", 4,
     "Are you sure that you want to remove all your Monthly Reminders from this page?"},
}};

}  // namespace

const KindInfo& Info(Kind kind) { return kInfos[static_cast<std::size_t>(Index(kind))]; }

}  // namespace pendra
