#pragma once
// System libraries that only some actions need (common controls, the common
// dialogs, sound, the rich edit controls, the spooler) are loaded on first
// use, which keeps them out of the start.
#include <windows.h>
#include <commdlg.h>

#include <string>

namespace pendra {

// Loads the common controls and registers their window classes, once. Call
// before creating a tooltip, tab, header, date picker or up-down control.
void EnsureCommonControls();

// GetOpenFileNameW; also reports CommDlgExtendedError when it returns FALSE.
// Wide, so that a path outside the code page comes back whole.
BOOL OpenFileDialog(OPENFILENAMEW* ofn, DWORD* extendedError);

// GetSaveFileNameW; also reports CommDlgExtendedError when it returns FALSE.
BOOL SaveFileDialog(OPENFILENAMEW* ofn, DWORD* extendedError);

// ChooseFontA; FALSE when cancelled or when the library is not there.
BOOL ChooseFontDialog(CHOOSEFONTA* choice);

// FindTextA: the modeless find dialog, or null.
HWND FindTextDialog(FINDREPLACEA* find);

// Loads RICHED20.DLL ("RichEdit20A") or RICHED32.DLL ("RICHEDIT"), once;
// false when the library is not there.
bool EnsureRichEdit20();
bool EnsureRichEdit10();

// GetDefaultPrinterA; empty when there is no default printer.
std::string DefaultPrinterName();

// PlaySoundA; FALSE when the sound library is not there.
BOOL PlaySoundFile(const char* path, HMODULE module, DWORD flags);

// Tells the system why the window holds up the end of the session
// (ShutdownBlockReasonCreate, with the text taken as UTF-8, as errors are), or,
// for an empty text, that it no longer does (ShutdownBlockReasonDestroy).
// False where the system has no such reasons (before Vista) or refused.
bool SetShutdownBlockReason(HWND window, const std::string& reason);

// Asks the Restart Manager to start the program again after an installer or
// an update closed it (RegisterApplicationRestart), not after a crash or a
// hang. Nothing where the system has no Restart Manager (before Vista).
void RegisterForRestart();

}  // namespace pendra
