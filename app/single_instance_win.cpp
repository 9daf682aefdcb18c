#include "app/single_instance_win.h"

#include <cstring>

#include "platform/application_win.h"

namespace pendra {
namespace {

bool gMutexExisted = false;

// The check's state, as the enumeration callback needs it.
int gMatchCount = 0;
HWND gOtherInstance = nullptr;
HWND gOwnWindow = nullptr;
char gOwnTitle[256];
char gOwnClassName[256];
TPBJustOne::Result gLast;

BOOL CALLBACK CountInstance(HWND hwnd, LPARAM) {
  char className[256];
  int n = GetClassNameA(hwnd, className, sizeof className);
  if (n <= 0 || std::strcmp(className, gOwnClassName) != 0) return TRUE;
  char title[256];
  n = GetWindowTextA(hwnd, title, sizeof title);
  if (n <= 0 || std::strcmp(title, gOwnTitle) != 0) return TRUE;
  ++gMatchCount;
  if (hwnd != gOwnWindow) gOtherInstance = hwnd;
  return TRUE;
}

void ExitAtOnce() { ExitProcess(0); }

}  // namespace

void CreateInstanceMutex() {
  // The handle is never closed: the mutex lasts as long as the process.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  gMutexExisted = mutex && GetLastError() == ERROR_ALREADY_EXISTS;
}

bool InstanceMutexExisted() { return gMutexExisted; }
void SetInstanceMutexExisted(bool existed) { gMutexExisted = existed; }

TPBJustOne::EndProcessFn TPBJustOne::endProcess = ExitAtOnce;

const TPBJustOne::Result& TPBJustOne::LastResult() { return gLast; }

TPBJustOne::Result TPBJustOne::Check(HWND ownApplicationWindow) {
  gMatchCount = 0;
  gOtherInstance = nullptr;
  gOwnWindow = ownApplicationWindow;
  gOwnTitle[0] = gOwnClassName[0] = '\0';
  if (ownApplicationWindow) {
    GetWindowTextA(ownApplicationWindow, gOwnTitle, sizeof gOwnTitle);
    GetClassNameA(ownApplicationWindow, gOwnClassName, sizeof gOwnClassName);
  }
  EnumWindows(CountInstance, 0);

  Result r;
  r.matchCount = gMatchCount;
  r.otherInstance = gOtherInstance;
  if (gMatchCount > 1 && gOtherInstance) {
    r.otherPopup = GetLastActivePopup(gOtherInstance);
    BringWindowToTop(gOtherInstance);
    if (IsIconic(r.otherPopup))
      ShowWindow(r.otherPopup, SW_RESTORE);
    else
      SetForegroundWindow(r.otherPopup);
    r.endsProcess = true;
  }
  return r;
}

TPBJustOne::TPBJustOne() {
  gLast = Check(ApplicationWindow());
  // The two window checks are not atomic: an instance that has created the
  // mutex but no window yet is found by the mutex alone. Ending here, before
  // the tray builds anything, writes no setting and adds no tray icon.
  if (!gLast.endsProcess && InstanceMutexExisted()) gLast.endsProcess = true;
  if (gLast.endsProcess) endProcess();
}

}  // namespace pendra
