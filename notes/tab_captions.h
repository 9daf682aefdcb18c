#pragma once
// The notebook's tabs and their page files. A page is stored beside the
// executable in a file named after its tab's caption, so a caption must be a
// name the file system takes and that stays inside the program folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/list_file.h"

namespace pendra {

inline constexpr const char* kTabListFileName = "Tabs.lst";
inline constexpr const char* kPageFileExtension = ".pnd";

// The tabs a new notebook has.
const Lines& DesignedTabs();

// Why a caption cannot name a page file.
enum class CaptionFault {
  None,
  ForbiddenCharacter,  // \ / : * ? " < > | or a control character
  ParentFolder,        // ".." itself
  DeviceName,          // CON, PRN, AUX, NUL, COM1-9, LPT1-9 ..., also with an extension
  TooLong,             // with ".pnd" longer than a file name may be
};

// Captions longer than this give a file name over 255 characters.
inline constexpr std::size_t kMaxCaptionLength = 255 - 4;

CaptionFault CheckTabCaption(std::string_view caption);

// One sentence on what is wrong, for the messages that refuse a caption.
std::string CaptionFaultReason(CaptionFault fault);

// The page file of a tab: the program folder (with its trailing separator),
// the caption unchanged, ".pnd". nullopt when the caption cannot name a file
// in that folder.
std::optional<std::string> PagePath(const std::string& folder, std::string_view caption);

}  // namespace pendra
