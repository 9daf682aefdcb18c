#include "about/version_record.h"

#include <algorithm>

#include "settings/errors.h"

namespace pendra {

namespace {

constexpr std::size_t kRecordKey = 6;
constexpr std::size_t kFirstChildKey = 98;
constexpr std::size_t kFirstTable = 128;
constexpr std::size_t kFirstString = 152;
constexpr std::size_t kStringHeader = 6;  // total length, value length, type

// Windows-1252's characters 0x80..0x9F; 0 where the code page has none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < 32; ++i)
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

std::uint16_t U16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::size_t Align4(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

// Units of the zero-ended UTF-16 text at `at`, up to `end`, without its zero.
std::size_t Utf16Units(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end) {
  std::size_t units = 0;
  while (at + 2 * units + 1 < end && U16(bytes, at + 2 * units) != 0) ++units;
  return units;
}

std::string TextAt(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t end) {
  if (at >= end) return {};
  return Utf16ToAnsi(bytes.data() + at, end - at);
}

}  // namespace

std::string Utf16ToAnsi(const std::uint8_t* data, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (c == 0) break;
    // A surrogate pair stands for one character the code page does not have.
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < size) {
      const auto next = static_cast<char16_t>(data[i + 2] | data[i + 3] << 8);
      if (next >= 0xDC00 && next <= 0xDFFF) i += 2;
    }
    text += ToAnsi(c);
  }
  return text;
}

void VersionRecord::Clear() {
  record_.clear();
  keys_.clear();
}

void VersionRecord::Load(const std::uint8_t* data, std::size_t size) {
  Clear();
  if (!data || size <= kRecordKey) return;
  if (Utf16ToAnsi(data + kRecordKey, size - kRecordKey) != "VS_VERSION_INFO") return;
  record_.assign(data, data + size);
  Parse();
}

void VersionRecord::Parse() {
  const std::size_t size = record_.size();
  if (TextAt(record_, kFirstChildKey, size) != "StringFileInfo")
    throw Error("Unrecognised version block");
  keys_.clear();
  if (size < kFirstTable + 2) return;
  const std::size_t tableEnd = std::min(size, kFirstTable + U16(record_, kFirstTable));
  std::size_t pos = kFirstString;
  while (pos < tableEnd && pos + kStringHeader <= size) {
    const std::size_t length = U16(record_, pos);
    // A length that cannot even hold the header would never move on.
    if (length < kStringHeader) break;
    const std::size_t end = std::min(pos + length, size);
    const std::size_t nameAt = pos + kStringHeader;
    const std::size_t nameUnits = Utf16Units(record_, nameAt, end);
    const std::size_t valueAt = Align4(nameAt + 2 * (nameUnits + 1));
    keys_.push_back(TextAt(record_, nameAt, end) + "=" + TextAt(record_, valueAt, end));
    pos = Align4(pos + length);
  }
}

std::string VersionRecord::Value(std::string_view name) const {
  if (!HasRecord()) return kNotAvailable;
  for (const auto& line : keys_) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && std::string_view(line).substr(0, eq) == name)
      return line.substr(eq + 1);
  }
  return {};
}

std::int32_t VersionRecord::Number(std::size_t offset) const {
  // Compared so that an offset near the top of the range cannot wrap around.
  if (!HasRecord() || offset > record_.size() || record_.size() - offset < 4) return -1;
  const std::uint32_t v = static_cast<std::uint32_t>(record_[offset]) |
                          static_cast<std::uint32_t>(record_[offset + 1]) << 8 |
                          static_cast<std::uint32_t>(record_[offset + 2]) << 16 |
                          static_cast<std::uint32_t>(record_[offset + 3]) << 24;
  return static_cast<std::int32_t>(v);
}

}  // namespace pendra
