#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "settings/code_page.h"
#include "settings/list_file.h"

namespace pendra {

const CodePage& AnsiCodePage() {
  static const CodePage codePage;
  return codePage;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  // A file the user may not write stays as it is, as if it were written in place.
  if (::access(target.c_str(), W_OK) != 0 && errno != ENOENT) return false;
  return std::rename(source.c_str(), target.c_str()) == 0;
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
