#pragma once
// Controls that hold what the user types in any script: the entry fields and
// lists of the reminder pages, the to-do list and its dialog, the tab list.
// They are made by the wide calls, so they hold UTF-16 whatever the code
// page; Pendra gives and takes their texts in UTF-8 (GetTextUtf8,
// SetTextUtf8 and the rows below). Every subclass of such a control must be
// a wide one (SetWindowLongPtrW, CallWindowProcW): an ANSI one between would
// turn its texts into the code page.
#include <windows.h>

#include <string>

namespace pendra {

// A child control of a system class (L"EDIT", L"LISTBOX") made by the wide
// calls, with the font given.
HWND CreateWideControl(const wchar_t* cls, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                       HWND parent, int id, HFONT font);

// An edit made so. The program's message loop is an ANSI one, which would
// hand a typed character on as "?" where the code page has no such
// character (and in bytes under UTF-8): each character beyond ASCII goes into
// the edit whole instead, as the user typed it. Paste takes Unicode text.
HWND CreateWideEdit(DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent, int id,
                    HFONT font);

// The rows of a wide list box, in UTF-8.
void AddListRow(HWND list, const std::string& row);
void InsertListRow(HWND list, int index, const std::string& row);
std::string ListRow(HWND list, int index);

}  // namespace pendra
