#include "reminders/entry.h"

namespace pendra {

std::string ComposeEntry(std::string_view timeText, std::string_view schedule,
                         std::string_view message) {
  std::string entry;
  entry.reserve(timeText.size() + schedule.size() + message.size() + 3);
  entry.append(timeText).append("-").append(schedule).append("--").append(message);
  return entry;
}

std::optional<EntryFields> CutEntry(std::string_view entry) {
  const std::size_t hyphen = entry.find('-');
  std::size_t doubleHyphen = entry.find("--");
  if (hyphen == std::string_view::npos || doubleHyphen == std::string_view::npos) {
    return std::nullopt;
  }
  // "time---message" is what OK writes for a schedule left empty: the "--"
  // follows the first "-", or every cut and compose would add a hyphen to the
  // message.
  if (doubleHyphen == hyphen && entry.substr(hyphen + 1, 2) == "--") ++doubleHyphen;
  EntryFields fields;
  fields.time = entry.substr(0, hyphen);
  // When the first "-" begins the first "--" the schedule is empty.
  fields.schedule = entry.substr(hyphen + 1, doubleHyphen > hyphen ? doubleHyphen - hyphen - 1 : 0);
  fields.message = entry.substr(doubleHyphen + 2);
  return fields;
}

}  // namespace pendra
