#include "tests/win/layout_check_win.h"

#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/dpi_win.h"
#include "platform/window_win.h"

namespace pendra::test {
namespace {

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool IsClass(HWND hwnd, const char* name) { return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0; }

std::string Describe(HWND hwnd) {
  const std::string text = GetText(hwnd);
  return ClassOf(hwnd) + (text.empty() ? " #" + std::to_string(GetDlgCtrlID(hwnd)) : " \"" + text + "\"");
}

std::string Show(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
         "," + std::to_string(r.bottom) + ")";
}

RECT RectInParent(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT ClientOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

// The extent of a text in the control's font, as DrawText lays it out.
RECT Measure(HWND control, const std::string& text, UINT format, int wrapWidth = 0) {
  HDC dc = GetDC(control);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  RECT r{0, 0, wrapWidth, 0};
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | format);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r;
}

int FontHeight(HWND control) { return Measure(control, "Ay", DT_SINGLELINE).bottom; }

// The texts a date and time picker can show: a picker lays out each field as
// wide as its widest value. Its form (long date, short date or time) is the
// one that writes its value as it shows it; samples cover every weekday in
// every month and every hour.
std::vector<std::string> PickerTexts(HWND picker) {
  const std::string shown = GetText(picker);
  SYSTEMTIME value{};
  if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) != GDT_VALID)
    return {shown};
  auto write = [](DWORD form, const SYSTEMTIME& st) {
    char text[128] = {};
    if (form == 0)
      GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    else
      GetDateFormatA(LOCALE_USER_DEFAULT, form, &st, nullptr, text, sizeof text);
    return std::string(text);
  };
  for (DWORD form : {DWORD{DATE_LONGDATE}, DWORD{DATE_SHORTDATE}, DWORD{0}}) {
    if (write(form, value) != shown) continue;
    std::vector<std::string> texts;
    for (WORD month = 1; month <= 12; ++month)
      for (WORD day = 1; day <= 7; ++day)
        for (WORD hour : {WORD(day + 3), WORD(day + 15)})
          texts.push_back(write(form, SYSTEMTIME{2000, month, 0, WORD(day + 20), hour, 58, 58, 0}));
    return texts;
  }
  return {shown};
}

class Checker {
 public:
  Checker(UINT dpi, Checks checks) : dpi_(dpi), places_(checks == Checks::All) {}
  std::vector<std::string> faults;

  void Children(HWND parent) {
    const RECT area = ClientOf(parent);
    std::vector<std::pair<HWND, RECT>> shown;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (!IsWindowVisible(c)) continue;
      const RECT r = RectInParent(c, parent);
      if (places_ && (r.left < area.left || r.top < area.top || r.right > area.right || r.bottom > area.bottom))
        Fault(c, "reaches outside its parent " + Describe(parent) + ": " + Show(r) + " in " + Show(area));
      Caption(c);
      for (const auto& [other, otherRect] : shown) {
        RECT both{};
        if (places_ && IntersectRect(&both, &r, &otherRect) && !MayOverlap(c, r, other, otherRect))
          Fault(c, "overlaps " + Describe(other) + ": " + Show(r) + " and " + Show(otherRect));
      }
      shown.push_back({c, r});
      // The parts of a date picker or a combo box are the control's own.
      if (!IsClass(c, DATETIMEPICK_CLASSA) && !IsClass(c, "ComboBox")) Children(c);
    }
  }

 private:
  int Px(int v) const { return ScaleToDpi(v, dpi_); }

  void Fault(HWND c, const std::string& what) { faults.push_back(Describe(c) + " " + what); }

  void Fits(HWND c, const std::string& what, int needW, int needH, int roomW, int roomH) {
    if (needW > roomW || needH > roomH)
      Fault(c, what + " needs " + std::to_string(needW) + " x " + std::to_string(needH) + ", has " +
                   std::to_string(roomW) + " x " + std::to_string(roomH));
  }

  static bool IsFrame(HWND hwnd) {
    if (IsClass(hwnd, "Button")) return (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (!IsClass(hwnd, "Static")) return false;
    switch (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) {
      case SS_BLACKFRAME: case SS_GRAYFRAME: case SS_WHITEFRAME: case SS_ETCHEDFRAME:
      case SS_ETCHEDHORZ: case SS_ETCHEDVERT:
        return true;
      default:
        return false;
    }
  }

  static bool MayOverlap(HWND a, const RECT& ra, HWND b, const RECT& rb) {
    // A frame drawn round or under other controls.
    if (IsFrame(a) || IsFrame(b)) return true;
    // A control laid on a tab control's page area.
    for (auto [tab, tabRect, other, otherRect] : {std::tuple{a, ra, b, rb}, std::tuple{b, rb, a, ra}}) {
      if (!IsClass(tab, WC_TABCONTROLA)) continue;
      RECT page = tabRect;
      SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
      RECT inside{};
      if (IntersectRect(&inside, &otherRect, &page) && EqualRect(&inside, &otherRect)) return true;
    }
    // An up-down control on its buddy.
    for (auto [spin, other] : {std::pair{a, b}, std::pair{b, a}})
      if (IsClass(spin, UPDOWN_CLASSA) &&
          reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)) == other)
        return true;
    return false;
  }

  void Caption(HWND c) {
    const LONG style = GetWindowLongA(c, GWL_STYLE);
    const RECT room = ClientOf(c);
    const std::string text = GetText(c);
    if (IsClass(c, "Static")) {
      const LONG type = style & SS_TYPEMASK;
      const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
      if (text.empty()) return;
      if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
        if (style & SS_CENTERIMAGE) {
          const RECT need = Measure(c, text, DT_SINGLELINE | prefix);
          Fits(c, "caption", need.right, need.bottom, room.right, room.bottom);
        } else {
          // Lines wrap at the control's width; a word longer than that is cut.
          const RECT need = Measure(c, text, DT_WORDBREAK | DT_EXPANDTABS | prefix, room.right);
          Fits(c, "caption", need.right, need.bottom, room.right, room.bottom);
        }
      } else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) {
        const RECT need = Measure(c, text, DT_SINGLELINE | prefix);
        Fits(c, "caption", need.right, need.bottom, room.right, room.bottom);
      }
    } else if (IsClass(c, "Button")) {
      const LONG type = style & BS_TYPEMASK;
      if (text.empty() || (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW))
        return;
      // Inside the button's edges and its focus mark; an owner-drawn button
      // here has a 16-pixel picture and a gap before its caption.
      const bool picture = type == BS_OWNERDRAW;
      const RECT need = Measure(c, text, DT_SINGLELINE | (picture ? DT_NOPREFIX : 0));
      Fits(c, "caption", need.right + Px(8) + (picture ? Px(20) : 0), need.bottom + Px(4), room.right,
           room.bottom);
    } else if (IsClass(c, "Edit")) {
      if (!(style & ES_MULTILINE)) Fits(c, "text line", 0, FontHeight(c), room.right, room.bottom);
    } else if (IsClass(c, "ListBox")) {
      const int row = static_cast<int>(SendMessageA(c, LB_GETITEMHEIGHT, 0, 0));
      Fits(c, "row", 0, FontHeight(c), room.right, row);
    } else if (IsClass(c, "ComboBox")) {
      // The text beside the drop-down button.
      const RECT need = Measure(c, text, DT_SINGLELINE | DT_NOPREFIX);
      Fits(c, "text", need.right + Px(4), need.bottom,
           room.right - SystemMetricForDpi(SM_CXVSCROLL, dpi_), room.bottom);
    } else if (IsClass(c, WC_HEADERA)) {
      const int count = static_cast<int>(SendMessageA(c, HDM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        char heading[128] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = heading;
        item.cchTextMax = sizeof heading;
        SendMessageA(c, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        RECT r{};
        SendMessageA(c, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        if (!heading[0] || r.left >= room.right) continue;
        const RECT need = Measure(c, heading, DT_SINGLELINE | DT_NOPREFIX);
        Fits(c, std::string("heading \"") + heading + "\"", need.right + Px(6), need.bottom,
             std::min(r.right, room.right) - r.left, room.bottom);
      }
    } else if (IsClass(c, WC_TABCONTROLA)) {
      const int count = static_cast<int>(SendMessageA(c, TCM_GETITEMCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        RECT r{};
        SendMessageA(c, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        if (r.left < 0 || r.right > room.right || r.top < 0)
          Fault(c, "tab " + std::to_string(i) + " lies outside the control: " + Show(r));
      }
    } else if (IsClass(c, TOOLBARCLASSNAMEA)) {
      const int count = static_cast<int>(SendMessageA(c, TB_BUTTONCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(c, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP) continue;  // a gap, or a place for a control
        RECT r{};
        SendMessageA(c, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        if (r.right > room.right || r.bottom > room.bottom)
          Fault(c, "button " + std::to_string(i) + " lies outside the bar: " + Show(r) + " in " + Show(room));
      }
    } else if (IsClass(c, DATETIMEPICK_CLASSA)) {
      // Every value the picker can show, in the locale's form of the one it
      // shows now, beside the drop-down button or the arrows: a picker lays
      // out each field as wide as its widest value.
      std::string widest;
      RECT need{};
      for (const std::string& shown : PickerTexts(c)) {
        const RECT r = Measure(c, shown, DT_SINGLELINE | DT_NOPREFIX);
        if (r.right > need.right) need = r, widest = shown;
      }
      Fits(c, "value \"" + widest + "\"", need.right + Px(4) + SystemMetricForDpi(SM_CXVSCROLL, dpi_),
           need.bottom, room.right, room.bottom);
    }
  }

  UINT dpi_;
  bool places_;
};

}  // namespace

std::vector<std::string> LayoutFaults(HWND window, UINT dpi, Checks checks) {
  Checker checker(dpi, checks);
  checker.Children(window);
  return checker.faults;
}

void SaveScreenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("PENDRA_SCREENSHOTS");
  if (!folder || !*folder) return;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER file{0x4D42, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size, 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  info.bmiHeader.biSizeImage = size;
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(window, source);
}

}  // namespace pendra::test
