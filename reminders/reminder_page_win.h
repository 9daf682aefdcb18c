#pragma once
// The controls of one reminder page, their identifiers, and what the rooms of
// the reminder window read from a page: its menu items' states and the alarm
// sound of its slot. reminder_pages_win.* builds the pages.
#include <windows.h>

#include <array>
#include <string>

#include "reminders/reminder_kinds.h"
#include "settings/datetime.h"

namespace pendra {

class TMd4TabbedList;

// Control identifiers: kControlBase + page * kPageStride + role.
enum class Ctl : int {
  editMessage = 1, cbSchedule, dtpSchedule, dtpCalendar, dtpTime, stxtClock,
  btnOK, btnCancel, btnTest, editRef, header, list, panel,
  btnRemove, btnEdit, btnClearAll, btnUp, btnDown, btnMoveTop, btnMoveBottom,
  btnSound, btnPlay, btnHideButtons, btnHide, edtSound,
  spinHours, spinMinutes, editHours, editMinutes,  // one-time page only
};
// Popup menu item identifiers: kMenuBase + page * kPageStride + role.
enum class Mnu : int {
  GoPageA = 1, GoPageB, GoPageC,  // the three other pages, in menu order
  DeleteMessage, EditMessage, RemoveAll, MoveUp, MoveDown, MoveToTop, MoveToBottom,
  AlarmSound, PlaySounds, HideButtons, ShowButtons, Close,  // PlaySounds: the "Play Sounds" items PlaySound1..4
};
inline constexpr int kControlBase = 1000;
inline constexpr int kMenuBase = 5000;
inline constexpr int kPageStride = 100;
inline int ControlId(Kind k, Ctl role) { return kControlBase + Index(k) * kPageStride + static_cast<int>(role); }
inline int MenuId(Kind k, Mnu role) { return kMenuBase + Index(k) * kPageStride + static_cast<int>(role); }

struct ReminderPage {
  Kind kind = Kind::OneTime;
  HWND page = nullptr;          // the tab sheet (tbsReminder, tbsWeekReminder, ...)
  HWND editMessage = nullptr;   // editRemind, editWeekRemind, editDailyRemind, editMonthRemind
  HWND cbSchedule = nullptr;    // cbDay / cbDays (weekly, monthly)
  HWND dtpSchedule = nullptr;   // DTPEvents / DTPDailyEvents (one-time, daily)
  HWND dtpCalendar = nullptr;   // DTPWeekEvents / DTPMonthEvents (weekly, monthly)
  HWND dtpTime = nullptr;       // DTPTime, DTPDayTime, DTPDailyTime, DTPMonthTime
  HWND stxtClock = nullptr;     // stxtRemind, stxtWeek, stxtDaily, stxtMonth
  HWND btnOK = nullptr, btnCancel = nullptr, btnTest = nullptr;
  HWND editRef = nullptr;       // editDayStr (weekly), editMonthStr (monthly) (hidden)
  HWND header = nullptr;        // HeaderControl1..4
  TMd4TabbedList* list = nullptr;  // Md4TabbedList1..4
  HWND panel = nullptr;         // pnlButton1..4
  HWND btnRemove = nullptr, btnEdit = nullptr, btnClearAll = nullptr;
  HWND btnUp = nullptr, btnDown = nullptr, btnMoveTop = nullptr, btnMoveBottom = nullptr;
  HWND btnSound = nullptr;      // btnSound, Button3, btnSound3, btnMonthSound
  HWND btnPlay = nullptr;       // btnPlay, btnPlay2, btnPlay3, btnPlay4 (owner-drawn glyph button)
  HWND btnHideButtons = nullptr, btnHide = nullptr;
  HWND edtSound = nullptr;      // edtReminderSound, edtReminderSound2..4 (hidden)
  HMENU popup = nullptr;        // pmnuViewEvents, pmnuViewEvents2, pmnuViewEvents3, pmuMonth
  HBITMAP playGlyph = nullptr;  // picture of btnPlay: two images side by side (enabled, disabled)
};

// Menu item helpers.
void EnableMenuItemById(HMENU menu, int id, bool enabled);
bool MenuItemEnabled(HMENU menu, int id);
void CheckMenuItemById(HMENU menu, int id, bool checked);
bool MenuItemChecked(HMENU menu, int id);

// A date and time picker's value, and setting it (nothing for no picker).
DateTime PickerDateTime(HWND picker);
void SetPickerDateTime(HWND picker, const Date& date, const TimeOfDay& time);

// The page's alarm switch: the check mark of its "Play Sounds" item.
bool SwitchOn(const ReminderPage& p);
// The sound of the page's slot for an announcement: the path when the switch
// is on, else empty (as it is when no sound was chosen).
std::string SlotSound(const ReminderPage& p);

}  // namespace pendra
