#include "platform/colors.h"

namespace pendra {

namespace {
constexpr int kBlack = 0x000000;
}  // namespace

ColorPair TextControlColors(std::optional<int> stored, std::optional<int> designedBackground,
                            const SystemColors& system) {
  if (system.highContrast) return {system.windowText, system.window};
  if (designedBackground) return {stored.value_or(kBlack), *designedBackground};
  return {stored.value_or(system.windowText), system.window};
}

ColorPair FixedColors(ColorPair designed, const SystemColors& system) {
  return system.highContrast ? ColorPair{system.windowText, system.window} : designed;
}

}  // namespace pendra
