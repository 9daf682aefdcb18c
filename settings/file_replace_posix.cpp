#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "settings/list_file.h"

namespace pendra {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  // A file the user may not write stays as it is, as if it were written in place.
  if (::access(target.c_str(), W_OK) != 0 && errno != ENOENT) return false;
  return std::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace pendra
