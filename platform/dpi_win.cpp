#include "platform/dpi_win.h"

namespace pendra {
namespace {

template <class F>
F User32(const char* name) {
  static const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

UINT SystemDpi() {
  using GetDpiForSystemFn = UINT(WINAPI*)();
  static const auto getDpiForSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
  if (getDpiForSystem) return getDpiForSystem();
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (const UINT dpi = getDpiForWindow(hwnd)) return dpi;
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = User32<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (!forDpi || !forDpi(rect, style, menu, exStyle, dpi)) AdjustWindowRectEx(rect, style, menu, exStyle);
}

HFONT CreateScaledFont(int designHeight, int weight, DWORD pitchAndFamily, const char* face,
                       UINT dpi) {
  return CreateFontA(ScaleToDpi(designHeight, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     pitchAndFamily, face);
}

HFONT CreateGuiFont(UINT dpi) {
  LOGFONTA font{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  // The stock font is made for the system DPI.
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return CreateFontIndirectA(&font);
}

void ReplaceFont(HWND parent, HFONT from, HFONT to) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)) == from)
      SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(to), TRUE);
    ReplaceFont(child, from, to);
  }
}

void RescaleChildren(HWND parent, UINT fromDpi, UINT toDpi) {
  if (fromDpi == toDpi || fromDpi == 0) return;
  auto scale = [&](LONG v) { return MulDiv(v, static_cast<int>(toDpi), static_cast<int>(fromDpi)); };
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    // A combo box is sized with its drop-down list.
    RECT dropped{};
    if (lstrcmpiA(cls, "ComboBox") == 0 &&
        SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
      r.bottom = r.top + (dropped.bottom - dropped.top);
    // Edges are scaled, not sizes: controls that touch keep touching.
    SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                 scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) RescaleChildren(child, fromDpi, toDpi);
  }
}

}  // namespace pendra
