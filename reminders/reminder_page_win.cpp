#include "reminders/reminder_page_win.h"

#include <commctrl.h>

#include "platform/window_win.h"

namespace pendra {

void EnableMenuItemById(HMENU menu, int id, bool enabled) {
  if (menu)
    EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MenuItemEnabled(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void CheckMenuItemById(HMENU menu, int id, bool checked) {
  if (menu)
    CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItemChecked(HMENU menu, int id) {
  const UINT state = GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

DateTime PickerDateTime(HWND picker) {
  SYSTEMTIME st{};
  SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return DateTime{{st.wYear, st.wMonth, st.wDay}, {st.wHour, st.wMinute, st.wSecond}};
}

void SetPickerDateTime(HWND picker, const Date& date, const TimeOfDay& time) {
  if (!picker) return;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(date));
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

bool SwitchOn(const ReminderPage& p) { return MenuItemChecked(p.popup, MenuId(p.kind, Mnu::PlaySounds)); }

std::string SlotSound(const ReminderPage& p) { return SwitchOn(p) ? GetText(p.edtSound) : std::string(); }

}  // namespace pendra
