#pragma once
// Rules on where the running program sits: the command that starts it with
// Windows, and a folder that an archive program unpacked it into for the
// moment.
#include <cstddef>
#include <string>
#include <string_view>

namespace pendra {

// The Run value that starts the executable: its path, quoted when it has a
// blank, so that no part of it before the blank can be taken for the program.
std::string RunCommand(const std::string& exePath);

// The same text, letter case aside (ASCII letters, as file names compare).
inline bool SameTextNoCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// The program a Run value starts: the text inside its leading quotes, or the
// whole value (an entry written unquoted, blanks and all). Inline and without
// allocation, in the code page or in UTF-16: the installer's actions use it too.
template <class Char>
std::basic_string_view<Char> RunCommandPath(std::basic_string_view<Char> command) {
  if (command.empty() || command.front() != Char('"')) return command;
  command.remove_prefix(1);
  return command.substr(0, command.find(Char('"')));
}

// True when a Run value starts this executable by the same path (quoted or
// not, in any case). A short path names it too; only the file system can
// tell that (SameFileW).
inline bool RunCommandNames(std::string_view command, std::string_view exePath) {
  return !exePath.empty() && SameTextNoCase(RunCommandPath(command), exePath);
}

// True when the program folder is one that an archive program made in the
// temporary folder to run a program from inside a zip: Explorer's
// "Temp1_Pendra.zip", 7-Zip's "7zO..." and WinRAR's "Rar$EX...". Windows
// deletes it later, and everything stored there with it. Both folders are
// long paths; a missing trailing separator is taken as there.
bool InArchiveTempFolder(const std::string& programFolder, const std::string& tempFolder);

}  // namespace pendra
