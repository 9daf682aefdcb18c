// The tabbed list's TabsString, and its positions turned into list box units
// for a font of any width. The input is the string; its last bytes give the
// width of the font's letters.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "reminders/tab_stops.h"
#include "tests/fuzz/fuzz_support.h"

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
    FUZZ_REQUIRE(stop == fuzz::WholeNumber(rest.substr(0, semicolon)).value_or(0));
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
