#include "app/program_place_win.h"

#include <windows.h>

#include <string>

#include "app/program_place.h"
#include "platform/services.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

// The long form of a path, as UTF-8 so that no name is lost to the code page:
// the temporary folder is often given in short names (C:\Users\ANNLEE~1\...),
// and the program folder is one where its long name does not fit the code page.
std::string LongPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
  const std::wstring whole = n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : path;
  return Narrow(CP_UTF8, whole);
}

}  // namespace

bool ToldToUnpackFirst() {
  wchar_t temp[MAX_PATH];
  const DWORD n = GetTempPathW(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) return false;
  if (!InArchiveTempFolder(LongPath(Widen(CP_ACP, Svc().programFolder)), LongPath(std::wstring(temp, n))))
    return false;
  Svc().dialogs->ShowMessage(
      "Pendra is running from inside a zip file, in a temporary folder that Windows deletes "
      "later. Your notes, reminders and lists would be deleted with it, so Pendra ends now.\n\n"
      "Unpack the zip first: right-click it, choose Extract All, and start Pendra.exe from the "
      "folder it was extracted to.",
      kAppTitle, MsgIcon::Warning);
  return true;
}

}  // namespace pendra
