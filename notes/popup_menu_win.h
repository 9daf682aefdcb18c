#pragma once
// Menus of the text windows, built from small tables, and the context menu
// call the tests replace.
#include <windows.h>

#include <functional>
#include <initializer_list>

namespace pendra {

// Pops a menu up with its top left corner at a screen point; the chosen
// command reaches the owner as WM_COMMAND.
using PopupMenuFunction = std::function<void(HWND owner, HMENU menu, POINT at)>;
void TrackPopupAt(HWND owner, HMENU menu, POINT at);

// One menu item: id 0 is a separator. The caption holds the shortcut shown,
// after a tab.
struct MenuRow {
  int id;
  const char* caption;
  bool enabled;
};
void AppendRows(HMENU menu, std::initializer_list<MenuRow> rows);

}  // namespace pendra
