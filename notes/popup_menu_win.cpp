#include "notes/popup_menu_win.h"

namespace pendra {

void TrackPopupAt(HWND owner, HMENU menu, POINT at) {
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner,
                 nullptr);
}

void AppendRows(HMENU menu, std::initializer_list<MenuRow> rows) {
  for (const MenuRow& row : rows) {
    if (row.id == 0) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu, MF_STRING | (row.enabled ? MF_ENABLED : MF_GRAYED),
                  static_cast<UINT_PTR>(row.id), row.caption);
    }
  }
}

}  // namespace pendra
