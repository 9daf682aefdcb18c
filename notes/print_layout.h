#pragma once
// Lays text out on printer pages in one font, from the top left corner of
// the printable area. The plain-text printout breaks a line that is wider
// than the page at the character that no longer fits; the formatted printout
// (where the control cannot paginate itself) breaks at the last blank, as the
// control wraps its lines.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/code_page.h"

namespace pendra {

// Device units of the printer's page and font.
struct PrintMetrics {
  int pageWidth = 0;   // printable area
  int pageHeight = 0;
  int lineHeight = 0;  // the font's character height
  int averageCharWidth = 0;
  std::array<int, 256> charWidths{};  // advance of each 8-bit character
  // A character of two bytes is laid out whole, never cut at a line's end;
  // its advance comes from doubleByteWidth (the sum of its bytes' widths
  // without one).
  CodePage codePage;
  std::function<int(std::string_view character)> doubleByteWidth;
};

// A piece of one line drawn at (x, y) on its page.
struct PrintRun {
  int x = 0;
  int y = 0;
  std::string text;
  friend bool operator==(const PrintRun&, const PrintRun&) = default;
};
using PrintPage = std::vector<PrintRun>;

enum class LineBreaks { AtCharacter, AtWord };

// A line end (CR LF, CR or LF) moves to the start of the next line; a tab to
// the next multiple of eight average character widths; a form feed starts a
// new page, and so does a line that would not fit below the last one. There
// is always at least one page.
std::vector<PrintPage> LayOutPages(std::string_view text, const PrintMetrics& metrics,
                                   LineBreaks breaks);

// Tab stops of the printer text device: the next multiple of eight average
// character widths after x.
int NextTabStop(int x, int averageCharWidth);

}  // namespace pendra
