// A page's text laid out for the printer, as the notebook, the editor and the
// quick-notes pad print it: a page file may hold anything. The input is the
// text; its last bytes give the printer's page and font measures.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "notes/print_layout.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  FuzzedDataProvider in(data, size);
  PrintMetrics m;
  m.pageWidth = in.ConsumeIntegralInRange(0, 10000);
  m.pageHeight = in.ConsumeIntegralInRange(0, 15000);
  m.lineHeight = in.ConsumeIntegralInRange(0, 2000);
  m.averageCharWidth = in.ConsumeIntegralInRange(0, 500);
  m.charWidths.fill(m.averageCharWidth);
  for (int i = in.ConsumeIntegralInRange(0, 8); i > 0; --i)
    m.charWidths[in.ConsumeIntegral<std::uint8_t>()] = in.ConsumeIntegralInRange(0, 2000);
  const LineBreaks breaks = in.ConsumeBool() ? LineBreaks::AtWord : LineBreaks::AtCharacter;
  if (in.ConsumeBool()) m.codePage = CodePage(932);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::vector<PrintPage> pages = LayOutPages(text, m, breaks);
  // Every character that is drawn is drawn once, in order; a form feed starts
  // a page, and a line lies below the page's end only when it is its first.
  std::string drawn;
  for (const PrintPage& page : pages) {
    for (const PrintRun& run : page) {
      FUZZ_REQUIRE(run.x >= 0 && run.y >= 0 && !run.text.empty());
      FUZZ_REQUIRE(run.y == 0 || run.y + m.lineHeight <= m.pageHeight);
      drawn += run.text;
    }
  }
  std::string expected;
  for (char c : text)
    if (c != '\r' && c != '\n' && c != '\t' && c != '\f') expected += c;
  FUZZ_REQUIRE(drawn == expected);
  const auto formFeeds = std::count(text.begin(), text.end(), '\f');
  FUZZ_REQUIRE(pages.size() >= 1 + static_cast<std::size_t>(formFeeds));
  return 0;
}
