#pragma once
// The controls of one reminder page and the services the page commands need
// from the reminder window. The window (reminder_window_win.cpp) builds the
// pages and owns the timers, the entry panels and the lifecycle; the list
// commands (Remove, Remove All, moves, Edit, sounds, button panels) live in
// page_commands_win.cpp and work on the pages through this header.
#include <windows.h>

#include <array>
#include <string>

#include "reminders/reminder_book.h"
#include "reminders/reminder_kinds.h"
#include "reminders/written_formats.h"

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

// What the page commands need from the reminder window.
class IReminderHost {
 public:
  virtual ~IReminderHost() = default;
  virtual ReminderPage& Page(Kind kind) = 0;
  virtual ReminderBook& Book() = 0;
  // Refills the page's list control from the book (no row selected afterwards).
  virtual void RefreshList(Kind kind) = 0;
  // Writes the book's LinesToSave(kind) to the kind's list file.
  virtual void SaveList(Kind kind) = 0;
  // Loads the kind's list file into the book and the list control.
  virtual void LoadList(Kind kind) = 0;
  // Before a command changes a list whose file could not be read, the file is
  // tried again; the command ends with an error when it still cannot be read.
  virtual void RequireLoaded(Kind kind) = 0;
  virtual std::string ListFilePath(Kind kind) const = 0;
  // Reads the lists' time and date texts: by the current formats, then by
  // those the lists were written with before.
  virtual TextReader Reader() = 0;
  // Go to a page: tab highlight moves with it.
  virtual void GoToPage(Kind kind) = 0;
  // The Close command: hides the reminder window.
  virtual void HideWindow() = 0;
  // Lays the page out again after its button panel was shown or hidden, so
  // the list takes the panel's room or gives it back.
  virtual void Relayout() {}
};

// Menu item helpers.
void EnableMenuItemById(HMENU menu, int id, bool enabled);
bool MenuItemEnabled(HMENU menu, int id);
void CheckMenuItemById(HMENU menu, int id, bool checked);
bool MenuItemChecked(HMENU menu, int id);

}  // namespace pendra
