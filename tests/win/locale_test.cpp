// The locale formats as the system gives them. The German case runs only when
// the process starts under a German locale (under Wine: LC_ALL=de_DE.UTF-8).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/real_services_win.h"
#include "settings/datetime.h"

namespace pendra::test {
namespace {

std::string SystemValue(LCTYPE type) {
  char buf[128] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
  return buf;
}

std::string InternationalValue(const char* name) {
  char buf[128] = {};
  DWORD size = sizeof buf - 1;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return {};
  RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(key);
  return buf;
}

// Changes the user's formats the way the regional settings do (they are kept
// under HKCU\Control Panel\International) and puts them back afterwards.
class UserFormats : public testing::Test {
 protected:
  void SetUp() override {
    shortDate_ = SystemValue(LOCALE_SSHORTDATE);
    timeFormat_ = SystemValue(LOCALE_STIMEFORMAT);
  }
  void TearDown() override {
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortDate_.c_str());
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, timeFormat_.c_str());
  }
  std::string shortDate_;
  std::string timeFormat_;
};

TEST(RealLocaleRead, EnglishUnitedStatesDefaults) {
  if (GetUserDefaultLCID() != 0x0409) GTEST_SKIP() << "not an en-US locale";
  RealLocale locale;
  const LocaleFormats& f = locale.Formats();
  EXPECT_EQ(f.shortDate, "M/d/yyyy");
  EXPECT_EQ(f.longTime, "h:mm:ss tt");
  EXPECT_EQ(f.am, "AM");
  EXPECT_EQ(f.pm, "PM");
  EXPECT_EQ(f, LocaleFormats{});  // the names, Sunday first, as the built-in defaults
  EXPECT_EQ(FormatTimeText(f, {0, 0, 1}), "12:00:01 AM");
}

TEST_F(UserFormats, IsoShortDateAppliesAfterRefresh) {
  RealLocale locale;
  const unsigned before = locale.Generation();
  locale.Refresh();
  EXPECT_EQ(locale.Generation(), before);  // nothing changed

  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
  EXPECT_EQ(InternationalValue("sShortDate"), "yyyy-MM-dd");
  EXPECT_EQ(locale.Formats().shortDate, shortDate_);  // kept until refreshed
  locale.Refresh();
  EXPECT_NE(locale.Generation(), before);
  EXPECT_EQ(locale.Formats().shortDate, "yyyy-MM-dd");

  const std::string text = FormatDateText(locale.Formats(), {2000, 6, 19});
  EXPECT_EQ(text, "2000-06-19");
  EXPECT_EQ(ParseDateText(locale.Formats(), text), (Date{2000, 6, 19}));
}

TEST_F(UserFormats, TwentyFourHourTimeFormat) {
  RealLocale locale;
  ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, "HH:mm:ss"));
  EXPECT_EQ(InternationalValue("sTimeFormat"), "HH:mm:ss");
  locale.Refresh();
  EXPECT_EQ(locale.Formats().longTime, "HH:mm:ss");
  EXPECT_EQ(FormatTimeText(locale.Formats(), {0, 0, 1}), "00:00:01");
  EXPECT_EQ(FormatTimeText(locale.Formats(), {13, 5, 9}), "13:05:09");
  EXPECT_EQ(ParseTimeText(locale.Formats(), "13:05:09"), (TimeOfDay{13, 5, 9}));
}

TEST(RealLocaleRead, GermanNamesAndFormats) {
  if (PRIMARYLANGID(GetUserDefaultLangID()) != LANG_GERMAN)
    GTEST_SKIP() << "not a German locale (run with LC_ALL=de_DE.UTF-8)";
  RealLocale locale;
  const LocaleFormats& f = locale.Formats();
  EXPECT_EQ(f.longDayNames[0], "Sonntag");
  EXPECT_EQ(f.longDayNames[1], "Montag");
  EXPECT_EQ(f.longDayNames[6], "Samstag");
  EXPECT_EQ(f.longMonthNames[2], "M\xC3\xA4rz");  // in UTF-8, as the lists hold them
  EXPECT_EQ(f.longTime, "HH:mm:ss");
  EXPECT_EQ(FormatAnnouncementDate(f, {2000, 6, 19}), "Montag, Juni 19, 2000,");
  EXPECT_EQ(FormatAnnouncementDate(f, {2001, 3, 4}), "Sonntag, M\xC3\xA4rz 4, 2001,");

  // Day, month and year in German order with dots, whether padded or not.
  const std::string text = FormatDateText(f, {2000, 6, 5});
  EXPECT_TRUE(text == "5.6.2000" || text == "05.06.2000") << text;
  EXPECT_EQ(ParseDateText(f, "19.6.2000"), (Date{2000, 6, 19}));
  EXPECT_EQ(FormatTimeText(f, {0, 0, 1}), "00:00:01");
}

}  // namespace
}  // namespace pendra::test
