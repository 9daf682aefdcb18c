#include <windows.h>

#include <sys/stat.h>

#include <vector>

#include "settings/code_page.h"
#include "settings/list_file.h"
#include "settings/wide_text_win.h"

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

std::string Utf8FromCodePage(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  return Narrow(CP_UTF8, Widen(CP_ACP, bytes));
}

CodePageText CodePageFromUtf8(std::string_view text) {
  if (IsAscii(text)) return {std::string(text), true};
  const std::wstring wide = Widen(CP_UTF8, text);
  bool usedDefault = false;
  std::string bytes = Narrow(CP_ACP, wide, &usedDefault);
  const bool whole = !usedDefault && Widen(CP_ACP, bytes) == wide;
  return {std::move(bytes), whole};
}

namespace {

// Paths come as UTF-8 and go to the wide file functions, which reach every
// name the file system holds.
std::wstring WidePath(const std::string& path) { return Widen(CP_UTF8, path); }

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(WidePath(path).c_str(), Widen(CP_UTF8, mode).c_str());
}

bool FileExists(const std::string& path) {
  struct _stat64 st{};
  return _wstat64(WidePath(path).c_str(), &st) == 0 && (st.st_mode & _S_IFMT) == _S_IFREG;
}

bool PathExists(const std::string& path) {
  struct _stat64 st{};
  return _wstat64(WidePath(path).c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

bool MayReplace(const std::string& path) {
  // A read-only file is one the user protects from being written; moving a
  // file over it would get around that (some systems allow the move).
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MayReplace(target) && MoveFileExW(WidePath(source).c_str(), WidePath(target).c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

std::int64_t Ticks(const FILETIME& t) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
}

}  // namespace

std::optional<FileFacts> FactsOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
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

bool NoneWriting(const std::string& path) {
  const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  CloseHandle(file);
  return true;
}

bool MakeFolder(const std::string& path) {
  const std::wstring wide = WidePath(path);
  CreateDirectoryW(wide.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool LinkFile(const std::string& existing, const std::string& link) {
  return CreateHardLinkW(WidePath(link).c_str(), WidePath(existing).c_str(), nullptr) != 0;
}

namespace {

// Calls `found` with each entry matching the pattern.
template <class F>
void FindEach(const std::string& pattern, F&& found) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(WidePath(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found(data);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

std::vector<FolderFile> FilesIn(const std::string& folder) {
  std::vector<FolderFile> files;
  FindEach(folder + "*", [&](const WIN32_FIND_DATAW& data) {
    files.push_back({Narrow(CP_UTF8, data.cFileName),
                     static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow});
  });
  return files;
}

std::vector<std::string> TemporaryCandidatesBeside(const std::string& path) {
  std::vector<std::string> found;
  const std::string folder = path.substr(0, FileNameStart(path, Utf8CodePage()));
  FindEach(path + ".*.tmp",
           [&](const WIN32_FIND_DATAW& data) { found.push_back(folder + Narrow(CP_UTF8, data.cFileName)); });
  return found;
}

}  // namespace pendra
