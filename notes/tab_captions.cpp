#include "notes/tab_captions.h"

#include <algorithm>
#include <cctype>

namespace pendra {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

// Names the system keeps for devices: "CON.pnd" opens the console, not a file.
constexpr std::string_view kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

// COM0-COM9 and LPT0-LPT9, also with a superscript 1, 2 or 3 (code page 1252).
bool IsPortName(std::string_view name) {
  if (name.size() != 4 || !(SameLetters(name.substr(0, 3), "COM") || SameLetters(name.substr(0, 3), "LPT")))
    return false;
  const auto last = static_cast<unsigned char>(name[3]);
  return (last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3;
}

bool IsDeviceName(std::string_view caption) {
  // The system looks at the name before the first dot, without trailing blanks.
  std::string_view base = caption.substr(0, caption.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  return IsPortName(base) || std::any_of(std::begin(kDeviceNames), std::end(kDeviceNames),
                                         [&](std::string_view d) { return SameLetters(base, d); });
}

}  // namespace

const Lines& DesignedTabs() {
  static const Lines tabs{"ABC", "DEF", "GHI", "JKL", "MNO", "PQR", "STU", "VWX", "YZ"};
  return tabs;
}

CaptionFault CheckTabCaption(std::string_view caption) {
  for (char c : caption)
    if (static_cast<unsigned char>(c) < 32 || kForbidden.find(c) != std::string_view::npos)
      return CaptionFault::ForbiddenCharacter;
  if (caption == "..") return CaptionFault::ParentFolder;
  if (IsDeviceName(caption)) return CaptionFault::DeviceName;
  if (caption.size() > kMaxCaptionLength) return CaptionFault::TooLong;
  return CaptionFault::None;
}

std::string CaptionFaultReason(CaptionFault fault) {
  switch (fault) {
    case CaptionFault::None: break;
    case CaptionFault::ForbiddenCharacter:
      return "A tab name may not hold \\ / : * ? \" < > | or control characters.";
    case CaptionFault::ParentFolder: return "A tab name may not be \"..\".";
    case CaptionFault::DeviceName:
      return "A tab name may not be a device name such as CON, PRN, AUX, NUL, COM1 or LPT1.";
    case CaptionFault::TooLong:
      return "A tab name may be at most " + std::to_string(kMaxCaptionLength) + " characters long.";
  }
  return {};
}

std::optional<std::string> PagePath(const std::string& folder, std::string_view caption) {
  if (CheckTabCaption(caption) != CaptionFault::None) return std::nullopt;
  std::string path = folder;
  path.append(caption);
  path += kPageFileExtension;
  return path;
}

}  // namespace pendra
