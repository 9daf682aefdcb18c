// Settings as the registry gives them back, whatever a user or another
// program stored there: the reading of integer settings, the stored fonts of
// the text windows, and the registered owner and system version the about box
// shows. The input gives each value's type and text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "about/about_texts.h"
#include "notes/stored_font.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace pendra;

// Stores a value of the input's choosing: missing, text, or of another type.
// Gives the text, or nullopt when no text was stored.
std::optional<std::string> Store(FuzzedDataProvider& in, MemoryRegistry& registry,
                                 const std::string& key, const std::string& name) {
  const int kind = in.ConsumeIntegralInRange(0, 3);
  if (kind == 0) return std::nullopt;
  if (kind == 1) {
    registry.WriteBinary(key, name);
    return std::nullopt;
  }
  std::string text = in.ConsumeRandomLengthString(24);
  registry.WriteText(key, name, text);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  MemoryRegistry user;
  const std::string key = kNotebookKey;
  const std::string fonts = key + "\\" + kFontsSection;

  // Any integer setting.
  const auto stored = Store(in, user, key + "\\Position", "Top");
  const TRegIniFile ini(user, key);
  try {
    const int top = ini.ReadInteger("Position", "Top", 114);
    FUZZ_REQUIRE(stored.has_value() || top == 114);
    if (stored) FUZZ_REQUIRE(top == fuzz::WholeNumber(*stored).value_or(114));
  } catch (const Error&) {
    FUZZ_REQUIRE(!stored);  // only a value of another type fails the read
  }

  // The stored font: a value that is missing, not text or no number reads
  // as the in-run copy; nothing fails.
  const auto name = Store(in, user, fonts, "Font Name");
  const auto fontSize = Store(in, user, fonts, "Font Size");
  const auto color = Store(in, user, fonts, "Font Color");
  for (const char* flag : {"Font Bold", "Font Italic", "Font BoldItalic"})
    Store(in, user, fonts, flag);
  InRunFont inRun{"Courier New", 10, 0xFF};
  const FontSpec current{"Arial", 9, 0, FontStyle{}};
  const FontSpec font = RestoreFont(user, key, inRun, current);
  // A stored empty name keeps the control's face.
  FUZZ_REQUIRE(font.name == (!name ? "Courier New" : name->empty() ? "Arial" : *name));
  FUZZ_REQUIRE(font.size == (fontSize ? fuzz::WholeNumber(*fontSize).value_or(10) : 10));
  FUZZ_REQUIRE(font.color == (color ? fuzz::WholeNumber(*color).value_or(0xFF) : 0xFF));
  FUZZ_REQUIRE(!font.style.underline && !font.style.strikeOut);

  // The system's owner and version: missing values and values of another
  // type read as empty.
  MemoryRegistry machine;
  for (const char* path : {kWindowsKey, kWindowsNtKey})
    for (const char* value : {"RegisteredOwner", "RegisteredOrganization", "Version", "ProductName",
                              "VersionNumber", "CurrentBuildNumber"})
      Store(in, machine, path, value);
  const SystemInfo system = ReadSystemInfo(machine);
  for (const std::string* text :
       {&system.owner, &system.organization, &system.productName, &system.versionNumber}) {
    FUZZ_REQUIRE(text->size() <= 24);
  }
  return 0;
}
