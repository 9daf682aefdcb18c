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

std::vector<std::string> TemporaryCandidatesBeside(const std::string& path) {
  std::vector<std::string> found;
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + ".*.tmp").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(folder + data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return found;
}

}  // namespace pendra
