#include "platform/on_demand_win.h"

#include <commctrl.h>

namespace pendra {
namespace {

FARPROC Proc(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

template <class F>
F ProcAs(const char* library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(Proc(library, name)));
}

}  // namespace

void EnsureCommonControls() {
  static const bool done = [] {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = ProcAs<Init>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                             ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    return init && init(&icc);
  }();
  (void)done;
}

BOOL OpenFileDialog(OPENFILENAMEA* ofn, DWORD* extendedError) {
  using Open = BOOL(WINAPI*)(OPENFILENAMEA*);
  using Error = DWORD(WINAPI*)();
  static const auto open = ProcAs<Open>("comdlg32.dll", "GetOpenFileNameA");
  static const auto error = ProcAs<Error>("comdlg32.dll", "CommDlgExtendedError");
  if (!open) {
    *extendedError = 0;
    return FALSE;
  }
  const BOOL chosen = open(ofn);
  *extendedError = chosen || !error ? 0 : error();
  return chosen;
}

BOOL PlaySoundFile(const char* path, HMODULE module, DWORD flags) {
  using Play = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
  static const auto play = ProcAs<Play>("winmm.dll", "PlaySoundA");
  return play ? play(path, module, flags) : FALSE;
}

}  // namespace pendra
