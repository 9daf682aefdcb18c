#include "notes/stored_font.h"

#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

constexpr const char* kName = "Font Name";
constexpr const char* kSize = "Font Size";
constexpr const char* kColor = "Font Color";
constexpr const char* kBold = "Font Bold";
constexpr const char* kItalic = "Font Italic";
constexpr const char* kBoldItalic = "Font BoldItalic";

// A stored font value of the wrong type must not stop the window that reads
// it from showing its text, so it reads as missing.
template <class T, class Read>
T ReadOr(T def, Read read) {
  try {
    return read(def);
  } catch (const Error&) {
    return def;
  }
}

template <class Write>
void WriteQuietly(Write write) {
  try {
    write();
  } catch (const Error&) {
  }
}

// The stored colour, or nullopt when none is: a value that is missing, of
// the wrong type or no whole number reads as the in-run copy. Two reads with
// different defaults agree only on a number that is there.
std::optional<int> StoredColor(const TRegIniFile& ini) {
  try {
    const int color = ini.ReadInteger(kFontsSection, kColor, 0);
    if (color != 0 || ini.ReadInteger(kFontsSection, kColor, -1) == 0) return color;
  } catch (const Error&) {
  }
  return std::nullopt;
}

}  // namespace

StoredStyle StoredStyleOf(const FontStyle& style) {
  const bool plain = !style.underline && !style.strikeOut;
  return {plain && style.bold && !style.italic, plain && !style.bold && style.italic,
          plain && style.bold && style.italic};
}

std::optional<FontStyle> StyleFromStored(const StoredStyle& stored) {
  std::optional<FontStyle> style;
  if (stored.bold) style = FontStyle{true, false, false, false};
  if (stored.italic) style = FontStyle{false, true, false, false};
  if (stored.boldItalic) style = FontStyle{true, true, false, false};
  return style;
}

FontSpec RestoreFont(IRegistry& registry, const std::string& key, InRunFont& inRun,
                     const FontSpec& current) {
  const TRegIniFile ini(registry, key);
  auto text = [&](const char* ident, const std::string& def) {
    return ReadOr(def, [&](const std::string& d) { return ini.ReadString(kFontsSection, ident, d); });
  };
  auto number = [&](const char* ident, int def) {
    return ReadOr(def, [&](int d) { return ini.ReadInteger(kFontsSection, ident, d); });
  };
  auto flag = [&](const char* ident) {
    return ReadOr(true, [&](bool d) { return ini.ReadBool(kFontsSection, ident, d); });
  };
  inRun.name = text(kName, inRun.name);
  inRun.size = number(kSize, inRun.size);
  if (const auto color = StoredColor(ini)) {
    inRun.color = *color;
    inRun.colorStored = true;
  }
  const StoredStyle stored{flag(kBold), flag(kItalic), flag(kBoldItalic)};

  FontSpec font = current;
  if (!inRun.name.empty()) font.name = inRun.name;
  font.size = inRun.size;
  font.color = inRun.color;
  if (auto style = StyleFromStored(stored)) font.style = *style;
  return font;
}

void StoreFont(IRegistry& registry, const std::string& key, InRunFont& inRun,
               const FontSpec& font, FontOrigin origin) {
  TRegIniFile ini(registry, key);
  const StoredStyle stored = StoredStyleOf(font.style);
  if (origin == FontOrigin::Chosen) inRun.colorStored = true;
  WriteQuietly([&] { ini.WriteString(kFontsSection, kName, font.name); });
  WriteQuietly([&] { ini.WriteInteger(kFontsSection, kSize, font.size); });
  if (inRun.colorStored) WriteQuietly([&] { ini.WriteInteger(kFontsSection, kColor, font.color); });
  WriteQuietly([&] { ini.WriteBool(kFontsSection, kBold, stored.bold); });
  WriteQuietly([&] { ini.WriteBool(kFontsSection, kItalic, stored.italic); });
  WriteQuietly([&] { ini.WriteBool(kFontsSection, kBoldItalic, stored.boldItalic); });
  inRun.name = font.name;
  inRun.size = font.size;
  inRun.color = font.color;
}

}  // namespace pendra
