#include <gtest/gtest.h>

#include "notes/stored_font.h"
#include "platform/colors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

constexpr SystemColors kGrey{false, 0x202020, 0xE0E0E0};
constexpr SystemColors kHighContrast{true, 0xFFFFFF, 0x000000};
constexpr int kAqua = 0xFFFF00, kGreen = 0x008000;

TEST(Colors, HighContrastOverridesEverythingAndAColourNeverStoredFollowsTheSystem) {
  struct Case {
    std::optional<int> stored, background;
    SystemColors system;
    ColorPair shown;
  } cases[] = {
      {std::nullopt, std::nullopt, kGrey, {0x202020, 0xE0E0E0}},
      {0, std::nullopt, kGrey, {0, 0xE0E0E0}},  // a stored black is the user's
      {kGreen, std::nullopt, kGrey, {kGreen, 0xE0E0E0}},
      {std::nullopt, kAqua, kGrey, {0, kAqua}},  // black on its own background
      {kGreen, kAqua, kGrey, {kGreen, kAqua}},
      {0, std::nullopt, kHighContrast, {0xFFFFFF, 0}},
      {kGreen, kAqua, kHighContrast, {0xFFFFFF, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextControlColors(c.stored, c.background, c.system), c.shown)
        << c.stored.value_or(-1) << " on " << c.background.value_or(-1);
  EXPECT_EQ(FixedColors({0xFF, 0}, kGrey), (ColorPair{0xFF, 0}));
  EXPECT_EQ(FixedColors({0xFF, 0}, kHighContrast), (ColorPair{0xFFFFFF, 0}));
}

TEST(StoredFont, OnlyANumberThereIsAStoredColourAndACancelKeepsTheDefaultUnstored) {
  constexpr const char* kKey = "Software\\Tavrin Software\\Pendra\\Editor";
  const std::string fonts = std::string(kKey) + "\\Fonts";
  MemoryRegistry reg;
  auto restored = [&] {
    InRunFont inRun;
    RestoreFont(reg, kKey, inRun, {});
    return inRun.colorStored ? std::optional<int>(inRun.color) : std::nullopt;
  };
  EXPECT_EQ(restored(), std::nullopt);
  reg.WriteText(fonts, "Font Color", "black");
  EXPECT_EQ(restored(), std::nullopt);
  reg.WriteBinary(fonts, "Font Color");
  EXPECT_EQ(restored(), std::nullopt);
  reg.WriteText(fonts, "Font Color", "0");
  EXPECT_EQ(restored(), 0);

  MemoryRegistry fresh;
  InRunFont inRun;
  std::string value;
  StoreFont(fresh, kKey, inRun, {"Arial", 9, 0, {}}, FontOrigin::Current);
  EXPECT_EQ(fresh.Read(fonts, "Font Name", value), ValueKind::Text);
  EXPECT_EQ(fresh.Read(fonts, "Font Color", value), ValueKind::Missing);
  StoreFont(fresh, kKey, inRun, {"Arial", 9, 0, {}}, FontOrigin::Chosen);
  ASSERT_EQ(fresh.Read(fonts, "Font Color", value), ValueKind::Text);
  EXPECT_EQ(value, "0");
  StoreFont(fresh, kKey, inRun, {"Arial", 9, kGreen, {}}, FontOrigin::Current);
  fresh.Read(fonts, "Font Color", value);
  EXPECT_EQ(value, std::to_string(kGreen));  // once stored, the colour goes on being stored
}

}  // namespace
}  // namespace pendra
