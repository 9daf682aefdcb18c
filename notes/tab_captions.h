#pragma once
// The notebook's tabs and their page files. A page is stored beside the
// executable in a file named after its tab's caption, so a caption must be a
// name the file system takes and that stays inside the program folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/code_page.h"
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
  TooLong,             // its page file, or the temporary file a save writes, has too long a name
};

// The longest caption (in the system's characters, UTF-16 units) whose page
// file can be saved in `folder`: the temporary file a save writes beside it
// must fit both the 255 characters of a file name and the 259 of a path the
// file functions take. Pendra holds captions and the folder in UTF-8
// (Utf8CodePage); the code page given is theirs.
std::size_t LongestTabCaption(std::string_view folder, const CodePage& codePage);

// What keeps `caption` from naming a page file in `folder`. A character is
// looked at whole, so the second byte of a double-byte character is never
// taken for a separator.
CaptionFault CheckTabCaption(std::string_view folder, std::string_view caption, const CodePage& codePage);

// One sentence on what is wrong, for the messages that refuse a caption.
std::string CaptionFaultReason(CaptionFault fault, std::string_view folder, const CodePage& codePage);

// A caption as a message quotes it: one too long to read in a box by its
// beginning, never cut inside a character.
std::string QuotedCaption(std::string_view caption, const CodePage& codePage);

// The page file of a tab: the program folder (with its trailing separator),
// the caption unchanged, ".pnd". nullopt when the caption cannot name a file
// in that folder; PageFilePath asks nothing.
std::string PageFilePath(std::string_view folder, std::string_view caption);
std::optional<std::string> PagePath(const std::string& folder, std::string_view caption,
                                    const CodePage& codePage);

}  // namespace pendra
