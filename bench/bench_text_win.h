#pragma once
// Paths and texts the benchmark tools that start Pendra.exe share.
#include <windows.h>

#include <string>

namespace pendra::bench {

// A Unix path given on the command line as the Windows path Wine maps it to.
inline std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The folder of a Windows path, with its closing backslash.
inline std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\') + 1);
}

// A date and a time of day as the user's locale writes them.
inline std::string DateText(const SYSTEMTIME& st) {
  char buffer[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer);
  return buffer;
}

inline std::string TimeText(int secondsOfDay) {
  SYSTEMTIME st{};
  st.wYear = 2000;
  st.wMonth = 1;
  st.wDay = 1;
  st.wHour = static_cast<WORD>(secondsOfDay / 3600);
  st.wMinute = static_cast<WORD>(secondsOfDay / 60 % 60);
  st.wSecond = static_cast<WORD>(secondsOfDay % 60);
  char buffer[64] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
  return buffer;
}

}  // namespace pendra::bench
