#pragma once
// Tab positions of the tabbed list box: the TabsString property and the
// conversion of pixel positions into the list box's tab unit.
#include <array>
#include <string>
#include <string_view>

namespace pendra {

using TabStops = std::array<int, 10>;

TabStops DefaultTabStops();  // 0, 100, ..., 900
// Each position in decimal followed by ";", the last one too.
std::string FormatTabsString(const TabStops& stops);
// Ten rounds: a number is read only when followed by ";"; others give 0.
TabStops ParseTabsString(std::string_view text);
// lettersWidth: width in pixels of the 52 letters A..Z a..z in the list's font.
// Quarters of the average character width, dropping remainders. A font whose
// letters measure under 52 pixels counts as one pixel per character.
TabStops ToListTabUnits(const TabStops& pixels, int lettersWidth);

}  // namespace pendra
