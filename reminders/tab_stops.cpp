#include "reminders/tab_stops.h"

#include <climits>
#include <cstdint>
#include <optional>

namespace pendra {

TabStops DefaultTabStops() {
  TabStops stops{};
  for (std::size_t i = 0; i < stops.size(); ++i) stops[i] = static_cast<int>(i) * 100;
  return stops;
}

std::string FormatTabsString(const TabStops& stops) {
  std::string text;
  for (int stop : stops) {
    text += std::to_string(stop);
    text += ';';
  }
  return text;
}

namespace {

// Optional leading blanks, optional sign, decimal digits and nothing else;
// anything else, or a value outside 32 bits, is not a number.
std::optional<int> ToInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

TabStops ParseTabsString(std::string_view text) {
  TabStops stops{};
  for (int& stop : stops) {
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string_view::npos) {
      stop = 0;
      continue;
    }
    stop = ToInteger(text.substr(0, semicolon)).value_or(0);
    text.remove_prefix(semicolon + 1);
  }
  return stops;
}

TabStops ToListTabUnits(const TabStops& pixels, int lettersWidth) {
  // A font narrower than one pixel per letter would give an average of 0.
  const std::int64_t average = lettersWidth < 52 ? 1 : lettersWidth / 52;
  TabStops units{};
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    std::int64_t unit = static_cast<std::int64_t>(pixels[i]) * 4 / average;
    if (unit > INT_MAX) unit = INT_MAX;
    if (unit < INT_MIN) unit = INT_MIN;
    units[i] = static_cast<int>(unit);
  }
  return units;
}

}  // namespace pendra
