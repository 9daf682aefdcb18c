#include "reminders/announcement.h"

namespace pendra {

std::string ComposeAnnouncement(Kind kind, std::string_view message, const LocaleFormats& formats,
                                const DateTime& now, Words words, MessageSpacing spacing) {
  const bool test = words == Words::OneTimeTest;
  std::string text = Info(kind).banner;
  text += "\r\r";
  text += test ? "Today is. " : "Today is... ";
  text += FormatAnnouncementDate(formats, now.date);
  text += '\r';
  text += test ? " The Time is. " : " The Time is... ";
  text += FormatAnnouncementTime(now.time);
  text += spacing == MessageSpacing::SingleBreak ? "\r" : "\r\r";
  text += message;
  return text;
}

}  // namespace pendra
