#pragma once
// System libraries that only some actions need (common controls, the common
// dialogs, sound) are loaded on first use, which keeps them out of the start.
#include <windows.h>
#include <commdlg.h>

namespace pendra {

// Loads the common controls and registers their window classes, once. Call
// before creating a tooltip, tab, header, date picker or up-down control.
void EnsureCommonControls();

// GetOpenFileNameA; also reports CommDlgExtendedError when it returns FALSE.
BOOL OpenFileDialog(OPENFILENAMEA* ofn, DWORD* extendedError);

// PlaySoundA; FALSE when the sound library is not there.
BOOL PlaySoundFile(const char* path, HMODULE module, DWORD flags);

}  // namespace pendra
