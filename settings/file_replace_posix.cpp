#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "settings/code_page.h"
#include "settings/list_file.h"

namespace pendra {

const CodePage& AnsiCodePage() {
  static const CodePage codePage;
  return codePage;
}

namespace {

// Code page 1252 where it differs from Latin-1: 0x80 to 0x9F. The five bytes
// it leaves free stand for the control characters of their number, as on
// Windows.
constexpr std::array<char32_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Utf8FromCodePage(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
  }
  return out;
}

CodePageText CodePageFromUtf8(std::string_view text) {
  CodePageText out;
  const CodePage& utf8 = Utf8CodePage();
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t size = utf8.CharSize(text, i);
    const auto lead = static_cast<unsigned char>(text[i]);
    char32_t c = size == 1 ? lead : lead & (0xFF >> (size + 1));
    for (std::size_t k = 1; k < size; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += size;
    int byte = -1;
    if (size == 1 && lead >= 0x80) {
      byte = -1;  // no character at all
    } else if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      byte = static_cast<int>(c);
    } else {
      for (std::size_t k = 0; k < kWindows1252High.size(); ++k)
        if (kWindows1252High[k] == c) byte = static_cast<int>(0x80 + k);
    }
    out.whole = out.whole && byte >= 0;
    out.bytes += static_cast<char>(byte >= 0 ? byte : '?');
  }
  return out;
}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool FileExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool MayReplace(const std::string& path) {
  // A file the user may not write stays as it is, as if it were written in place.
  return ::access(path.c_str(), W_OK) == 0 || errno == ENOENT;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MayReplace(target) && std::rename(source.c_str(), target.c_str()) == 0;
}

namespace {

// Seconds from 1601 to 1970, and ticks of a hundred nanoseconds a second.
constexpr std::int64_t kEpochGap = 11644473600;
constexpr std::int64_t kTicks = 10'000'000;

std::int64_t Ticks(const timespec& t) { return (t.tv_sec + kEpochGap) * kTicks + t.tv_nsec / 100; }

}  // namespace

std::optional<FileFacts> FactsOf(const std::string& path) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileFacts{static_cast<std::uint64_t>(st.st_size), Ticks(st.st_mtim)};
}

std::int64_t FileClockNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Ticks(now);
}

// Other programs' writes are not denied here: a file is taken as whole.
bool NoneWriting(const std::string&) { return true; }

bool MakeFolder(const std::string& path) {
  struct stat st{};
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LinkFile(const std::string& existing, const std::string& link) {
  return ::link(existing.c_str(), link.c_str()) == 0;
}

std::vector<FolderFile> FilesIn(const std::string& folder) {
  std::vector<FolderFile> files;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return files;
  while (const dirent* entry = ::readdir(dir)) {
    struct stat st{};
    const std::string name = entry->d_name;
    if (::stat((folder + name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      files.push_back({name, static_cast<std::uint64_t>(st.st_size)});
  }
  ::closedir(dir);
  return files;
}

std::vector<std::string> TemporaryCandidatesBeside(const std::string& path) {
  std::vector<std::string> found;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + '.';
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    struct stat st{};
    const std::string full = folder + name;
    if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) found.push_back(full);
  }
  ::closedir(dir);
  return found;
}

}  // namespace pendra
