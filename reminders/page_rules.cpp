#include "reminders/page_rules.h"

#include "reminders/entry.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

bool SchedulesADate(Kind kind) { return kind == Kind::OneTime || kind == Kind::Daily; }

}  // namespace

EditPlan PlanEdit(Kind kind, std::string_view entry, const TextReader& reader, const Date& today) {
  EditPlan plan;
  std::optional<EntryFields> fields = CutEntry(entry);
  if (!fields) {
    // Nothing of a line the program never writes is guessed at: the user sees
    // it whole and can retype it; OK then stores a proper entry in its stead.
    plan.message = std::string(entry);
    return plan;
  }
  plan.cut = true;
  plan.message = std::string(fields->message);
  plan.timeField = std::string(fields->time);
  plan.time = reader.ReadTime(fields->time);
  plan.scheduleText = std::string(fields->schedule);
  plan.scheduleDate = today;
  if (SchedulesADate(kind)) {
    if (std::optional<Date> d = reader.ReadDate(fields->schedule)) plan.scheduleDate = *d;
  }
  return plan;
}

std::string InvalidTimeMessage(std::string_view timeField) {
  return "'" + std::string(timeField) + "' is not a valid time";
}

std::array<Kind, 3> OtherPages(Kind page) {
  std::array<Kind, 3> out{};
  size_t n = 0;
  for (Kind k : kAllKinds)
    if (k != page) out[n++] = k;
  return out;
}

std::string SwitchPicturePath(const std::string& programFolder, bool on) {
  return programFolder + (on ? "check.bmp" : "undo.bmp");
}

std::string PanelSection(Kind kind) { return "Button" + std::to_string(Index(kind) + 1); }

bool StoredPanelVisible(IRegistry& registry, Kind kind) {
  return TRegIniFile(registry, kReminderButtonsKey).ReadBool(PanelSection(kind), "Visible", true);
}

void StorePanelVisible(IRegistry& registry, Kind kind, bool visible) {
  TRegIniFile(registry, kReminderButtonsKey).WriteBool(PanelSection(kind), "Visible", visible);
}

}  // namespace pendra
