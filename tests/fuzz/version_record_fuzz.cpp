// The version record reader on damaged and hostile records, and the about
// box's texts made from what it reads. The input is the record's bytes; the
// reader gets exactly these, so a read past them is caught.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "about/about_texts.h"
#include "about/version_record.h"
#include "settings/errors.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::int32_t Le32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                   static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 |
                                   static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  // A copy of exactly the input's length, so that the record's bytes end
  // where the sanitizer watches.
  const std::vector<std::uint8_t> bytes(data, data + size);
  VersionRecord record;
  try {
    record.Load(bytes.data(), bytes.size());
  } catch (const Error&) {
  }

  // Utf16ToAnsi gives one character per two bytes at most.
  FUZZ_REQUIRE(Utf16ToAnsi(data, size).size() <= size / 2);

  // Every number lies within the record, or there is none: -1.
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  for (std::size_t offset : {std::size_t{0}, std::size_t{48}, std::size_t{60}, size - 4, size - 3,
                             size, kMax - 3, kMax - 2, kMax}) {
    const std::int32_t n = record.Number(offset);
    if (record.HasRecord() && size >= 4 && offset <= size - 4)
      FUZZ_REQUIRE(n == Le32(data + offset));
    else
      FUZZ_REQUIRE(n == -1);
  }

  if (!record.HasRecord()) {
    FUZZ_REQUIRE(record.Keys().empty());
    FUZZ_REQUIRE(record.Value("ProductName") == kNotAvailable);
  }
  // Each string is "name=value", taken from within the record; a name gives
  // the value of its first string.
  std::size_t textSize = 0;
  for (const std::string& key : record.Keys()) {
    const std::size_t eq = key.find('=');
    FUZZ_REQUIRE(eq != std::string::npos);
    textSize += key.size() - 1;
    const std::string name = key.substr(0, eq + 1);
    for (const std::string& first : record.Keys()) {
      if (first.compare(0, name.size(), name) == 0) {
        FUZZ_REQUIRE(record.Value(key.substr(0, eq)) == first.substr(eq + 1));
        break;
      }
    }
  }
  // Two bytes at least for every character of every string.
  FUZZ_REQUIRE(textSize <= size / 2);

  const AboutTexts texts =
      ComposeAboutTexts(record, SystemInfo{"owner", "company", "Windows", "1"});
  FUZZ_REQUIRE(!texts.caption.empty() && !texts.version.empty());
  return 0;
}
