#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/datetime.h"

namespace pendra {
namespace {

LocaleFormats EnUs() { return LocaleFormats{}; }

LocaleFormats German() {
  LocaleFormats f;
  f.shortDate = "dd.MM.yyyy";
  f.longTime = "HH:mm:ss";
  f.am = "";
  f.pm = "";
  f.longDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag",
                    "Samstag"};
  f.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  f.longMonthNames = {"Januar", "Februar", "M\xE4rz",  "April",   "Mai",      "Juni",
                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  f.shortMonthNames = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun",
                       "Jul", "Aug", "Sep",    "Okt", "Nov", "Dez"};
  return f;
}

LocaleFormats Iso() {
  LocaleFormats f;
  f.shortDate = "yyyy-MM-dd";
  f.longTime = "HH:mm:ss";
  return f;
}

LocaleFormats WithPictures(std::string date, std::string time) {
  LocaleFormats f;
  f.shortDate = std::move(date);
  f.longTime = std::move(time);
  return f;
}

TEST(Calendar, MonthLengthsWeekdaysAndDayArithmetic) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2001, 4), 30);
  EXPECT_FALSE(IsValidDate({2001, 2, 29}));
  EXPECT_FALSE(IsValidDate({2001, 13, 1}));
  EXPECT_EQ(DayOfWeek({2000, 6, 19}), 1);   // Monday
  EXPECT_EQ(DayOfWeek({1899, 12, 31}), 0);  // before the 1970 epoch
  EXPECT_EQ(AddDays({2000, 2, 28}, 2), (Date{2000, 3, 1}));
  EXPECT_EQ(AddDays({2000, 1, 1}, -1), (Date{1999, 12, 31}));
  EXPECT_EQ(DaysBetween({2001, 1, 1}, {2000, 1, 1}), -366);
  EXPECT_EQ(TimeFromSeconds(-1), (TimeOfDay{23, 59, 59}));

  // Day by day over several leap cycles (1900 and 2000 included): arithmetic
  // and weekdays stay in step.
  Date d{1896, 1, 1};
  int weekday = DayOfWeek(d);
  for (int i = 0; i < 365 * 110; ++i) {
    Date next = AddDays(d, 1);
    ASSERT_TRUE(IsValidDate(next));
    ASSERT_EQ(DaysBetween(d, next), 1);
    if (next.day == 1)
      ASSERT_EQ(d.day, DaysInMonth(d.year, d.month));
    else
      ASSERT_EQ(next.day, d.day + 1);
    weekday = (weekday + 1) % 7;
    ASSERT_EQ(DayOfWeek(next), weekday);
    d = next;
  }
}

TEST(TimeText, PictureTokensAndLiterals) {
  const LocaleFormats f = EnUs();
  EXPECT_EQ(FormatTimeText(f, {0, 0, 1}), "12:00:01 AM");
  EXPECT_EQ(FormatTimeText(f, {12, 0, 0}), "12:00:00 PM");
  EXPECT_EQ(FormatTimeText(f, {13, 5, 9}), "1:05:09 PM");
  EXPECT_EQ(FormatTimeText(WithPictures("", "hh:mm t"), {13, 5, 0}), "01:05 P");
  EXPECT_EQ(FormatTimeText(German(), {0, 0, 1}), "00:00:01");
  EXPECT_EQ(FormatTimeText(WithPictures("", "H:m:s"), {9, 5, 7}), "9:5:7");
  EXPECT_EQ(FormatTimeText(WithPictures("", "HH'h'mm"), {9, 5, 0}), "09h05");
  EXPECT_EQ(FormatTimeText(WithPictures("", "HH 'o''clock'"), {9, 5, 0}), "09 o'clock");
  EXPECT_EQ(FormatTimeText(WithPictures("", "HH''mm"), {9, 5, 0}), "09'05");
  // Date letters are plain text in a time picture.
  EXPECT_EQ(FormatTimeText(WithPictures("", "HH.mm dy"), {9, 5, 0}), "09.05 dy");
}

TEST(DateText, NumericAndNamePictures) {
  const Date d{2000, 6, 19};
  EXPECT_EQ(FormatDateText(EnUs(), d), "6/19/2000");
  EXPECT_EQ(FormatDateText(German(), d), "19.06.2000");
  EXPECT_EQ(FormatDateText(Iso(), d), "2000-06-19");
  EXPECT_EQ(FormatDateText(WithPictures("MM/dd/yy", ""), {2005, 3, 4}), "03/04/05");
  EXPECT_EQ(FormatDateText(WithPictures("d/M/y", ""), {2005, 3, 4}), "4/3/5");
  EXPECT_EQ(FormatDateText(WithPictures("ddd, MMM d yyyy", ""), d), "Mon, Jun 19 2000");
  EXPECT_EQ(FormatDateText(WithPictures("dddd d MMMM", ""), d), "Monday 19 June");
  EXPECT_EQ(FormatDateText(WithPictures("d 'de' MMMM 'de' yyyy", ""), d), "19 de June de 2000");
  LocaleFormats de = German();
  de.shortDate = "dddd, d. MMMM yyyy";
  EXPECT_EQ(FormatDateText(de, {2001, 3, 5}), "Montag, 5. M\xE4rz 2001");
}

TEST(ConvertBack, EveryTextRoundTripsUnderEachLocale) {
  for (const LocaleFormats& f :
       {EnUs(), German(), Iso(), WithPictures("d.M.yyyy", "H:mm:ss"),
        WithPictures("dd-MMM-yy", "hh.mm.ss tt"), WithPictures("yyyyMMdd", "HHmmss")}) {
    SCOPED_TRACE(f.shortDate + " / " + f.longTime);
    for (int s = 0; s < 86400; s += 7) {
      const TimeOfDay t = TimeFromSeconds(s);
      const std::string text = FormatTimeText(f, t);
      if (f.longTime == "HHmmss") continue;  // no separator: not a convertible time
      auto back = ParseTimeText(f, text);
      ASSERT_TRUE(back) << text;
      ASSERT_EQ(*back, t) << text;
    }
    for (Date d{1999, 1, 1}; d.year < 2002; d = AddDays(d, 1)) {
      const std::string text = FormatDateText(f, d);
      auto back = ParseDateText(f, text);
      ASSERT_TRUE(back) << text;
      ASSERT_EQ(*back, d) << text;
    }
  }
}

TEST(ConvertBack, AcceptsTheVariantsUsersAndOtherLocalesWrite) {
  const LocaleFormats us = EnUs();
  EXPECT_EQ(ParseTimeText(us, "9:05 AM"), (TimeOfDay{9, 5, 0}));
  EXPECT_EQ(ParseTimeText(us, "9:05:07 pm"), (TimeOfDay{21, 5, 7}));
  EXPECT_EQ(ParseTimeText(us, "PM 9:05:07"), (TimeOfDay{21, 5, 7}));
  EXPECT_EQ(ParseTimeText(us, "12:00:01AM"), (TimeOfDay{0, 0, 1}));
  EXPECT_EQ(ParseTimeText(us, "12:30 PM"), (TimeOfDay{12, 30, 0}));
  EXPECT_EQ(ParseTimeText(us, "  13:05:00  "), (TimeOfDay{13, 5, 0}));
  EXPECT_EQ(ParseTimeText(us, "09:05:00"), (TimeOfDay{9, 5, 0}));

  LocaleFormats own = EnUs();
  own.am = "a.m.";
  own.pm = "p.m.";
  EXPECT_EQ(ParseTimeText(own, "1:05:00 P.M."), (TimeOfDay{13, 5, 0}));
  EXPECT_EQ(ParseTimeText(own, "1:05:00 PM"), (TimeOfDay{13, 5, 0}));

  // Time text stored under a 12-hour locale still converts under a 24-hour one.
  EXPECT_EQ(ParseTimeText(German(), "9:05:00 PM"), (TimeOfDay{21, 5, 0}));
  EXPECT_EQ(ParseTimeText(WithPictures("", "HH.mm.ss"), "21.05.00"), (TimeOfDay{21, 5, 0}));

  EXPECT_EQ(ParseDateText(German(), "19.6.2000"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(WithPictures("d.M.yyyy", ""), "19.06.2000"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(Iso(), "2000-6-9"), (Date{2000, 6, 9}));
  EXPECT_EQ(ParseDateText(us, "06/19/2000"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(us, " 6/19/2000 "), (Date{2000, 6, 19}));
  // Two-digit years fall in 1950..2049; four digits are taken as written.
  EXPECT_EQ(ParseDateText(us, "6/19/00"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(us, "6/19/49"), (Date{2049, 6, 19}));
  EXPECT_EQ(ParseDateText(us, "6/19/50"), (Date{1950, 6, 19}));
  EXPECT_EQ(ParseDateText(WithPictures("M/d/yy", ""), "6/19/2000"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(WithPictures("dd-MMM-yy", ""), "19-jun-00"), (Date{2000, 6, 19}));
  EXPECT_EQ(ParseDateText(WithPictures("dd-MMM-yy", ""), "19-6-00"), (Date{2000, 6, 19}));
  LocaleFormats de = German();
  de.shortDate = "dddd, d. MMMM yyyy";
  EXPECT_EQ(ParseDateText(de, "montag, 5. m\xE4rz 2001"), (Date{2001, 3, 5}));
}

TEST(ConvertBack, RejectsTextThatIsNoTimeOrDate) {
  const LocaleFormats us = EnUs();
  for (const char* text :
       {"", " ", "garbage", "25:00:00", "24:00:00", "12:60:00", "12:00:60", "13:00 PM",
        "0:00:00 XM", "9:05:00 AM junk", "9:05:00 AM PM", "AM 9:05 PM", "9::05", "9:05:",
        ":05", "9", "9.05.00", "123:05", "9:005", "-1:05", "9:05:00:00"}) {
    EXPECT_FALSE(ParseTimeText(us, text)) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseTimeText(German(), "9.05.00"));

  for (const char* text : {"", "garbage", "2/30/2001", "2/29/2001", "13/1/2001", "0/1/2001",
                           "6/0/2000", "6/19/2000/5", "6-19-2000", "123/1/2000", "6/19",
                           "6/19/", "6/19/20000", "6/19/2000x", "June 19, 2000"}) {
    EXPECT_FALSE(ParseDateText(us, text)) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseDateText(German(), "6/19/2000"));
  EXPECT_FALSE(ParseDateText(German(), "31.4.2001"));
  EXPECT_FALSE(ParseDateText(Iso(), "19.6.2000"));
  // A picture without all three parts cannot give a date back.
  EXPECT_FALSE(ParseDateText(WithPictures("MMMM yyyy", ""), "June 2000"));
}

TEST(ConvertBack, RandomInputNeverCrashesAndOnlyGivesValidValues) {
  std::mt19937 rng(12345);
  const char alphabet[] = "0123456789:/.-' AMPamptdMyhHsg\xE4\x80\xFF";
  auto randomText = [&](bool fromAlphabet) {
    std::string s(rng() % 16, '\0');
    for (char& c : s)
      c = fromAlphabet ? alphabet[rng() % (sizeof alphabet - 1)] : static_cast<char>(rng() % 256);
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    LocaleFormats f = i % 3 == 0 ? EnUs() : i % 3 == 1 ? German() : Iso();
    if (i % 5 == 0) f.shortDate = randomText(true);
    if (i % 7 == 0) f.longTime = randomText(true);
    const std::string text = randomText(i % 2 == 0);
    if (auto t = ParseTimeText(f, text)) {
      ASSERT_GE(t->hour, 0);
      ASSERT_LE(t->hour, 23);
      ASSERT_LE(t->minute, 59);
      ASSERT_LE(t->second, 59);
    }
    if (auto d = ParseDateText(f, text)) ASSERT_TRUE(IsValidDate(*d)) << text;
    (void)FormatTimeText(f, {static_cast<int>(rng() % 24), 0, 0});
    (void)FormatDateText(f, {2000, static_cast<int>(rng() % 12) + 1, 1});
  }
}

TEST(Announcement, DateAndTimePatterns) {
  EXPECT_EQ(FormatAnnouncementDate(EnUs(), {2000, 6, 19}), "Monday, June 19, 2000,");
  EXPECT_EQ(FormatAnnouncementDate(German(), {2001, 3, 4}), "Sonntag, M\xE4rz 4, 2001,");
  EXPECT_EQ(FormatAnnouncementTime({13, 5, 59}), "1:05 PM");
  EXPECT_EQ(FormatAnnouncementTime({0, 0, 1}), "12:00 AM");
  EXPECT_EQ(FormatAnnouncementTime({12, 30, 0}), "12:30 PM");
}

}  // namespace
}  // namespace pendra
