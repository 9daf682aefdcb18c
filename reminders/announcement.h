#pragma once
// The announcement text shown in the reminder message box.
#include <string>
#include <string_view>

#include "reminders/reminder_kinds.h"
#include "settings/datetime.h"

namespace pendra {

enum class Words { Standard, OneTimeTest };  // "Today is... " / "Today is. "
// The one-second one-time check puts a single CR before the message; every
// other announcement leaves an empty line.
enum class MessageSpacing { EmptyLine, SingleBreak };

std::string ComposeAnnouncement(Kind kind, std::string_view message, const LocaleFormats& formats,
                                const DateTime& now, Words words, MessageSpacing spacing);

}  // namespace pendra
