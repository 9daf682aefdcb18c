#include <gtest/gtest.h>

#include "reminders/page_rules.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

TEST(PlanEdit, ADateTextHoldingDashesIsStillTheSchedule) {
  LocaleFormats iso;
  iso.shortDate = "yyyy-MM-dd";
  iso.longTime = "HH:mm:ss";
  EditPlan p = PlanEdit(Kind::Daily, "07:30:00-2000-12-31--Walk - then--run", iso, {2000, 6, 19});
  ASSERT_TRUE(p.time.has_value());
  EXPECT_EQ(*p.time, (TimeOfDay{7, 30, 0}));
  EXPECT_EQ(p.scheduleDate, (Date{2000, 12, 31}));
  EXPECT_EQ(p.message, "Walk - then--run");
}

TEST(PanelVisibility, HandWrittenValuesOtherThanZeroCountAsShown) {
  MemoryRegistry reg;
  const std::string section = std::string(kReminderButtonsKey) + "\\Button4";
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Monthly));
  reg.WriteText(section, "Visible", "no");
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Monthly));
  reg.WriteText(section, "visible", "7");
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Monthly));
  StorePanelVisible(reg, Kind::Monthly, false);
  EXPECT_FALSE(StoredPanelVisible(reg, Kind::Monthly));
  EXPECT_TRUE(StoredPanelVisible(reg, Kind::Daily));
}

}  // namespace
}  // namespace pendra
