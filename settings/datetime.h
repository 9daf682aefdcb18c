#pragma once
// Calendar values and the user's locale formats for time text and date text.
// Formats are Windows pictures ("h:mm:ss tt", "M/d/yyyy", "dd.MM.yyyy",
// "yyyy-MM-dd"), taken from the locale by the Win32 layer.
#include <array>
#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace pendra {

struct Date {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  auto operator<=>(const Date&) const = default;
};

struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
  auto operator<=>(const TimeOfDay&) const = default;
};

struct DateTime {
  Date date;
  TimeOfDay time;
  auto operator<=>(const DateTime&) const = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(const Date& d);
int DayOfWeek(const Date& d);  // 0 = Sunday .. 6 = Saturday
Date AddDays(const Date& d, int days);
long DaysBetween(const Date& from, const Date& to);  // to - from
int SecondsOfDay(const TimeOfDay& t);
TimeOfDay TimeFromSeconds(int secondsOfDay);

// "Sunday" .. "Saturday" whatever the locale; index as DayOfWeek.
extern const std::array<const char*, 7> kEnglishWeekdayNames;

struct LocaleFormats {
  std::string shortDate = "M/d/yyyy";  // LOCALE_SSHORTDATE
  std::string longTime = "h:mm:ss tt";  // LOCALE_STIMEFORMAT
  std::string am = "AM";                // LOCALE_S1159
  std::string pm = "PM";                // LOCALE_S2359
  std::array<std::string, 7> longDayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  bool operator==(const LocaleFormats&) const = default;
};

// Time text: the time written with the long time format.
std::string FormatTimeText(const LocaleFormats& f, const TimeOfDay& t);
// Date text: the date written with the short date format.
std::string FormatDateText(const LocaleFormats& f, const Date& d);
// Converting back with the formats in force; nullopt when the text does not convert.
std::optional<TimeOfDay> ParseTimeText(const LocaleFormats& f, std::string_view text);
std::optional<Date> ParseDateText(const LocaleFormats& f, std::string_view text);

// The announcement's fixed patterns: "dddd, mmmm d, yyyy," with the locale's
// day and month names, and "h:mm AM/PM".
std::string FormatAnnouncementDate(const LocaleFormats& f, const Date& d);
std::string FormatAnnouncementTime(const TimeOfDay& t);

}  // namespace pendra
