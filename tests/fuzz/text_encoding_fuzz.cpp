// Page and note files as other programs write them: how they are read, and
// their line ends made CR LF before the text control sees them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/list_file.h"
#include "settings/text_encoding.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // A file read as UTF-8 holds well-formed UTF-8 after its mark.
  const TextEncoding read = DetectEncoding(bytes);
  const std::string_view text = TextOfFile(bytes, read);
  if (IsUtf8(read)) FUZZ_REQUIRE(IsValidUtf8(text));
  // Every other file is shown read-only, never written.
  const bool readOnly = !WhyReadOnly(bytes, read).empty();
  if (IsUtf16(read) && !readOnly) FUZZ_REQUIRE(ToUtf16Bytes(FromUtf16Bytes(text, read), read) == text);
  if (IsUtf32(read)) FUZZ_REQUIRE(readOnly && FromUtf32Bytes(text, read).size() <= text.size() / 2);

  // The line ends become CR LF: every line stays, nothing else changes, and
  // UTF-8 stays well-formed.
  const std::string crlf = WithCrLfLineEnds(text);
  FUZZ_REQUIRE(HasOnlyCrLfLineEnds(crlf));
  FUZZ_REQUIRE(SplitLines(crlf) == SplitLines(text));
  FUZZ_REQUIRE(WithCrLfLineEnds(crlf) == crlf);
  FUZZ_REQUIRE(HasOnlyCrLfLineEnds(text) == (crlf == text));
  if (IsValidUtf8(text)) FUZZ_REQUIRE(IsValidUtf8(crlf));
  return 0;
}
