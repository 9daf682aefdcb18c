#pragma once
// The program's version record (the VS_VERSIONINFO resource) read at the
// fixed offsets of its standard layout: the key at 6, the fixed file
// information at 40, the first child block at 92 (its key at 98), the first
// string table at 128 and its first string at 152. Every read is bounded by
// the record's size, so a damaged or hostile record cannot make the reader
// look past its end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pendra {

inline constexpr const char* kNotAvailable = "--not available--";

class VersionRecord {
 public:
  // Drops any record held before, then takes a copy of these bytes. Bytes
  // whose key is not "VS_VERSION_INFO" leave no record. A record whose first
  // child block is not "StringFileInfo" fails with "Unrecognised version
  // block".
  void Load(const std::uint8_t* data, std::size_t size);
  void Clear();

  bool HasRecord() const { return !record_.empty(); }
  // "name=value" for every string of the first string table, in record order.
  const std::vector<std::string>& Keys() const { return keys_; }

  // The value of the first string named exactly so (case matters); empty when
  // there is none, "--not available--" without a record.
  std::string Value(std::string_view name) const;
  // The signed 32-bit value at an offset of the record; -1 without a record
  // (or when the record is too short to hold it).
  std::int32_t Number(std::size_t offset) const;

  std::int32_t FileVersionHigh() const { return Number(48); }
  std::int32_t FileVersionLow() const { return Number(52); }
  std::int32_t ProductVersionHigh() const { return Number(56); }
  std::int32_t ProductVersionLow() const { return Number(60); }

 private:
  void Parse();
  std::vector<std::uint8_t> record_;
  std::vector<std::string> keys_;
};

// UTF-16 (little-endian) text from a byte range, up to its zero or the end
// of the range, in the program's 8-bit code page (Windows-1252); characters
// it has no place for become '?'.
std::string Utf16ToAnsi(const std::uint8_t* data, std::size_t size);

}  // namespace pendra
