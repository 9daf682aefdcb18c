#include <cstdio>

#include "settings/list_file.h"

namespace pendra {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace pendra
