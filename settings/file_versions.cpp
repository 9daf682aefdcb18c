#include "settings/file_versions.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdio>
#include <set>
#include <tuple>
#include <utility>

namespace pendra {

namespace {

constexpr std::uint64_t kMultiplier = 0xFF51AFD7ED558CCDull;
constexpr long long kDaySeconds = 86400;

std::uint64_t ByteSwapped(std::uint64_t word) {
  std::uint64_t swapped = 0;
  for (int b = 0; b < 8; ++b, word >>= 8) swapped = (swapped << 8) | (word & 0xFF);
  return swapped;
}

std::uint64_t Mixed(std::uint64_t state, std::uint64_t word) {
  state = (state ^ word) * kMultiplier;
  return state ^ (state >> 32);
}

// The number of `count` digits at `at`, or -1.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// " 2025-03-01 14-05-09" at the end of `body`.
constexpr std::size_t kStampSize = 20;

std::optional<DateTime> StampAtEnd(std::string_view body) {
  if (body.size() <= kStampSize) return std::nullopt;
  const std::string_view s = body.substr(body.size() - kStampSize);
  if (s[0] != ' ' || s[5] != '-' || s[8] != '-' || s[11] != ' ' || s[14] != '-' || s[17] != '-')
    return std::nullopt;
  const DateTime at{{DigitsAt(s, 1, 4), DigitsAt(s, 6, 2), DigitsAt(s, 9, 2)},
                    {DigitsAt(s, 12, 2), DigitsAt(s, 15, 2), DigitsAt(s, 18, 2)}};
  if (!IsValidDate(at.date) || at.time.hour < 0 || at.time.hour > 23 || at.time.minute < 0 ||
      at.time.minute > 59 || at.time.second < 0 || at.time.second > 59)
    return std::nullopt;
  return at;
}

// `body` without a copy number " (n)" at its end.
std::string_view WithoutNumber(std::string_view body) {
  if (body.size() < 4 || body.back() != ')') return body;
  const std::size_t open = body.rfind(" (");
  if (open == std::string_view::npos || open + 3 > body.size() - 1) return body;
  for (std::size_t i = open + 2; i + 1 < body.size(); ++i)
    if (body[i] < '0' || body[i] > '9') return body;
  return body.substr(0, open);
}

// A temporary file that a copy's write left when a kill cut it short.
bool IsLeftCopyTemporary(std::string_view name) {
  if (name.size() <= 4) return false;
  const std::size_t dot = name.rfind('.', name.size() - 5);
  if (dot == std::string_view::npos) return false;
  const std::string_view base = name.substr(0, dot);
  return IsTemporaryNameFor(name, base) && ParseBackupName(base).has_value();
}

}  // namespace

void ContentHash::Mix(std::uint64_t word) { state_ = Mixed(state_, word); }

void ContentHash::Add(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  // Bytes are taken eight at a time, whatever the pieces they came in.
  for (; i < n && length_ % 8 != 0; ++i, ++length_) {
    pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * (length_ % 8));
    if (length_ % 8 == 7) {
      Mix(pending_);
      pending_ = 0;
    }
  }
  // One load a word (the build for size would otherwise assemble it a byte
  // at a time), read as little-endian on every machine.
  for (; i + 8 <= n; i += 8, length_ += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = ByteSwapped(word);
    Mix(word);
  }
  for (; i < n; ++i, ++length_)
    pending_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * (length_ % 8));
}

std::uint64_t ContentHash::Value() const {
  std::uint64_t state = length_ % 8 ? Mixed(state_, pending_) : state_;
  return Mixed(state, length_ ^ 0x2545F4914F6CDD1Dull);
}

std::uint64_t HashOf(std::string_view bytes) {
  ContentHash hash;
  hash.Add(bytes);
  return hash.Value();
}

std::uint64_t HashOfLines(const Lines& lines) {
  ContentHash hash;
  for (const std::string& line : lines) {
    hash.Add(line);
    hash.Add("\r\n");
  }
  return hash.Value();
}

FileStamp StampOf(const std::optional<FileFacts>& facts, std::uint64_t hash, std::int64_t takenAt) {
  if (!facts) return {};
  return {true, *facts, hash, facts->writeTime + kWriteTimeGranularity < takenAt};
}

DiskLook LookAt(const FileStamp& known, const std::optional<FileFacts>& now) {
  if (!now) return known.exists ? DiskLook::Gone : DiskLook::Same;
  if (!known.exists || now->size != known.facts.size) return DiskLook::Changed;
  // A clock set back can give a later write an earlier time: only equal
  // times say nothing happened.
  if (known.settled && now->writeTime == known.facts.writeTime) return DiskLook::Same;
  return DiskLook::ReadToTell;
}

SaveVerdict JudgeSave(const FileStamp& known, std::optional<std::uint64_t> diskHash, bool ownChange) {
  if (!diskHash) return SaveVerdict::Create;
  if (known.exists && *diskHash == known.hash) return SaveVerdict::Replace;
  return ownChange ? SaveVerdict::ReplaceKeepingTheirs : SaveVerdict::KeepTheirs;
}

std::string BackupName(std::string_view fileName, const DateTime& at, int number) {
  // A name that begins with its only full stop (".profile") has no extension.
  std::size_t dot = fileName.rfind('.');
  if (dot == 0) dot = std::string_view::npos;
  const std::string_view stem = fileName.substr(0, dot);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d-%02d-%02d", at.date.year, at.date.month,
                at.date.day, at.time.hour, at.time.minute, at.time.second);
  std::string name(stem);
  name += stamp;
  if (number > 1) name += " (" + std::to_string(number) + ")";
  if (dot != std::string_view::npos) name += fileName.substr(dot);
  return name;
}

std::optional<BackupCopy> ParseBackupName(std::string_view name) {
  // The extension follows the time; a file without one has the time last.
  for (const std::size_t dot : {name.rfind('.'), std::string_view::npos}) {
    const std::string_view body = WithoutNumber(name.substr(0, dot));
    if (const auto at = StampAtEnd(body)) {
      std::string fileName(body.substr(0, body.size() - kStampSize));
      if (dot != std::string_view::npos) fileName += name.substr(dot);
      return BackupCopy{std::move(fileName), *at};
    }
  }
  return std::nullopt;
}

long long SecondsBetween(const DateTime& from, const DateTime& to) {
  return DaysBetween(from.date, to.date) * kDaySeconds + SecondsOfDay(to.time) - SecondsOfDay(from.time);
}

bool CopyDue(const std::optional<DateTime>& lastCopy, const DateTime& now) {
  if (!lastCopy) return true;
  const long long since = SecondsBetween(*lastCopy, now);
  return since < 0 || since >= kBackupEverySeconds;
}

std::vector<std::string> CopiesToPrune(const std::vector<FolderFile>& files, const DateTime& now,
                                       std::uint64_t limitBytes) {
  struct Copy {
    const FolderFile* file;
    BackupCopy copy;
  };
  std::vector<std::string> doomed;
  std::vector<Copy> copies;
  for (const FolderFile& file : files) {
    if (auto copy = ParseBackupName(file.name)) copies.push_back({&file, std::move(*copy)});
    else if (IsLeftCopyTemporary(file.name)) doomed.push_back(file.name);
  }
  // Per data file, newest first: the first copy of a day is its newest.
  std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
    return std::tie(a.copy.fileName, b.copy.at, b.file->name) < std::tie(b.copy.fileName, a.copy.at, a.file->name);
  });
  std::set<std::pair<std::string, Date>> days;
  std::vector<Copy> kept;
  for (Copy& c : copies) {
    const long long age = SecondsBetween(c.copy.at, now);
    const bool newestOfDay = days.insert({c.copy.fileName, c.copy.at.date}).second;
    if (age < kDaySeconds || (newestOfDay && age < kBackupMonthDays * kDaySeconds)) kept.push_back(c);
    else doomed.push_back(c.file->name);
  }
  std::sort(kept.begin(), kept.end(), [](const Copy& a, const Copy& b) {
    return std::tie(a.copy.at, a.file->name) < std::tie(b.copy.at, b.file->name);
  });
  std::uint64_t total = 0;
  for (const Copy& c : kept) total += c.file->size;
  for (std::size_t i = 0; i + 1 < kept.size() && total > limitBytes; ++i) {
    total -= kept[i].file->size;
    doomed.push_back(kept[i].file->name);
  }
  return doomed;
}

}  // namespace pendra
