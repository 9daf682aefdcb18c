#include <windows.h>

#include <vector>

#include "settings/code_page.h"
#include "settings/list_file.h"

namespace pendra {

const CodePage& AnsiCodePage() {
  static const CodePage codePage = [] {
    const UINT number = GetACP();
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2) return CodePage(number);
    std::vector<unsigned char> ranges;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
      ranges.insert(ranges.end(), {info.LeadByte[i], info.LeadByte[i + 1]});
    return CodePage(number, ranges);
  }();
  return codePage;
}

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
  const std::string folder = path.substr(0, FileNameStart(path, AnsiCodePage()));
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
