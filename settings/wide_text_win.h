#pragma once
// Text between a code page and UTF-16, for the places where Pendra's text in
// the code page meets the system's Unicode: text controls, the clipboard and
// paths.
#include <optional>
#include <string>
#include <string_view>

namespace pendra {

std::wstring Widen(unsigned codePage, std::string_view bytes);
// Without best-fit stand-ins (an a for an a with a macron), so that every
// character the code page cannot hold shows in `usedDefault`.
std::string Narrow(unsigned codePage, std::wstring_view wide, bool* usedDefault = nullptr);
// The text in the system's code page when it holds every character of it.
std::optional<std::string> InAnsiCodePage(std::wstring_view wide);

// UTF-16 as UTF-8, whole characters only: half of a surrogate pair (one a
// length limit cut off at the end, or a stray one) is no character, so it is
// dropped at the end and stands as U+FFFD elsewhere.
std::string Utf8OfWide(std::wstring_view wide);

// A path as the ANSI file functions take it: the path itself where the code
// page holds it, otherwise its short (8.3) form where the code page holds
// that (a name outside the code page has one on most volumes); nullopt
// where neither does.
std::optional<std::string> AnsiPath(const std::wstring& path);
// Why a path AnsiPath refused cannot be opened: `what` (the file, quoted as
// the code page shows it) and the cause.
std::string NotInCodePage(const std::string& what);

}  // namespace pendra
