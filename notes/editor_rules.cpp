#include "notes/editor_rules.h"

#include <vector>

namespace pendra {

RecentFiles WithRecentFile(const RecentFiles& list, const std::string& path) {
  std::vector<std::string> entries(list.begin(), list.end());
  entries.insert(entries.begin(), path);
  // An older copy is emptied and the entries after it move up one place, the
  // last keeping its value; the search goes on at the next position.
  const std::size_t count = entries.size();
  for (std::size_t i = 1; i < count; ++i) {
    if (entries[i] != path) continue;
    entries[i].clear();
    for (std::size_t j = i; j + 1 < count; ++j) entries[j] = entries[j + 1];
  }
  RecentFiles out;
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = entries[i];
  return out;
}

RecentFiles WithSlotFirst(const RecentFiles& list, int slot) {
  RecentFiles out = list;
  if (slot <= 0 || slot >= kRecentSlots) return out;
  const std::string moved = out[static_cast<std::size_t>(slot)];
  for (std::size_t i = static_cast<std::size_t>(slot); i > 0; --i) out[i] = out[i - 1];
  out[0] = moved;
  return out;
}

std::string SaveChangesQuestion(const std::string& fileName) {
  return "The document " + fileName + " has changed.\r\rDo you want to save the changes?";
}

std::string TitledCaption(const std::string& fileName) { return "Editor - " + fileName; }

std::string MenuCaptionOf(const std::string& path) {
  std::string caption;
  for (char c : path) {
    caption += c;
    if (c == '&') caption += '&';
  }
  return caption;
}

}  // namespace pendra
