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

bool MayReplace(const std::string& path) {
  // A read-only file is one the user protects from being written; moving a
  // file over it would get around that (some systems allow the move).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MayReplace(target) && MoveFileExA(source.c_str(), target.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

std::int64_t Ticks(const FILETIME& t) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
}

}  // namespace

std::optional<FileFacts> FactsOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return FileFacts{static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                   Ticks(data.ftLastWriteTime)};
}

std::int64_t FileClockNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

bool MakeFolder(const std::string& path) {
  CreateDirectoryA(path.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LinkFile(const std::string& existing, const std::string& link) {
  return CreateHardLinkA(link.c_str(), existing.c_str(), nullptr) != 0;
}

std::vector<FolderFile> FilesIn(const std::string& folder) {
  std::vector<FolderFile> files;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back({data.cFileName, static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow});
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return files;
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
