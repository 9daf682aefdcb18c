#pragma once
// One instance per desktop. The entry ends a second start when it finds the
// first instance's tray window; TPBJustOne (a member of the tray window,
// constructed before anything else of it) catches the instance that is still
// starting, by its application window.
#include <windows.h>

namespace pendra {

inline constexpr const char* kInstanceMutexName = "Pendra";

// Creates the named mutex "Pendra" (kept for the life of the process) and
// remembers whether another process already held it.
void CreateInstanceMutex();
bool InstanceMutexExisted();
// Lets tests state the mutex answer without creating the mutex.
void SetInstanceMutexExisted(bool existed);

class TPBJustOne {
 public:
  // Runs the check; may end the process.
  TPBJustOne();

  // What the check found (kept for tests).
  struct Result {
    int matchCount = 0;
    HWND otherInstance = nullptr;
    HWND otherPopup = nullptr;
    bool endsProcess = false;
  };
  // Counts the top-level windows whose class name and title equal those of the
  // application window; when another one exists, brings its last active popup
  // to the front. Does not end the process.
  static Result Check(HWND ownApplicationWindow);

  // How the process is ended; tests replace it.
  using EndProcessFn = void (*)();
  static EndProcessFn endProcess;
  static const Result& LastResult();
};

}  // namespace pendra
