#include <gtest/gtest.h>

#include "reminders/page_rules.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

const Date kToday{2000, 6, 19};

LocaleFormats IsoFormats() {
  LocaleFormats f;
  f.shortDate = "yyyy-MM-dd";
  f.longTime = "HH:mm:ss";
  return f;
}

TEST(PlanEdit, DatedPagesConvertTheScheduleAndKeepTheWholeMessage) {
  EditPlan p = PlanEdit(Kind::OneTime, "1:05:00 PM-7/4/2000--Call Bob - re: A--B", LocaleFormats{},
                        kToday);
  ASSERT_TRUE(p.cut);
  EXPECT_EQ(p.message, "Call Bob - re: A--B");
  ASSERT_TRUE(p.time.has_value());
  EXPECT_EQ(*p.time, (TimeOfDay{13, 5, 0}));
  EXPECT_EQ(p.scheduleDate, (Date{2000, 7, 4}));

  // A date text that itself holds "-" is still the schedule.
  p = PlanEdit(Kind::Daily, "07:30:00-2000-12-31--Walk", IsoFormats(), kToday);
  ASSERT_TRUE(p.time.has_value());
  EXPECT_EQ(*p.time, (TimeOfDay{7, 30, 0}));
  EXPECT_EQ(p.scheduleDate, (Date{2000, 12, 31}));
  EXPECT_EQ(p.message, "Walk");
}

TEST(PlanEdit, ADateWrittenUnderAnotherLocaleGivesToday) {
  // Stored under en-US, read back under an ISO locale.
  EditPlan p = PlanEdit(Kind::OneTime, "13:05:00-7/4/2000--Call", IsoFormats(), kToday);
  EXPECT_EQ(p.scheduleDate, kToday);
  p = PlanEdit(Kind::Daily, "1:05:00 PM-soon--Call", LocaleFormats{}, kToday);
  EXPECT_EQ(p.scheduleDate, kToday);
}

TEST(PlanEdit, ComboPagesTakeTheScheduleTextUnchecked) {
  EditPlan p = PlanEdit(Kind::Weekly, "9:00:00 AM-Mondya--Gym", LocaleFormats{}, kToday);
  EXPECT_EQ(p.scheduleText, "Mondya");
  EXPECT_EQ(p.message, "Gym");
  p = PlanEdit(Kind::Monthly, "9:00:00 AM-31--Rent", LocaleFormats{}, kToday);
  EXPECT_EQ(p.scheduleText, "31");
}

TEST(PlanEdit, ATimeThatDoesNotConvertStillGivesTheMessage) {
  EditPlan p = PlanEdit(Kind::Weekly, "xx-Monday--Gym", LocaleFormats{}, kToday);
  ASSERT_TRUE(p.cut);
  EXPECT_FALSE(p.time.has_value());
  EXPECT_EQ(p.timeField, "xx");
  EXPECT_EQ(p.message, "Gym");
  EXPECT_EQ(InvalidTimeMessage(p.timeField), "'xx' is not a valid time");
}

TEST(PlanEdit, ALineWithoutSeparatorsBecomesTheWholeMessage) {
  for (const char* line : {"Buy milk", "1:00:00 PM-Monday only one dash", ""}) {
    EditPlan p = PlanEdit(Kind::Weekly, line, LocaleFormats{}, kToday);
    EXPECT_FALSE(p.cut) << line;
    EXPECT_EQ(p.message, line);
  }
}

TEST(PanelVisibility, StoredPerPageAsOneOrZeroAndShownByDefault) {
  MemoryRegistry reg;
  for (Kind k : kAllKinds) EXPECT_TRUE(StoredPanelVisible(reg, k));

  StorePanelVisible(reg, Kind::Weekly, false);
  std::string text;
  ASSERT_EQ(reg.Read(std::string(kReminderButtonsKey) + "\\Button2", "Visible", text),
            ValueKind::Text);
  EXPECT_EQ(text, "0");
  EXPECT_FALSE(StoredPanelVisible(reg, Kind::Weekly));
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::OneTime));
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Daily));

  StorePanelVisible(reg, Kind::Weekly, true);
  reg.Read(std::string(kReminderButtonsKey) + "\\Button2", "Visible", text);
  EXPECT_EQ(text, "1");

  // Hand-written values: not a number counts as shown; any number but 0 too.
  reg.WriteText(std::string(kReminderButtonsKey) + "\\Button4", "Visible", "no");
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Monthly));
  reg.WriteText(std::string(kReminderButtonsKey) + "\\Button4", "visible", "7");
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Monthly));
}

}  // namespace
}  // namespace pendra
