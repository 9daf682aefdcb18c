#pragma once
// Which colours the program shows. Under high contrast every surface takes
// the system's window colours, whatever the user stored or the program
// designed, so no text can end up black on black. Otherwise a text control
// whose font colour was never stored follows the system's window colours
// too; only a colour the user chose is shown as it is.
#include <optional>

namespace pendra {

// Colours as 0x00BBGGRR.
struct SystemColors {
  bool highContrast = false;
  int windowText = 0x000000;
  int window = 0xFFFFFF;
  friend bool operator==(const SystemColors&, const SystemColors&) = default;
};

struct ColorPair {
  int text = 0;
  int background = 0;
  friend bool operator==(const ColorPair&, const ColorPair&) = default;
};

// A text control. `stored`: its stored font colour, nullopt while none is
// stored (first use). `designedBackground`: a background of its own (quick
// notes' aqua), nullopt for the system's window colour; a text without a
// stored colour is black on it, as designed.
ColorPair TextControlColors(std::optional<int> stored, std::optional<int> designedBackground,
                            const SystemColors& system);

// A surface painted in the program's own colours (the clocks' red on black,
// the reminder pages' teal): those, unless high contrast is on.
ColorPair FixedColors(ColorPair designed, const SystemColors& system);

}  // namespace pendra
