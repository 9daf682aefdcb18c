#pragma once
// Rules of the reminder pages' list commands that need no window: what Edit
// puts into the entry panel, the pages a popup menu switches to, the alarm
// switch's pictures and the stored visibility of the button panels.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "reminders/reminder_kinds.h"
#include "reminders/written_formats.h"
#include "settings/datetime.h"

namespace pendra {

class IRegistry;

// What Edit puts into the entry panel for one entry.
struct EditPlan {
  std::string message;  // into the message edit
  // False for a line without "-" or "--" (a hand-edited file): the whole line
  // is the message and the pickers and combo boxes are left as they are.
  bool cut = false;
  std::string timeField;
  std::optional<TimeOfDay> time;  // nullopt when the time field does not convert
  std::string scheduleText;       // weekly and monthly pages: the combo text, unchanged
  Date scheduleDate;              // one-time and daily pages: the converted date, or today
};

// The fields are read by the current formats first, then by those the lists
// were written with before.
EditPlan PlanEdit(Kind kind, std::string_view entry, const TextReader& reader, const Date& today);

// "'<time field>' is not a valid time"
std::string InvalidTimeMessage(std::string_view timeField);

// The pages a page's popup menu switches to, in menu order: the three others.
std::array<Kind, 3> OtherPages(Kind page);

// The shared open dialog's one filter entry.
inline constexpr const char* kWaveFilter = "Wave files (*.wav)|*.wav";

// The toggle button's picture for a switch state: "check.bmp" while the sound
// is on, "undo.bmp" while it is off, beside the executable.
std::string SwitchPicturePath(const std::string& programFolder, bool on);

// Stored visibility of a page's button panel ("Button1" .. "Button4", ident
// "Visible"); missing or not a whole number means shown.
std::string PanelSection(Kind kind);
bool StoredPanelVisible(IRegistry& registry, Kind kind);
void StorePanelVisible(IRegistry& registry, Kind kind, bool visible);

}  // namespace pendra
