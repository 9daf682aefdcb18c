#include "reminders/tabbed_list_win.h"

#include <windowsx.h>

#include "platform/window_win.h"
#include "settings/wide_text_win.h"

namespace pendra {
namespace {

constexpr const wchar_t* kSelfProp = L"PendraTabbedList";
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace

TMd4TabbedList::TMd4TabbedList(HWND parent, int id) : parent_(parent), id_(id) {}

TMd4TabbedList::~TMd4TabbedList() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    RemovePropW(hwnd_, kSelfProp);
    DestroyWindow(hwnd_);
  }
}

HWND TMd4TabbedList::HandleNeeded() {
  if (!hwnd_) CreateWnd();
  return hwnd_;
}

void TMd4TabbedList::CreateWnd() {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_GROUP | LBS_NOTIFY |
                      LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT;
  // Wide, with a wide subclass: the rows keep every character.
  hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", style, bounds_.left, bounds_.top,
                          bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetPropW(hwnd_, kSelfProp, this);
  oldProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  if (font_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // Every creation starts from the default positions, whatever was parsed before.
  FTabStops = DefaultTabStops();
  ApplyTabStops();
}

void TMd4TabbedList::RecreateWnd() {
  if (!hwnd_) {
    CreateWnd();
    return;
  }
  Lines rows;
  for (int i = 0, n = Count(); i < n; ++i) rows.push_back(Item(i));
  const int selected = ItemIndex();
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  HWND old = hwnd_;
  SetWindowLongPtrW(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
  RemovePropW(old, kSelfProp);
  hwnd_ = nullptr;
  DestroyWindow(old);
  CreateWnd();
  SetItems(rows);
  SetItemIndex(selected);
  if (!visible && hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

std::string TMd4TabbedList::TabsString() const { return FormatTabsString(FTabStops); }

void TMd4TabbedList::SetTabsString(std::string_view text) {
  FTabStops = ParseTabsString(text);
  if (!hwnd_) {
    // The new window's creation replaces the parsed positions by the defaults.
    HandleNeeded();
    return;
  }
  ApplyTabStops();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TMd4TabbedList::ApplyTabStops() {
  if (!hwnd_) return;
  HDC dc = GetDC(hwnd_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, kLetters, 52, &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  applied_ = ToListTabUnits(FTabStops, static_cast<int>(size.cx));
  INT units[10];
  for (int i = 0; i < 10; ++i) units[i] = applied_[static_cast<size_t>(i)];
  SendMessageA(hwnd_, LB_SETTABSTOPS, 10, reinterpret_cast<LPARAM>(units));
}

void TMd4TabbedList::SetFont(HFONT font) {
  font_ = font;
  if (!hwnd_) return;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ApplyTabStops();
}

void TMd4TabbedList::SetBounds(int x, int y, int width, int height) {
  bounds_ = {x, y, x + width, y + height};
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, TRUE);
}

// The rows are the list box's own business, so their messages go straight to
// its procedure. Sent to the window they would pass through every subclass on
// it (the hint's and this control's), and under Wine each of those looks up a
// window property in the Wine server: some 50 µs a row, seconds for a long list.
LRESULT TMd4TabbedList::Call(UINT msg, WPARAM wp, LPARAM lp) const {
  return CallWindowProcW(oldProc_, hwnd_, msg, wp, lp);
}

void TMd4TabbedList::SetItems(const Lines& rows) {
  HandleNeeded();
  if (!hwnd_) return;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  Call(LB_RESETCONTENT);
  // Room for every row at once, as Windows' list box otherwise grows step by
  // step: a row of UTF-8 takes no more UTF-16 units than bytes.
  std::size_t bytes = 0;
  for (const auto& row : rows) bytes += (row.size() + 1) * sizeof(wchar_t);
  Call(LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(bytes));
  std::wstring wide;
  for (const auto& row : rows) {
    wide = Widen(CP_UTF8, row);
    Call(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int TMd4TabbedList::Count() const { return hwnd_ ? static_cast<int>(Call(LB_GETCOUNT)) : 0; }

int TMd4TabbedList::ItemIndex() const {
  if (!hwnd_) return -1;
  LRESULT r = Call(LB_GETCURSEL);
  return r == LB_ERR ? -1 : static_cast<int>(r);
}

void TMd4TabbedList::SetItemIndex(int index) {
  if (hwnd_) Call(LB_SETCURSEL, static_cast<WPARAM>(index));
}

std::string TMd4TabbedList::Item(int index) const {
  if (!hwnd_) return {};
  LRESULT n = Call(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (n == LB_ERR) return {};
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = Call(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return Utf8OfWide(s);
}

void TMd4TabbedList::InsertItem(int index, const std::string& row) {
  HandleNeeded();
  if (!hwnd_) return;
  // -1 is the end of the list for every version of the list box.
  const WPARAM at = index >= Count() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index);
  Call(LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(Widen(CP_UTF8, row).c_str()));
}

void TMd4TabbedList::DeleteItem(int index) {
  if (hwnd_) Call(LB_DELETESTRING, static_cast<WPARAM>(index));
}

void TMd4TabbedList::MoveItem(int from, int to) {
  if (!hwnd_ || from == to) return;
  const std::string row = Item(from);
  DeleteItem(from);
  InsertItem(to, row);
}

void TMd4TabbedList::SetPopupMenu(HMENU menu, HWND commandTarget) {
  popup_ = menu;
  commandTarget_ = commandTarget;
}

LRESULT CALLBACK TMd4TabbedList::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<TMd4TabbedList*>(GetPropW(hwnd, kSelfProp));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  WNDPROC oldProc = self->oldProc_;
  switch (msg) {
    case WM_KEYDOWN:
      if (self->onKeyDown) {
        auto handler = self->onKeyDown;
        Guarded([&] { handler(wp); });
        // The handler may have destroyed or replaced the window.
        if (!IsWindow(hwnd)) return 0;
      }
      break;
    case WM_CONTEXTMENU:
      if (self->popup_) {
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (at.x == -1 && at.y == -1) {  // from the keyboard: below the list's corner
          RECT r{};
          GetWindowRect(hwnd, &r);
          at = {r.left + 4, r.top + 4};
        }
        HWND target = self->commandTarget_ ? self->commandTarget_ : GetParent(hwnd);
        TrackPopupMenu(self->popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, target,
                       nullptr);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      // Destroyed with its parent: the control no longer has a window.
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
      RemovePropW(hwnd, kSelfProp);
      self->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return CallWindowProcW(oldProc, hwnd, msg, wp, lp);
}

}  // namespace pendra
