#include <gtest/gtest.h>

#include "notes/stored_font.h"
#include "platform/colors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

TEST(Colors, HighContrastOverridesEverythingAndAColourNeverStoredFollowsTheSystem) {
  constexpr SystemColors grey{false, 0x202020, 0xE0E0E0}, high{true, 0xFFFFFF, 0};
  constexpr int aqua = 0xFFFF00, green = 0x8000;
  const struct {
    std::optional<int> stored, background;
    SystemColors system;
    ColorPair shown;
  } cases[] = {
      {std::nullopt, std::nullopt, grey, {0x202020, 0xE0E0E0}},
      {0, std::nullopt, grey, {0, 0xE0E0E0}},  // a stored black is the user's
      {std::nullopt, aqua, grey, {0, aqua}},   // black on a background of its own
      {green, aqua, grey, {green, aqua}},
      {0, std::nullopt, high, {0xFFFFFF, 0}},
      {green, aqua, high, {0xFFFFFF, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(TextControlColors(c.stored, c.background, c.system), c.shown);
  EXPECT_EQ(FixedColors({0xFF, 0}, grey), (ColorPair{0xFF, 0}));
  EXPECT_EQ(FixedColors({0xFF, 0}, high), (ColorPair{0xFFFFFF, 0}));
}

TEST(StoredFont, OnlyAWholeNumberThereIsAStoredColour) {
  const char* key = "Software\\Tavrin Software\\Pendra\\Editor";
  const std::string fonts = std::string(key) + "\\Fonts";
  MemoryRegistry reg;
  auto stored = [&] {
    InRunFont inRun;
    RestoreFont(reg, key, inRun, {});
    return inRun.colorStored ? std::optional<int>(inRun.color) : std::nullopt;
  };
  EXPECT_EQ(stored(), std::nullopt);
  reg.WriteText(fonts, "Font Color", "black");
  EXPECT_EQ(stored(), std::nullopt);
  reg.WriteBinary(fonts, "Font Color");
  EXPECT_EQ(stored(), std::nullopt);
  reg.WriteText(fonts, "Font Color", "0");
  EXPECT_EQ(stored(), 0);
}

}  // namespace
}  // namespace pendra
