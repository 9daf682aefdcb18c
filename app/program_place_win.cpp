#include "app/program_place_win.h"

#include <windows.h>

#include <string>

#include "app/program_place.h"
#include "platform/services.h"

namespace pendra {
namespace {

// The long form of a path: the temporary folder is often given in short
// names (C:\Users\ANNLEE~1\...), the program's own path rarely.
std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : path;
}

}  // namespace

bool ToldToUnpackFirst() {
  char temp[MAX_PATH];
  const DWORD n = GetTempPathA(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) return false;
  if (!InArchiveTempFolder(LongPath(Svc().programFolder), LongPath(std::string(temp, n)))) return false;
  Svc().dialogs->ShowMessage(
      "Pendra is running from inside a zip file, in a temporary folder that Windows deletes "
      "later. Your notes, reminders and lists would be deleted with it, so Pendra ends now.\n\n"
      "Unpack the zip first: right-click it, choose Extract All, and start Pendra.exe from the "
      "folder it was extracted to.",
      kAppTitle, MsgIcon::Warning);
  return true;
}

}  // namespace pendra
