#include "app/program_place.h"

#include <algorithm>
#include <cctype>

namespace pendra {
namespace {

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// Explorer's folder for a zip: "Temp", a number, "_", then the zip's name.
bool ExplorerZipFolder(std::string_view name) {
  if (!StartsWithText(name, "temp")) return false;
  const auto digits = std::find_if_not(name.begin() + 4, name.end(),
                                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
  return digits != name.begin() + 4 && digits != name.end() && *digits == '_';
}

}  // namespace

std::string RunCommand(const std::string& exePath) {
  return exePath.find(' ') != std::string::npos ? '"' + exePath + '"' : exePath;
}

bool InArchiveTempFolder(const std::string& programFolder, const std::string& tempFolder) {
  const std::string temp = WithSeparator(tempFolder);
  if (temp.size() < 2 || !StartsWithText(programFolder, temp)) return false;
  const std::string_view name = std::string_view(programFolder).substr(temp.size());
  return ExplorerZipFolder(name) || StartsWithText(name, "7zO") || StartsWithText(name, "Rar$EX");
}

}  // namespace pendra
