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

BOOL OpenFileDialog(OPENFILENAMEW* ofn, DWORD* extendedError) {
  using Open = BOOL(WINAPI*)(OPENFILENAMEW*);
  using Error = DWORD(WINAPI*)();
  static const auto open = ProcAs<Open>("comdlg32.dll", "GetOpenFileNameW");
  static const auto error = ProcAs<Error>("comdlg32.dll", "CommDlgExtendedError");
  if (!open) {
    *extendedError = 0;
    return FALSE;
  }
  const BOOL chosen = open(ofn);
  *extendedError = chosen || !error ? 0 : error();
  return chosen;
}

BOOL SaveFileDialog(OPENFILENAMEW* ofn, DWORD* extendedError) {
  using Save = BOOL(WINAPI*)(OPENFILENAMEW*);
  using Error = DWORD(WINAPI*)();
  static const auto save = ProcAs<Save>("comdlg32.dll", "GetSaveFileNameW");
  static const auto error = ProcAs<Error>("comdlg32.dll", "CommDlgExtendedError");
  if (!save) {
    *extendedError = 0;
    return FALSE;
  }
  const BOOL chosen = save(ofn);
  *extendedError = chosen || !error ? 0 : error();
  return chosen;
}

BOOL ChooseFontDialog(CHOOSEFONTA* choice) {
  using Choose = BOOL(WINAPI*)(CHOOSEFONTA*);
  static const auto choose = ProcAs<Choose>("comdlg32.dll", "ChooseFontA");
  return choose ? choose(choice) : FALSE;
}

HWND FindTextDialog(FINDREPLACEA* find) {
  using Find = HWND(WINAPI*)(FINDREPLACEA*);
  static const auto open = ProcAs<Find>("comdlg32.dll", "FindTextA");
  return open ? open(find) : nullptr;
}

bool EnsureRichEdit20() {
  static const bool loaded = LoadLibraryA("riched20.dll") != nullptr;
  return loaded;
}

bool EnsureRichEdit10() {
  static const bool loaded = LoadLibraryA("riched32.dll") != nullptr;
  return loaded;
}

std::string DefaultPrinterName() {
  using Get = BOOL(WINAPI*)(LPSTR, LPDWORD);
  static const auto get = ProcAs<Get>("winspool.drv", "GetDefaultPrinterA");
  if (!get) return {};
  DWORD size = 0;
  get(nullptr, &size);
  if (size == 0) return {};
  std::string name(size, '\0');
  if (!get(name.data(), &size)) return {};
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  return name;
}

BOOL PlaySoundFile(const char* path, HMODULE module, DWORD flags) {
  using Play = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);
  static const auto play = ProcAs<Play>("winmm.dll", "PlaySoundA");
  return play ? play(path, module, flags) : FALSE;
}

bool SetShutdownBlockReason(HWND window, const std::string& reason) {
  using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
  using Destroy = BOOL(WINAPI*)(HWND);
  static const auto create = ProcAs<Create>("user32.dll", "ShutdownBlockReasonCreate");
  static const auto destroy = ProcAs<Destroy>("user32.dll", "ShutdownBlockReasonDestroy");
  if (reason.empty()) return destroy && destroy(window);
  if (!create) return false;
  const int size = MultiByteToWideChar(CP_UTF8, 0, reason.c_str(), -1, nullptr, 0);
  if (size <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, reason.c_str(), -1, wide.data(), size);
  return create(window, wide.c_str()) != FALSE;
}

void RegisterForRestart() {
  using Register = HRESULT(WINAPI*)(PCWSTR, DWORD);
  constexpr DWORD kNoCrash = 1, kNoHang = 2;  // RESTART_NO_CRASH, RESTART_NO_HANG
  const auto registerRestart = ProcAs<Register>("kernel32.dll", "RegisterApplicationRestart");
  if (registerRestart) registerRestart(L"", kNoCrash | kNoHang);
}

}  // namespace pendra
