// Every caption of the reminder window can be read whole in the font in use:
// its measured text extent fits the client width of its control, on every page.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

// Width of a caption in a control's font; an ampersand marks the access key
// and takes no room unless the control shows it as written.
int TextWidth(HWND control, const std::string& text, bool accessKeys) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | (accessKeys ? 0 : DT_NOPREFIX));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r.right - r.left;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

// "caption: needs N, has M" for each visible button, label or heading cut.
std::vector<std::string> CutCaptions(HWND window) {
  std::vector<HWND> all;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&all));
  std::vector<std::string> cuts;
  auto check = [&](const std::string& text, int needed, int room) {
    if (needed > room)
      cuts.push_back(text + ": needs " + std::to_string(needed) + ", has " + std::to_string(room));
  };
  for (HWND c : all) {
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    const std::string name = cls;
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    RECT client{};
    GetClientRect(c, &client);
    const std::string text = GetText(c);
    if (!IsWindowVisible(c)) continue;
    if (name == "Static" && !text.empty()) {
      check(text, TextWidth(c, text, !(style & SS_NOPREFIX)), client.right);
    } else if (name == "Button" && !text.empty()) {
      // Inside its edges and focus mark; Play Sound has its picture first.
      const bool glyph = (style & BS_TYPEMASK) == BS_OWNERDRAW;
      check(text, TextWidth(c, text, !glyph) + 8 + (glyph ? 20 : 0), client.right);
    } else if (name == WC_HEADERA) {
      for (int i = 0; i < static_cast<int>(SendMessageA(c, HDM_GETITEMCOUNT, 0, 0)); ++i) {
        char heading[128] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = heading;
        item.cchTextMax = sizeof heading;
        SendMessageA(c, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        check(heading, TextWidth(c, heading, false) + 6, std::min<int>(item.cxy, client.right));
      }
    }
  }
  return cuts;
}

TEST_F(ReminderWindowTest, EveryCaptionFitsItsControlOnEveryPage) {
  Create();
  Frm().Show();
  for (Kind k : kAllKinds) {
    Frm().GoToPage(k);
    // At the window's smallest size as well as at its design size.
    for (SIZE size : {SIZE{775, 506}, SIZE{600, 470}}) {
      SetWindowPos(Wnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      PumpMessages();
      for (const std::string& cut : CutCaptions(Wnd()))
        ADD_FAILURE() << Info(k).pageCaption << ", " << size.cx << " wide: " << cut;
    }
  }
}

}  // namespace
}  // namespace pendra::test
