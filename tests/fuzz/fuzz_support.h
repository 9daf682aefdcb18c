#pragma once
// What the fuzz targets share: a property check that stops the run on the
// input that broke it, and the locale pictures the readers meet in practice.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "settings/datetime.h"

// A property that does not hold is a finding like a crash: libFuzzer keeps
// the input and the run fails.
#define FUZZ_REQUIRE(condition)                                                        \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)

namespace pendra::fuzz {

inline LocaleFormats EnUs() { return LocaleFormats{}; }

inline LocaleFormats German() {
  LocaleFormats f;
  f.shortDate = "dd.MM.yyyy";
  f.longTime = "HH:mm:ss";
  f.am = "";
  f.pm = "";
  f.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                    "Donnerstag", "Freitag", "Samstag"};
  f.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  f.longMonthNames = {"Januar", "Februar", "M\xE4rz",  "April",   "Mai",      "Juni",
                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  f.shortMonthNames = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun",
                       "Jul", "Aug", "Sep",    "Okt", "Nov", "Dez"};
  return f;
}

inline LocaleFormats Iso() {
  LocaleFormats f;
  f.shortDate = "yyyy-MM-dd";
  f.longTime = "HH:mm:ss";
  return f;
}

// A whole decimal number in 32 bits after optional blanks and an optional
// sign: how stored integers read, told in other words than the readers'.
inline std::optional<int> WholeNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace pendra::fuzz
