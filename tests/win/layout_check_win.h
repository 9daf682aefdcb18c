#pragma once
// A window's layout as a user sees it: every visible control inside its
// parent and clear of its siblings, every caption whole in its control's
// font; and pictures of windows for a person to look at.
#include <windows.h>

#include <string>
#include <vector>

namespace pendra::test {

// One line per fault among the visible controls under `window`, whose DPI is
// given (margins are design values at that DPI):
// - a control that reaches outside its parent's client area;
// - two sibling controls that overlap (a control may lie on a tab control's
//   page area, and an up-down control on its buddy);
// - a caption, heading, tab, toolbar button, date, time or list row that its
//   control cannot show whole, in the control's own font.
enum class Checks { All, CaptionsOnly };
std::vector<std::string> LayoutFaults(HWND window, UINT dpi, Checks checks = Checks::All);

// Saves the window as the screen shows it to <folder>/<name>.bmp, the folder
// being named by PENDRA_SCREENSHOTS; without it, nothing is saved.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace pendra::test
