#include "notes/tab_captions.h"

#include <algorithm>

namespace pendra {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

// What the file functions take: a path of MAX_PATH characters (UTF-16 units)
// with its terminating zero, and a name of 255 characters in it.
constexpr std::size_t kLongestPath = 260 - 1;
constexpr std::size_t kLongestName = 255;

// Names the system keeps for devices: "CON.pnd" opens the console, not a file.
constexpr std::string_view kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};

// Only the letters a-z: a device name is plain ASCII, and no second byte of
// a double-byte character may be folded.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// COM0-COM9 and LPT0-LPT9, also with a superscript 1, 2 or 3 where the code
// page has them (in UTF-8, C2 B9, C2 B2, C2 B3).
bool IsPortName(std::string_view name, const CodePage& codePage) {
  if (name.size() < 4 || !(SameLetters(name.substr(0, 3), "COM") || SameLetters(name.substr(0, 3), "LPT")))
    return false;
  std::string_view last = name.substr(3);
  if (last.size() == 1 && last[0] >= '0' && last[0] <= '9') return true;
  if (codePage.Number() == CodePage::kUtf8) {
    if (last.size() != 2 || last[0] != '\xC2') return false;
    last.remove_prefix(1);
  } else if (!codePage.HasSuperscriptDigits()) {
    return false;
  }
  const auto digit = static_cast<unsigned char>(last[0]);
  return last.size() == 1 && (digit == 0xB9 || digit == 0xB2 || digit == 0xB3);
}

bool IsDeviceName(std::string_view caption, const CodePage& codePage) {
  // The system looks at the name before the first dot, without trailing
  // blanks. Neither a dot nor a blank is ever the second byte of a character.
  std::string_view base = caption.substr(0, caption.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  return IsPortName(base, codePage) ||
         std::any_of(std::begin(kDeviceNames), std::end(kDeviceNames),
                     [&](std::string_view d) { return SameLetters(base, d); });
}

}  // namespace

const Lines& DesignedTabs() {
  static const Lines tabs{"ABC", "DEF", "GHI", "JKL", "MNO", "PQR", "STU", "VWX", "YZ"};
  return tabs;
}

std::size_t LongestTabCaption(std::string_view folder, const CodePage& codePage) {
  const std::size_t folderLength = codePage.WideCount(folder);
  const std::size_t room = std::min(kLongestName, kLongestPath - std::min(folderLength, kLongestPath));
  const std::size_t added = std::string_view(kPageFileExtension).size() + kLongestTemporarySuffix;
  return room > added ? room - added : 0;
}

CaptionFault CheckTabCaption(std::string_view folder, std::string_view caption, const CodePage& codePage) {
  for (std::size_t i = 0; i < caption.size();) {
    const std::size_t size = codePage.CharSize(caption, i);
    const char c = caption[i];
    if (size == 1 && (static_cast<unsigned char>(c) < 32 || kForbidden.find(c) != std::string_view::npos))
      return CaptionFault::ForbiddenCharacter;
    i += size;
  }
  if (caption == "..") return CaptionFault::ParentFolder;
  if (IsDeviceName(caption, codePage)) return CaptionFault::DeviceName;
  if (codePage.WideCount(caption) > LongestTabCaption(folder, codePage)) return CaptionFault::TooLong;
  return CaptionFault::None;
}

std::string CaptionFaultReason(CaptionFault fault, std::string_view folder, const CodePage& codePage) {
  switch (fault) {
    case CaptionFault::None: break;
    case CaptionFault::ForbiddenCharacter:
      return "A tab name may not hold \\ / : * ? \" < > | or control characters.";
    case CaptionFault::ParentFolder: return "A tab name may not be \"..\".";
    case CaptionFault::DeviceName:
      return "A tab name may not be a device name such as CON, PRN, AUX, NUL, COM1 or LPT1.";
    case CaptionFault::TooLong:
      return "In the folder " + std::string(folder) + " a tab name may be at most " +
             std::to_string(LongestTabCaption(folder, codePage)) + " characters long.";
  }
  return {};
}

std::string QuotedCaption(std::string_view caption, const CodePage& codePage) {
  constexpr std::size_t kQuoted = 80;
  if (caption.size() <= kQuoted) return std::string(caption);
  return std::string(codePage.Cut(caption, kQuoted)) + "...";
}

std::string PageFilePath(std::string_view folder, std::string_view caption) {
  std::string path(folder);
  path.append(caption);
  path += kPageFileExtension;
  return path;
}

std::optional<std::string> PagePath(const std::string& folder, std::string_view caption,
                                    const CodePage& codePage) {
  if (CheckTabCaption(folder, caption, codePage) != CaptionFault::None) return std::nullopt;
  return PageFilePath(folder, caption);
}

}  // namespace pendra
