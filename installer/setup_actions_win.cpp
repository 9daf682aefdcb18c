// The installer's own actions, built into PendraSetup.dll: the package
// carries the library in its Binary table and never installs it. It uses no
// C++ library, which keeps it a few kilobytes. Paths are handled in UTF-16,
// so a user name outside the code page is no trouble.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string_view>

#include "app/end_request.h"
#include "app/program_place.h"
#include "app/program_place_win.h"
#include "settings/reg_ini.h"

namespace {

constexpr const wchar_t* kRunValue = L"Pendra";
// The Run value an upgrade keeps for the new program.
constexpr const wchar_t* kKeptRunProperty = L"PENDRA_RUN";
// Set when the install ended the running Pendra, which it then starts again.
constexpr const wchar_t* kClosedProperty = L"PENDRA_CLOSED";
constexpr DWORD kPathSize = 1024;
// How long Pendra may take to answer (its editor may ask whether to save
// first) and then to end.
constexpr UINT kAnswerMs = 120000;
constexpr DWORD kEndMs = 30000;

using Path = wchar_t[kPathSize];

HKEY OpenRunKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, pendra::kRunKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

// The Pendra.exe of INSTALLDIR; false without one.
bool InstalledExe(MSIHANDLE install, Path& exe) {
  DWORD length = kPathSize - 16;
  if (MsiGetPropertyW(install, L"INSTALLDIR", exe, &length) != ERROR_SUCCESS || length == 0) return false;
  lstrcpyW(exe + length, L"Pendra.exe");
  return true;
}

// True when the Run value starts the Pendra in INSTALLDIR, by its long or its
// short path, quoted or not, in any case; `command` then holds it.
bool StartsInstalledPendra(MSIHANDLE install, HKEY key, Path& command) {
  Path exe;
  if (!InstalledExe(install, exe)) return false;
  DWORD type = 0;
  DWORD size = sizeof command - sizeof(wchar_t);
  if (RegQueryValueExW(key, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(command), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  command[size / sizeof(wchar_t)] = L'\0';
  const std::wstring_view program = pendra::RunCommandPath(std::wstring_view(command));
  Path path;
  lstrcpynW(path, program.data(), static_cast<int>(program.size()) + 1);
  return pendra::SameFileW(path, exe);
}

// The path of a process's program; false when it cannot be asked.
bool ProgramOf(HANDLE process, Path& path) {
  using Query = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  using ModuleName = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
  if (auto query = reinterpret_cast<Query>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW")))) {
    DWORD size = kPathSize;
    return query(process, 0, path, &size) != FALSE;
  }
  // Windows XP.
  HMODULE psapi = LoadLibraryA("psapi.dll");
  auto name = psapi ? reinterpret_cast<ModuleName>(
                          reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExW")))
                    : nullptr;
  return name && name(process, nullptr, path, kPathSize) > 0;
}

// The running Pendra of one program file: its tray window and its process.
struct Running {
  const wchar_t* exe = nullptr;
  HWND tray = nullptr;
  HANDLE process = nullptr;
};

// Only a window on this user's desktop is found, and only the copy that runs
// from the folder being installed is taken: another user's Pendra, or one
// the user runs from elsewhere, is never asked to end.
BOOL CALLBACK FindRunning(HWND window, LPARAM param) {
  auto* running = reinterpret_cast<Running*>(param);
  wchar_t text[16];
  if (!GetClassNameW(window, text, 16) || lstrcmpW(text, L"TfrmTray") != 0) return TRUE;
  if (!GetWindowTextW(window, text, 16) || lstrcmpW(text, L"frmTray") != 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  constexpr DWORD kQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION, from Vista on
  HANDLE process = OpenProcess(SYNCHRONIZE | kQueryLimited, FALSE, pid);
  if (!process) process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return TRUE;
  Path program;
  if (ProgramOf(process, program) && pendra::SameFileW(program, running->exe)) {
    running->tray = window;
    running->process = process;
    return FALSE;
  }
  CloseHandle(process);
  return TRUE;
}

enum class Outcome { NotRunning, Ended, Refused };

// Asks the Pendra running from `exe` to end as Windows asks a program at the
// end of a session, for this program alone (ENDSESSION_CLOSEAPP, as the
// Restart Manager does): it saves everything as at Exit, or refuses and says
// why in `reason`.
Outcome EndRunningPendra(const wchar_t* exe, Path& reason) {
  Running running;
  running.exe = exe;
  EnumWindows(FindRunning, reinterpret_cast<LPARAM>(&running));
  if (!running.tray) return Outcome::NotRunning;
  Outcome outcome = Outcome::Refused;
  DWORD_PTR agreed = FALSE;
  if (!SendMessageTimeoutW(running.tray, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kAnswerMs,
                           &agreed)) {
    lstrcpyW(reason, L"Pendra did not answer.");
  } else if (!agreed) {
    const HANDLE atom = GetPropW(running.tray, pendra::kEndRefusalPropertyW);
    if (!atom || !GlobalGetAtomNameW(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(atom)), reason, kPathSize))
      lstrcpyW(reason, L"Pendra gave no reason.");
    // The end is off: Pendra goes on as before.
    SendMessageTimeoutW(running.tray, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kEndMs, nullptr);
  } else {
    SendMessageTimeoutW(running.tray, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, kEndMs, nullptr);
    if (WaitForSingleObject(running.process, kEndMs) == WAIT_OBJECT_0)
      outcome = Outcome::Ended;
    else
      lstrcpyW(reason, L"Pendra saved everything but did not end.");
  }
  CloseHandle(running.process);
  return outcome;
}

}  // namespace

// Before anything is changed, a Pendra running from the install folder is
// asked to end, so that its program file can be replaced or removed and
// nothing it holds is lost. When it refuses, the user is told why and may
// try again (an install nobody watches writes it to its log); otherwise the
// install ends there, leaving the installed Pendra as it was.
extern "C" __declspec(dllexport) UINT __stdcall ClosePendra(MSIHANDLE install) {
  Path exe;
  if (!InstalledExe(install, exe)) return ERROR_SUCCESS;
  for (;;) {
    Path reason;
    const Outcome outcome = EndRunningPendra(exe, reason);
    if (outcome == Outcome::NotRunning) return ERROR_SUCCESS;
    if (outcome == Outcome::Ended) {
      MsiSetPropertyW(install, kClosedProperty, L"1");
      return ERROR_SUCCESS;
    }
    wchar_t text[kPathSize + 256];
    lstrcpyW(text, L"Pendra is running and could not be closed, so nothing was changed. ");
    lstrcatW(text, reason);
    lstrcatW(text, L"\n\nAnswer what Pendra shows, or exit Pendra, then choose Retry.");
    const MSIHANDLE record = MsiCreateRecord(1);
    // The text goes in a field of its own: a [name] in it is no property.
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text);
    const int answer = MsiProcessMessage(
        install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_RETRYCANCEL | MB_ICONWARNING), record);
    MsiCloseHandle(record);
    if (answer != IDRETRY) return answer == IDCANCEL ? ERROR_INSTALL_USEREXIT : ERROR_INSTALL_FAILURE;
  }
}

// The installed programs entry shows Pendra's icon. Windows takes it from the
// package's ARPPRODUCTICON; an installer that writes the entry without it
// (Wine's) gets it here. An entry that has an icon keeps it. Never fails.
extern "C" __declspec(dllexport) UINT __stdcall ShowIconInEntry(MSIHANDLE install) {
  wchar_t entry[128] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const DWORD prefix = static_cast<DWORD>(lstrlenW(entry));
  DWORD length = 128 - prefix;
  Path icon;
  if (MsiGetPropertyW(install, L"ProductCode", entry + prefix, &length) != ERROR_SUCCESS || !InstalledExe(install, icon))
    return ERROR_SUCCESS;
  lstrcatW(icon, L",0");
  const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  for (HKEY root : roots) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, entry, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) continue;
    if (RegQueryValueExW(key, L"DisplayIcon", nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      RegSetValueExW(key, L"DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(icon),
                     (lstrlenW(icon) + 1) * sizeof(wchar_t));
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}

// An uninstall that is not an upgrade takes the Run value with it when that
// value starts the Pendra being removed, so Windows is not left starting a
// file that is gone. A value that starts another copy stays. Never fails.
extern "C" __declspec(dllexport) UINT __stdcall ForgetStartWithWindows(MSIHANDLE install) {
  if (HKEY key = OpenRunKey()) {
    Path command;
    if (StartsInstalledPendra(install, key, command)) RegDeleteValueW(key, kRunValue);
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}

// An upgrade notes, before it removes the Pendra it replaces, the Run value
// that starts it, and puts it back once the new one is installed. Windows
// tells that removal it is part of an upgrade, so it leaves the value alone;
// Wine's installer does not. Neither ever fails.
extern "C" __declspec(dllexport) UINT __stdcall NoteStartWithWindows(MSIHANDLE install) {
  if (HKEY key = OpenRunKey()) {
    Path command;
    if (StartsInstalledPendra(install, key, command)) MsiSetPropertyW(install, kKeptRunProperty, command);
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall KeepStartWithWindows(MSIHANDLE install) {
  Path command;
  DWORD length = kPathSize;
  if (MsiGetPropertyW(install, kKeptRunProperty, command, &length) != ERROR_SUCCESS || length == 0)
    return ERROR_SUCCESS;
  if (HKEY key = OpenRunKey()) {
    RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command),
                   (length + 1) * sizeof(wchar_t));
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}
