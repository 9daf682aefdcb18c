#pragma once
// The reminder entry: "time" "-" "schedule" "--" "message".
#include <optional>
#include <string>
#include <string_view>

namespace pendra {

struct EntryFields {
  std::string_view time;
  std::string_view schedule;
  std::string_view message;
};

std::string ComposeEntry(std::string_view timeText, std::string_view schedule,
                         std::string_view message);

// Message: after the first "--"; time: before the first "-"; schedule: between
// the first "-" and the first "--". Three hyphens after the time are an empty
// schedule: "-" then "--". nullopt for a line without "-" or "--" (the
// program never writes one; a hand-edited file may hold it).
std::optional<EntryFields> CutEntry(std::string_view entry);

}  // namespace pendra
