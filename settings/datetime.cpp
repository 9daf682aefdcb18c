#include "settings/datetime.h"

#include <cstddef>
#include <string>

namespace pendra {

const std::array<const char*, 7> kEnglishWeekdayNames{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// ---- Calendar ---------------------------------------------------------------

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& d) {
  return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= DaysInMonth(d.year, d.month);
}

namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's
// algorithm), so that date arithmetic is a plain subtraction.
long DaysFromCivil(const Date& d) {
  long y = d.year - (d.month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long mp = (d.month + 9) % 12;
  const long doy = (153 * mp + 2) / 5 + d.day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const long day = doy - (153 * mp + 2) / 5 + 1;
  const long month = mp < 10 ? mp + 3 : mp - 9;
  const long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return Date{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

}  // namespace

int DayOfWeek(const Date& d) {
  // 1970-01-01 was a Thursday.
  long w = (DaysFromCivil(d) + 4) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

Date AddDays(const Date& d, int days) { return CivilFromDays(DaysFromCivil(d) + days); }

long DaysBetween(const Date& from, const Date& to) { return DaysFromCivil(to) - DaysFromCivil(from); }

int SecondsOfDay(const TimeOfDay& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

TimeOfDay TimeFromSeconds(int secondsOfDay) {
  int s = secondsOfDay % 86400;
  if (s < 0) s += 86400;
  return TimeOfDay{s / 3600, s / 60 % 60, s % 60};
}

// ---- Pictures ---------------------------------------------------------------

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsTokenLetter(char c, bool datePicture) {
  if (datePicture) return c == 'd' || c == 'M' || c == 'y' || c == 'g';
  return c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't';
}

// Walks a Windows picture, calling token(letter, count) for each run of a
// picture letter and literal(text) for everything else. Quoted text is
// literal; two single quotes give one quote, inside quotes or out.
template <class Token, class Literal>
void WalkPicture(std::string_view pic, bool datePicture, Token&& token, Literal&& literal) {
  std::size_t i = 0;
  const std::size_t n = pic.size();
  while (i < n) {
    const char c = pic[i];
    if (c == '\'') {
      if (i + 1 < n && pic[i + 1] == '\'') {
        literal(std::string_view("'"));
        i += 2;
        continue;
      }
      ++i;
      while (i < n) {
        std::size_t start = i;
        while (i < n && pic[i] != '\'') ++i;
        if (i > start) literal(pic.substr(start, i - start));
        if (i >= n) break;
        if (i + 1 < n && pic[i + 1] == '\'') {  // escaped quote inside quotes
          literal(std::string_view("'"));
          i += 2;
          continue;
        }
        ++i;  // closing quote
        break;
      }
    } else if (IsTokenLetter(c, datePicture)) {
      std::size_t start = i;
      while (i < n && pic[i] == c) ++i;
      token(c, static_cast<int>(i - start));
    } else {
      std::size_t start = i;
      while (i < n && pic[i] != '\'' && !IsTokenLetter(pic[i], datePicture)) ++i;
      literal(pic.substr(start, i - start));
    }
  }
}

void AppendNumber(std::string& out, int value, int minDigits) {
  char buf[12];
  int len = 0;
  unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    buf[len++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  for (int i = len; i < minDigits; ++i) out += '0';
  while (len > 0) out += buf[--len];
}

int Hour12(int hour) {
  int h = hour % 12;
  return h == 0 ? 12 : h;
}

const std::string& Index(const std::array<std::string, 7>& names, int i) {
  return names[static_cast<std::size_t>(i)];
}
const std::string& Index(const std::array<std::string, 12>& names, int i) {
  return names[static_cast<std::size_t>(i)];
}

}  // namespace

std::string FormatTimeText(const LocaleFormats& f, const TimeOfDay& t) {
  std::string out;
  out.reserve(16);
  WalkPicture(
      f.longTime, false,
      [&](char c, int count) {
        const bool two = count >= 2;
        switch (c) {
          case 'h': AppendNumber(out, Hour12(t.hour), two ? 2 : 1); break;
          case 'H': AppendNumber(out, t.hour, two ? 2 : 1); break;
          case 'm': AppendNumber(out, t.minute, two ? 2 : 1); break;
          case 's': AppendNumber(out, t.second, two ? 2 : 1); break;
          case 't': {
            const std::string& d = t.hour < 12 ? f.am : f.pm;
            if (two) out += d;
            else if (!d.empty()) out += d[0];
            break;
          }
          default: break;
        }
      },
      [&](std::string_view lit) { out += lit; });
  return out;
}

std::string FormatDateText(const LocaleFormats& f, const Date& d) {
  std::string out;
  out.reserve(16);
  const int month = d.month >= 1 && d.month <= 12 ? d.month : 1;
  WalkPicture(
      f.shortDate, true,
      [&](char c, int count) {
        switch (c) {
          case 'd':
            if (count <= 2) AppendNumber(out, d.day, count);
            else out += Index(count == 3 ? f.shortDayNames : f.longDayNames, DayOfWeek(d));
            break;
          case 'M':
            if (count <= 2) AppendNumber(out, d.month, count);
            else out += Index(count == 3 ? f.shortMonthNames : f.longMonthNames, month - 1);
            break;
          case 'y':
            if (count == 1) AppendNumber(out, d.year % 100, 1);
            else if (count == 2) AppendNumber(out, d.year % 100, 2);
            else AppendNumber(out, d.year, 4);
            break;
          default: break;  // era: not written
        }
      },
      [&](std::string_view lit) { out += lit; });
  return out;
}

// ---- Converting back --------------------------------------------------------

namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool Take(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // 1 to maxDigits digits. A digit left over fails whatever must follow, so
  // fields written without a separator ("yyyyMMdd") still convert.
  std::optional<int> Number(int maxDigits, int* digitCount = nullptr) {
    int value = 0;
    int count = 0;
    while (count < maxDigits && !AtEnd() && IsDigit(text_[pos_])) {
      value = value * 10 + (text_[pos_] - '0');
      ++pos_;
      ++count;
    }
    if (count == 0) return std::nullopt;
    if (digitCount) *digitCount = count;
    return value;
  }

  // Matches word at the cursor without regard to ASCII letter case.
  bool TakeWord(std::string_view word) {
    if (word.empty() || text_.size() - pos_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (LowerAscii(text_[pos_ + i]) != LowerAscii(word[i])) return false;
    pos_ += word.size();
    return true;
  }

  // Takes the longest of the words that matches; returns its index or -1.
  template <class Words>
  int TakeLongest(const Words& words) {
    int best = -1;
    std::size_t bestLen = 0;
    const std::size_t save = pos_;
    for (std::size_t i = 0; i < words.size(); ++i) {
      std::string_view w = words[i];
      if (w.size() > bestLen && TakeWord(w)) {
        best = static_cast<int>(i);
        bestLen = w.size();
      }
      pos_ = save;
    }
    pos_ += bestLen;
    return best;
  }

  // Literal picture text: blanks are optional on both sides, other characters
  // must match (letters without regard to case).
  bool TakeLiteral(std::string_view lit) {
    for (char c : lit) {
      if (IsBlank(c)) continue;
      SkipBlanks();
      if (AtEnd() || LowerAscii(text_[pos_]) != LowerAscii(c)) return false;
      ++pos_;
    }
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Two-digit years fall in 1950..2049.
int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

std::optional<bool> TakeDesignator(Scanner& s, const LocaleFormats& f) {
  // Index parity tells AM from PM.
  const std::array<std::string_view, 4> words{f.am, f.pm, "AM", "PM"};
  int i = s.TakeLongest(words);
  if (i < 0) return std::nullopt;
  return i % 2 == 1;
}

char TimeSeparator(const LocaleFormats& f) {
  char sep = 0;
  bool afterHour = false;
  WalkPicture(
      f.longTime, false,
      [&](char c, int) {
        if (c == 'h' || c == 'H') afterHour = true;
      },
      [&](std::string_view lit) {
        if (!afterHour || sep) return;
        for (char c : lit)
          if (!IsBlank(c)) {
            sep = c;
            return;
          }
      });
  return sep ? sep : ':';
}

}  // namespace

std::optional<TimeOfDay> ParseTimeText(const LocaleFormats& f, std::string_view text) {
  Scanner s(text);
  const char sep = TimeSeparator(f);

  s.SkipBlanks();
  std::optional<bool> pm = TakeDesignator(s, f);
  s.SkipBlanks();

  auto hour = s.Number(2);
  if (!hour || !s.Take(sep)) return std::nullopt;
  auto minute = s.Number(2);
  if (!minute) return std::nullopt;
  int second = 0;
  if (s.Take(sep)) {
    auto sec = s.Number(2);
    if (!sec) return std::nullopt;
    second = *sec;
  }
  s.SkipBlanks();
  if (!pm) {
    pm = TakeDesignator(s, f);
    s.SkipBlanks();
  }
  if (!s.AtEnd()) return std::nullopt;

  int h = *hour;
  if (pm) {
    if (h > 12) return std::nullopt;
    if (*pm && h < 12) h += 12;
    if (!*pm && h == 12) h = 0;
  }
  if (h > 23 || *minute > 59 || second > 59) return std::nullopt;
  return TimeOfDay{h, *minute, second};
}

std::optional<Date> ParseDateText(const LocaleFormats& f, std::string_view text) {
  Scanner s(text);
  int day = -1, month = -1, year = -1, yearDigits = 0;
  bool ok = true;

  auto assign = [&](int& slot, std::optional<int> v) {
    if (!v || slot >= 0) ok = false;
    else slot = *v;
  };

  WalkPicture(
      f.shortDate, true,
      [&](char c, int count) {
        if (!ok) return;
        if (c == 'g') return;
        s.SkipBlanks();
        if (c == 'd') {
          if (count <= 2) assign(day, s.Number(2));
          else if (s.TakeLongest(f.longDayNames) < 0 && s.TakeLongest(f.shortDayNames) < 0)
            ok = false;
        } else if (c == 'M') {
          std::optional<int> m;
          if (count >= 3) {
            int i = s.TakeLongest(f.longMonthNames);
            if (i < 0) i = s.TakeLongest(f.shortMonthNames);
            if (i >= 0) m = i + 1;
          }
          if (!m) m = s.Number(2);
          assign(month, m);
        } else if (c == 'y') {
          assign(year, s.Number(4, &yearDigits));
        }
      },
      [&](std::string_view lit) {
        if (ok && !s.TakeLiteral(lit)) ok = false;
      });
  s.SkipBlanks();
  if (!ok || !s.AtEnd() || day < 0 || month < 0 || year < 0) return std::nullopt;
  Date d{ExpandYear(year, yearDigits), month, day};
  if (!IsValidDate(d)) return std::nullopt;
  return d;
}

// ---- Announcement patterns --------------------------------------------------

std::string FormatAnnouncementDate(const LocaleFormats& f, const Date& d) {
  std::string out;
  out += Index(f.longDayNames, DayOfWeek(d));
  out += ", ";
  out += Index(f.longMonthNames, (d.month >= 1 && d.month <= 12 ? d.month : 1) - 1);
  out += ' ';
  AppendNumber(out, d.day, 1);
  out += ", ";
  AppendNumber(out, d.year, 4);
  out += ',';
  return out;
}

std::string FormatAnnouncementTime(const TimeOfDay& t) {
  std::string out;
  out.reserve(8);
  AppendNumber(out, Hour12(t.hour), 1);
  out += ':';
  AppendNumber(out, t.minute, 2);
  out += t.hour < 12 ? " AM" : " PM";
  return out;
}

}  // namespace pendra
