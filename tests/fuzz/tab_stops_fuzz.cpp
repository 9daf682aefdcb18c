// The tabbed list's TabsString, and its positions turned into list box units
// for a font of any width. The input is the string; its last bytes give the
// width of the font's letters.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "reminders/tab_stops.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A whole decimal number in 32 bits after optional blanks and an optional sign.
std::optional<int> WholeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  FuzzedDataProvider in(data, size);
  const int lettersWidth = in.ConsumeIntegral<int>();
  const std::string text = in.ConsumeRemainingBytesAsString();

  const TabStops stops = ParseTabsString(text);
  // Each of the ten positions is the number before its ";", or 0.
  std::string_view rest = text;
  for (int stop : stops) {
    const std::size_t semicolon = rest.find(';');
    if (semicolon == std::string_view::npos) {
      FUZZ_REQUIRE(stop == 0);
      continue;
    }
    FUZZ_REQUIRE(stop == WholeNumber(rest.substr(0, semicolon)).value_or(0));
    rest.remove_prefix(semicolon + 1);
  }
  FUZZ_REQUIRE(ParseTabsString(FormatTabsString(stops)) == stops);

  // Units keep the sign of their position and grow no faster than four per pixel.
  const TabStops units = ToListTabUnits(stops, lettersWidth);
  for (std::size_t i = 0; i < stops.size(); ++i) {
    const long long pixels = stops[i];
    const long long unit = units[i];
    FUZZ_REQUIRE((unit > 0) <= (pixels > 0) && (unit < 0) <= (pixels < 0));
    FUZZ_REQUIRE(std::llabs(unit) <= 4 * std::llabs(pixels));
  }
  return 0;
}
