#pragma once
// What the fuzz targets share: a property check that stops the run on the
// input that broke it, and the locale pictures the readers meet in practice.
#include <cstdio>
#include <cstdlib>

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
  f.longDayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
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

}  // namespace pendra::fuzz
