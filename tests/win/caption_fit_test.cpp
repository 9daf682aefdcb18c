// Every caption of the reminder window can be read whole in the font in use:
// its measured text extent fits the client width of its control, on every page.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

struct Cut {
  std::string text;
  int needed;
  int room;
};

// Width of a caption in a control's font; an ampersand marks the access key
// and takes no room unless the control shows it as written.
int TextWidth(HWND control, std::string text, bool prefix) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | (prefix ? 0 : DT_NOPREFIX));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r.right - r.left;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
  return TRUE;
}

// The captions of the visible buttons, labels and headings that do not fit.
std::vector<Cut> CutCaptions(HWND window) {
  std::vector<HWND> all;
  EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&all));
  std::vector<Cut> cuts;
  for (HWND c : all) {
    if (!IsWindowVisible(c)) continue;
    char cls[32] = {};
    GetClassNameA(c, cls, sizeof cls);
    const std::string name = cls;
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    RECT client{};
    GetClientRect(c, &client);
    if (name == "Button" || name == "Static") {
      const std::string text = GetText(c);
      if (text.empty()) continue;
      const bool button = name == "Button";
      // A push button draws its caption inside its edges and focus mark;
      // the Play Sound button puts its picture before it.
      int needed = TextWidth(c, text, !(button ? false : (style & SS_NOPREFIX))) + (button ? 8 : 0);
      if ((style & BS_TYPEMASK) == BS_OWNERDRAW && button) needed += 20;
      if (needed > client.right) cuts.push_back({text, needed, client.right});
    } else if (name == WC_HEADERA) {
      const int count = static_cast<int>(SendMessageA(c, HDM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        char text[128] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(c, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        const int room = std::min<int>(item.cxy, client.right);
        const int needed = TextWidth(c, text, false) + 6;
        if (needed > room) cuts.push_back({text, needed, room});
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
      for (const Cut& cut : CutCaptions(Wnd()))
        ADD_FAILURE() << Info(k).pageCaption << " at " << size.cx << " wide: \"" << cut.text
                      << "\" needs " << cut.needed << " pixels, has " << cut.room;
    }
  }
}

}  // namespace
}  // namespace pendra::test
