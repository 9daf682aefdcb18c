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

constexpr std::string_view kTheirsWords = " from another program";

std::string Stamp(const DateTime& at) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d-%02d-%02d", at.date.year, at.date.month,
                at.date.day, at.time.hour, at.time.minute, at.time.second);
  return stamp;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    char c = text[text.size() - end.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != end[i]) return false;
  }
  return true;
}

// The fields of a record line, apart by tabs.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

template <typename Number>
std::optional<Number> NumberOf(std::string_view text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  Number value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = static_cast<Number>(value * 10 + (c - '0'));
  }
  return value;
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

std::string BackupName(std::string_view fileName, const DateTime& at, int number, CopyKind kind,
                       std::size_t maxBytes, const CodePage& codePage) {
  // A name that begins with its only full stop (".profile") has no extension.
  std::size_t dot = fileName.rfind('.');
  if (dot == 0) dot = std::string_view::npos;
  std::string_view stem = fileName.substr(0, dot);
  std::string end = Stamp(at);
  if (kind == CopyKind::Theirs) end += kTheirsWords;
  if (number > 1) end += " (" + std::to_string(number) + ")";
  if (dot != std::string_view::npos) end += fileName.substr(dot);
  // A data file named near the limit still has its copies: the stem gives
  // way, as the record says whose copy it is.
  if (stem.size() + end.size() > maxBytes)
    stem = codePage.Cut(stem, maxBytes > end.size() + 1 ? maxBytes - end.size() : 1);
  return std::string(stem) + end;
}

std::optional<BackupCopy> ParseBackupName(std::string_view name) {
  // The extension follows the time; a file without one has the time last.
  for (const std::size_t dot : {name.rfind('.'), std::string_view::npos}) {
    std::string_view body = WithoutNumber(name.substr(0, dot));
    CopyKind kind = CopyKind::Version;
    if (body.size() > kTheirsWords.size() && body.substr(body.size() - kTheirsWords.size()) == kTheirsWords) {
      body.remove_suffix(kTheirsWords.size());
      kind = CopyKind::Theirs;
    }
    if (const auto at = StampAtEnd(body)) {
      std::string fileName(body.substr(0, body.size() - kStampSize));
      if (dot != std::string_view::npos) fileName += name.substr(dot);
      return BackupCopy{std::move(fileName), *at, kind};
    }
  }
  return std::nullopt;
}

bool HoldsOnlyPendraCopies(const std::vector<FolderFile>& files) {
  return !files.empty() && std::all_of(files.begin(), files.end(), [](const FolderFile& file) {
    const auto copy = ParseBackupName(file.name);
    return copy && (EndsWithNoCase(copy->fileName, ".lst") || EndsWithNoCase(copy->fileName, ".pnd") ||
                    EndsWithNoCase(copy->fileName, ".qnf"));
  });
}

std::string CopyRecordHeading() {
  return "Earlier versions of Pendra's files. Pendra deletes only the copies named below, and only "
         "while each is as Pendra made it; every other file here is left alone.\r\n";
}

std::string CopyRecordLine(const RecordedCopy& copy) {
  std::string line = copy.name + '\t' + copy.fileName + '\t' + Stamp(copy.at).substr(1) + '\t' +
                     std::to_string(copy.facts.size) + '\t' + std::to_string(copy.facts.writeTime);
  return line + "\r\n";
}

std::vector<RecordedCopy> ParseCopyRecord(std::string_view text) {
  std::vector<RecordedCopy> copies;
  for (const std::string& line : SplitLines(text)) {
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() != 5 || f[0].empty() || f[1].empty()) continue;
    const auto at = StampAtEnd("x " + std::string(f[2]));
    const auto size = NumberOf<std::uint64_t>(f[3]);
    const auto writeTime = NumberOf<std::int64_t>(f[4]);
    if (!at || !size || !writeTime || f[2].size() + 1 != kStampSize) continue;
    copies.push_back({std::string(f[0]), std::string(f[1]), *at, {*size, *writeTime}});
  }
  return copies;
}

long long SecondsBetween(const DateTime& from, const DateTime& to) {
  return DaysBetween(from.date, to.date) * kDaySeconds + SecondsOfDay(to.time) - SecondsOfDay(from.time);
}

bool CopyDue(const std::optional<DateTime>& lastCopy, const DateTime& now) {
  if (!lastCopy) return true;
  const long long since = SecondsBetween(*lastCopy, now);
  return since < 0 || since >= kBackupEverySeconds;
}

bool TakesMostAway(std::uint64_t replacedBytes, std::uint64_t newBytes) { return newBytes < replacedBytes / 2; }

std::vector<std::string> CopiesToPrune(const std::vector<RecordedCopy>& copies, const DateTime& now,
                                       std::uint64_t limitBytes) {
  std::vector<const RecordedCopy*> sorted;
  for (const RecordedCopy& copy : copies) sorted.push_back(&copy);
  // Per data file, newest first: the first copy of a day is its newest.
  std::sort(sorted.begin(), sorted.end(), [](const RecordedCopy* a, const RecordedCopy* b) {
    return std::tie(a->fileName, b->at, b->name) < std::tie(b->fileName, a->at, a->name);
  });
  std::vector<std::string> doomed;
  std::set<std::pair<std::string, Date>> days;
  std::vector<const RecordedCopy*> kept;
  for (const RecordedCopy* c : sorted) {
    const long long age = SecondsBetween(c->at, now);
    const bool newestOfDay = days.insert({c->fileName, c->at.date}).second;
    if (age < kDaySeconds || (newestOfDay && age < kBackupMonthDays * kDaySeconds)) kept.push_back(c);
    else doomed.push_back(c->name);
  }
  std::sort(kept.begin(), kept.end(), [](const RecordedCopy* a, const RecordedCopy* b) {
    return std::tie(a->at, a->name) < std::tie(b->at, b->name);
  });
  std::uint64_t total = 0;
  for (const RecordedCopy* c : kept) total += c->facts.size;
  for (std::size_t i = 0; i + 1 < kept.size() && total > limitBytes; ++i) {
    total -= kept[i]->facts.size;
    doomed.push_back(kept[i]->name);
  }
  return doomed;
}

}  // namespace pendra
