#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

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
