#pragma once
// The font a text window remembers: six values in the section "Fonts" of the
// window's settings key, and the window's in-run copies of name, size and
// colour that stand in for a missing value.
#include <optional>
#include <string>

#include "platform/services.h"

namespace pendra {

class IRegistry;

inline constexpr const char* kFontsSection = "Fonts";

// The in-run copies: empty, 0 and 0 (black) when the program starts.
// `colorStored`: a colour was read from the key or chosen in this run. Until
// then the colour is the first-use default, which the text shows in the
// system's colours; a stored black is the user's and shows black.
struct InRunFont {
  std::string name;
  int size = 0;
  int color = 0;
  bool colorStored = false;
};

// The three stored style flags. Only the exact styles {bold}, {italic} and
// {bold, italic} are stored; any other style is three false flags.
struct StoredStyle {
  bool bold = true;  // the defaults of a missing value
  bool italic = true;
  bool boldItalic = true;
  friend bool operator==(const StoredStyle&, const StoredStyle&) = default;
};

StoredStyle StoredStyleOf(const FontStyle& style);

// The style the flags give: each true flag replaces the style in the order
// bold, italic, bold italic, so the last true one wins; nullopt when none is
// true (the control keeps its style).
std::optional<FontStyle> StyleFromStored(const StoredStyle& stored);

// Reads the stored font from the key, updating the in-run copies, and gives
// the control's font after the restore: the stored face unless it is empty,
// the stored size and colour, and the style the flags give. A value that is
// missing or not text reads as its default; nothing is reported.
FontSpec RestoreFont(IRegistry& registry, const std::string& key, InRunFont& inRun,
                     const FontSpec& current);

// Where a font to be stored comes from: the user's choice in the font
// dialog, or the control's font kept through a cancelled dialog.
enum class FontOrigin { Chosen, Current };

// Writes the six values from `font` in the order "Font Name", "Font Size",
// "Font Color", "Font Bold", "Font Italic", "Font BoldItalic" and updates the
// in-run copies. A value that cannot be written is passed over silently.
// A current font whose colour is still the first-use default leaves "Font
// Color" unwritten, so a cancelled dialog does not turn "the system's
// colour" into a stored black.
void StoreFont(IRegistry& registry, const std::string& key, InRunFont& inRun,
               const FontSpec& font, FontOrigin origin = FontOrigin::Chosen);

// What the font choice does when the user cancels the dialog.
enum class FontCancel {
  StoreCurrentFont,  // the stored font records the control's font (notebook, editor)
  StoreNothing,      // quick notes
};

}  // namespace pendra
