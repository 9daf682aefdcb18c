#include "settings/list_file.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#include "settings/code_page.h"
#include "settings/errors.h"

namespace pendra {

Lines SplitLines(std::string_view text) {
  Lines lines;
  std::size_t start = 0;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      ++i;
      if (c == '\r' && i < n && text[i] == '\n') ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLines(const Lines& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Puts the written bytes on the disk before the file is moved over the old
// one, so a crash cannot leave an empty list in its place.
long ProcessNumber() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<long>(::getpid());
#endif
}

bool CommitToDisk(std::FILE* f) {
#ifdef _WIN32
  return _commit(_fileno(f)) == 0;
#else
  return ::fsync(fileno(f)) == 0;
#endif
}

// A name beside the target that no other write is using: the target's name,
// a full stop, the clock's ticks and the process's number in hexadecimal
// joined by a hyphen, and ".tmp"; at most kLongestTemporarySuffix characters
// longer than the path. Within the process a write ends, moved or taken
// away, before the next begins: they are never at work together.
std::string TemporaryPathFor(const std::string& path) {
  const auto ticks = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".%llx-%x.tmp", ticks & 0xFFFFFFFFFFull,
                static_cast<unsigned>(ProcessNumber()));
  return path + suffix;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

bool IsTemporaryNameFor(std::string_view name, std::string_view targetName) {
  constexpr std::string_view kEnd = ".tmp";
  if (name.size() <= targetName.size() + 1 + kEnd.size()) return false;
  if (name.substr(0, targetName.size()) != targetName || name[targetName.size()] != '.') return false;
  if (name.substr(name.size() - kEnd.size()) != kEnd) return false;
  const std::string_view middle =
      name.substr(targetName.size() + 1, name.size() - targetName.size() - 1 - kEnd.size());
  const std::size_t hyphen = middle.find('-');
  if (hyphen == 0 || hyphen == std::string_view::npos || hyphen + 1 == middle.size()) return false;
  for (std::size_t i = 0; i < middle.size(); ++i)
    if (i != hyphen && !IsHexDigit(middle[i])) return false;
  return true;
}

namespace {

// Reads the whole of an opened file; false on a read error.
bool ReadAll(std::FILE* file, std::string& text) {
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  return !std::ferror(file);
}

// Whether the file at `path` holds exactly `bytes`. Read in pieces, so a
// large file needs no second copy in memory.
bool HoldsExactly(const std::string& path, const std::string& bytes) {
  const std::optional<FileFacts> facts = FactsOf(path);
  if (!facts || facts->size != bytes.size()) return false;
  std::size_t at = 0;
  const bool read = ReadInPieces(path, [&](std::string_view piece) {
    if (piece.size() > bytes.size() - at || std::memcmp(piece.data(), bytes.data() + at, piece.size()) != 0)
      return false;
    at += piece.size();
    return true;
  });
  return read && at == bytes.size();
}

}  // namespace

void RemoveLeftTemporaries(const std::string& path) {
  const CodePage& codePage = Utf8CodePage();
  const std::string_view name = std::string_view(path).substr(FileNameStart(path, codePage));
  for (const std::string& candidate : TemporaryCandidatesBeside(path)) {
    if (IsTemporaryNameFor(std::string_view(candidate).substr(FileNameStart(candidate, codePage)), name))
      RemoveFile(candidate);
  }
}

Lines ReadListFile(const std::string& path) {
  if (!PathExists(path)) return {};
  return SplitLines(ReadWholeFile(path));
}

std::string ReadWholeFile(const std::string& path) {
  // Only a file on the disk is read: a device (CON, COM1, a pipe) could keep
  // the read waiting for ever.
  if (!FileExists(path)) throw Error("Cannot open file " + path);
  FilePtr file(OpenFile(path, "rb"));
  if (!file) throw Error("Cannot open file " + path);
  std::string text;
  // Room for the whole file at once, so a large one is not copied as it grows.
  if (const std::optional<FileFacts> facts = FactsOf(path)) text.reserve(static_cast<std::size_t>(facts->size));
  if (!ReadAll(file.get(), text)) throw Error("Cannot open file " + path);
  RemoveLeftTemporaries(path);
  return text;
}

void WriteListFile(const std::string& path, const Lines& lines) {
  if (lines.empty() && !PathExists(path)) {
    // A missing file reads as the empty list already: where it cannot be
    // made (a folder that cannot be written), nothing is lost, and an exit
    // must not stop for it.
    try {
      WriteWholeFile(path, {});
    } catch (const Error&) {
    }
    return;
  }
  WriteWholeFile(path, JoinLines(lines));
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  // A file that holds these bytes already is left as it is: a save that
  // changes nothing succeeds also where the file or its folder is read-only.
  if (HoldsExactly(path, bytes)) {
    RemoveLeftTemporaries(path);
    return;
  }
  ReplaceWholeFile(path, bytes);
}

void ReplaceWholeFile(const std::string& path, const std::string& bytes) {
  const std::string temp = TemporaryPathFor(path);
  bool written = false;
  {
    FilePtr file(OpenFile(temp, "wb"));
    if (file) {
      written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                std::fflush(file.get()) == 0 && CommitToDisk(file.get());
      written = std::fclose(file.release()) == 0 && written;
    }
  }
  if (!written || !ReplaceFileWith(temp, path)) {
    RemoveFile(temp);
    throw Error("Cannot create file " + path);
  }
  RemoveLeftTemporaries(path);
}

bool AppendToFile(const std::string& path, std::string_view bytes) {
  FilePtr file(OpenFile(path, "ab"));
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}

bool ReadInPieces(const std::string& path, const std::function<bool(std::string_view)>& piece) {
  if (!FileExists(path)) return false;
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return false;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    if (!piece(std::string_view(buffer, got))) return false;
  return !std::ferror(file.get());
}

}  // namespace pendra
