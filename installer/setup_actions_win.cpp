// The installer's own actions, built into PendraSetup.dll: the package
// carries the library in its Binary table and never installs it. It uses no
// C++ library, which keeps it a few kilobytes. None of them ever fails the
// install or the uninstall.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "app/program_place.h"
#include "settings/reg_ini.h"

namespace {

constexpr const char* kRunValue = "Pendra";
// The Run value an upgrade keeps for the new program.
constexpr const char* kKeptRunProperty = "PENDRA_RUN";
constexpr DWORD kCommandSize = 2 * MAX_PATH + 3;

HKEY OpenRunKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, pendra::kRunKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

// True when the Run value starts the Pendra in INSTALLDIR; `command` then holds it.
bool StartsInstalledPendra(MSIHANDLE install, HKEY key, char (&command)[kCommandSize]) {
  char exe[MAX_PATH + 16];
  DWORD length = MAX_PATH;
  if (MsiGetPropertyA(install, "INSTALLDIR", exe, &length) != ERROR_SUCCESS) return false;
  lstrcpyA(exe + length, "Pendra.exe");
  DWORD type = 0;
  DWORD size = kCommandSize - 1;
  command[kCommandSize - 1] = '\0';
  return RegQueryValueExA(key, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(command), &size) ==
             ERROR_SUCCESS &&
         type == REG_SZ && pendra::RunCommandNames(command, exe);
}

}  // namespace

// An uninstall that is not an upgrade takes the Run value with it when that
// value starts the Pendra being removed, so Windows is not left starting a
// file that is gone. A value that starts another copy stays.
extern "C" __declspec(dllexport) UINT __stdcall ForgetStartWithWindows(MSIHANDLE install) {
  if (HKEY key = OpenRunKey()) {
    char command[kCommandSize];
    if (StartsInstalledPendra(install, key, command)) RegDeleteValueA(key, kRunValue);
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}

// An upgrade notes, before it removes the Pendra it replaces, the Run value
// that starts it, and puts it back once the new one is installed. Windows
// tells that removal it is part of an upgrade, so it leaves the value alone;
// Wine's installer does not.
extern "C" __declspec(dllexport) UINT __stdcall NoteStartWithWindows(MSIHANDLE install) {
  if (HKEY key = OpenRunKey()) {
    char command[kCommandSize];
    if (StartsInstalledPendra(install, key, command)) MsiSetPropertyA(install, kKeptRunProperty, command);
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall KeepStartWithWindows(MSIHANDLE install) {
  char command[kCommandSize];
  DWORD length = kCommandSize;
  if (MsiGetPropertyA(install, kKeptRunProperty, command, &length) != ERROR_SUCCESS || length == 0)
    return ERROR_SUCCESS;
  if (HKEY key = OpenRunKey()) {
    RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), length + 1);
    RegCloseKey(key);
  }
  return ERROR_SUCCESS;
}
