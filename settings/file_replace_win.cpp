#include <windows.h>

#include "settings/list_file.h"

namespace pendra {

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  // A read-only file is one the user protects from being written; moving a
  // file over it would get around that (some systems allow the move).
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return MoveFileExA(source.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace pendra
