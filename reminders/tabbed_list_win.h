#pragma once
// TMd4TabbedList: a single-column list box that expands tab characters at ten
// tab positions given in pixels (TabsString). It knows nothing of reminders.
// Its rows are given and taken in UTF-8 and shown whole, in any script.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "reminders/tab_stops.h"
#include "settings/list_file.h"

namespace pendra {

class TMd4TabbedList {
 public:
  // The window is created on first need (HandleNeeded), as a child of parent.
  TMd4TabbedList(HWND parent, int id);
  ~TMd4TabbedList();
  TMd4TabbedList(const TMd4TabbedList&) = delete;
  TMd4TabbedList& operator=(const TMd4TabbedList&) = delete;

  HWND Handle() const { return hwnd_; }  // nullptr until created
  HWND HandleNeeded();                   // creates the window when it is missing
  // Destroys the window and creates it again, keeping rows and selection (as
  // the platform does when a style must change).
  void RecreateWnd();

  std::string TabsString() const;
  // Parses the text, then applies the positions; a list without a window gets
  // one first, whose creation resets the positions to the defaults.
  void SetTabsString(std::string_view text);
  void ApplyTabStops();
  const TabStops& Stops() const { return FTabStops; }
  const TabStops& AppliedUnits() const { return applied_; }  // last sent to the list

  void SetFont(HFONT font);  // the font the tab unit is measured in
  void SetBounds(int x, int y, int width, int height);

  // Rows.
  void SetItems(const Lines& rows);  // in one pass; no row selected afterwards
  int Count() const;
  int ItemIndex() const;             // -1: none
  void SetItemIndex(int index);
  std::string Item(int index) const;
  // One row at a time, leaving the others and the scroll position alone.
  void InsertItem(int index, const std::string& row);  // index == Count(): at the end
  void DeleteItem(int index);
  void MoveItem(int from, int to);  // the row ends up at `to`

  // Key-down of the list (before its standard handling).
  std::function<void(WPARAM key)> onKeyDown;
  // Shown on right click; its commands go to commandTarget as WM_COMMAND.
  void SetPopupMenu(HMENU menu, HWND commandTarget);
  HMENU PopupMenu() const { return popup_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void CreateWnd();
  // A message straight to the list box's own procedure (see the .cpp).
  LRESULT Call(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;

  HWND parent_;
  int id_;
  RECT bounds_{0, 0, 100, 100};
  HFONT font_ = nullptr;
  HWND hwnd_ = nullptr;
  WNDPROC oldProc_ = nullptr;
  TabStops FTabStops{};
  TabStops applied_{};
  HMENU popup_ = nullptr;
  HWND commandTarget_ = nullptr;
};

}  // namespace pendra
