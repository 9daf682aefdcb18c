#include "settings/wide_text_win.h"

#include <windows.h>

namespace pendra {

std::wstring Widen(unsigned codePage, std::string_view bytes) {
  std::wstring wide;
  if (bytes.empty()) return wide;
  const int size = static_cast<int>(bytes.size());
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)));
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string Narrow(unsigned codePage, std::wstring_view wide, bool* usedDefault) {
  std::string bytes;
  if (usedDefault) *usedDefault = false;
  if (wide.empty()) return bytes;
  // UTF-8 as the code page takes no flags and reports no default character.
  const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
  const int size = static_cast<int>(wide.size());
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  bytes.resize(static_cast<std::size_t>(
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr)));
  BOOL defaulted = FALSE;
  WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), static_cast<int>(bytes.size()),
                      nullptr, utf8 ? nullptr : &defaulted);
  if (usedDefault) *usedDefault = defaulted != FALSE;
  return bytes;
}

std::string Utf8OfWide(std::wstring_view wide) {
  auto high = [](wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  auto low = [](wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  std::wstring whole;
  whole.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (high(c) && i + 1 < wide.size() && low(wide[i + 1])) {
      whole += c;
      whole += wide[++i];
    } else if (high(c) && i + 1 == wide.size()) {
      break;  // cut off at the end
    } else {
      whole += high(c) || low(c) ? L'\xFFFD' : c;
    }
  }
  return Narrow(CP_UTF8, whole);
}

std::optional<std::string> InAnsiCodePage(std::wstring_view wide) {
  bool usedDefault = false;
  std::string bytes = Narrow(CP_ACP, wide, &usedDefault);
  if (usedDefault || Widen(CP_ACP, bytes) != wide) return std::nullopt;
  return bytes;
}

std::optional<std::string> AnsiPath(const std::wstring& path) {
  if (auto ansi = InAnsiCodePage(path)) return ansi;
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size > 0) {
    std::wstring shortPath(size, L'\0');
    const DWORD got = GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (got > 0 && got < size) return InAnsiCodePage(shortPath.substr(0, got));
    return std::nullopt;
  }
  // A file not made yet has no short name: its folder's, and its own name.
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == path.size()) return std::nullopt;
  const std::optional<std::string> folder = AnsiPath(path.substr(0, slash + 1));
  const std::optional<std::string> name = InAnsiCodePage(std::wstring_view(path).substr(slash + 1));
  if (!folder || !name) return std::nullopt;
  return *folder + *name;
}

std::string NotInCodePage(const std::string& what) {
  return what + " has characters in its name or its folders' names that the system's code page (" +
         std::to_string(GetACP()) +
         ") cannot hold, and no short name that could stand for them, so Pendra cannot open it.";
}

}  // namespace pendra
