#pragma once
// Rules of the text editor that need no window: the recent-files list, the
// save-changes question and the captions.
#include <array>
#include <string>

namespace pendra {

// Slot 1 (index 0) is the most recent path; an empty text is a free slot.
inline constexpr int kRecentSlots = 5;
using RecentFiles = std::array<std::string, kRecentSlots>;

// The list after `path` was opened or saved under a new name: the path goes
// to slot 1 and an older copy of it (letter case counts) leaves its place,
// the entries after it moving up; the oldest drops out beyond slot 5.
RecentFiles WithRecentFile(const RecentFiles& list, const std::string& path);

// The list after the recent file of `slot` (0-based) was opened again: its
// entry goes to slot 1 and the entries before it move one slot down.
RecentFiles WithSlotFirst(const RecentFiles& list, int slot);

// "The document <name> has changed." CR CR "Do you want to save the changes?"
std::string SaveChangesQuestion(const std::string& fileName);

inline constexpr const char* kEditorCaption = "Editor";
inline constexpr const char* kUntitledCaption = "Editor  - [Untitled]";
std::string TitledCaption(const std::string& fileName);  // "Editor - <name>"

// A path as a menu item's caption: an ampersand shows as itself.
std::string MenuCaptionOf(const std::string& path);

inline constexpr const char* kEditorFilter =
    "Text files (*.txt)|*.txt|Pendra files (*.pnd)|*.pnd|All files (*.*)|*.*";
inline constexpr const char* kEditorDefaultExt = "txt";

}  // namespace pendra
