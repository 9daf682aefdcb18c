#pragma once
// Pendra scales its own layouts. Every position, size and font height in the
// code is a design value at 96 DPI (100 %), scaled by the DPI of the window it
// belongs to. Positions and sizes stored in the registry are screen pixels and
// are not scaled.
//
// The per-monitor functions of newer systems are looked up at run time; where
// a system lacks them, every window has the system DPI.
#include <windows.h>

namespace pendra {

inline constexpr UINT kDesignDpi = 96;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The design value at a DPI, rounded to the nearest pixel.
inline int ScaleToDpi(int designValue, UINT dpi) {
  return MulDiv(designValue, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// The system DPI (the primary monitor's at logon): GetDpiForSystem where it
// exists, else the screen's LOGPIXELSY.
UINT SystemDpi();

// The DPI of a window: GetDpiForWindow where it exists, else the system DPI.
UINT WindowDpi(HWND hwnd);

// A system metric at a DPI: GetSystemMetricsForDpi where it exists, else the
// system's own value scaled from the system DPI.
int SystemMetricForDpi(int index, UINT dpi);

// AdjustWindowRectExForDpi where it exists, else AdjustWindowRectEx.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, bool menu, DWORD exStyle, UINT dpi);

// A font of the design's, its height given in pixels at 96 DPI.
HFONT CreateScaledFont(int designHeight, int weight, DWORD pitchAndFamily, const char* face,
                       UINT dpi);

// The dialog font of the system (DEFAULT_GUI_FONT) at a DPI. The caller owns it.
HFONT CreateGuiFont(UINT dpi);

// Every control under `parent` that uses the font `from` gets the font `to`.
void ReplaceFont(HWND parent, HFONT from, HFONT to);

// Moves and sizes every child of `parent` from one DPI to another, and the
// children of each child that holds controls of its own (WS_EX_CONTROLPARENT).
// Layouts computed from the window's size are laid out anew afterwards.
void RescaleChildren(HWND parent, UINT fromDpi, UINT toDpi);

}  // namespace pendra
