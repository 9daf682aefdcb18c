// How the pages look: their containers' backgrounds and edges, the colours of
// the labels and clocks, the column headings and the Play Sound button.
#include "reminders/reminder_pages_win.h"

#include <commctrl.h>

#include <algorithm>

namespace pendra {

namespace {

// The pages' own colours, 0x00BBGGRR: black labels on teal panels, and the
// clock's red letters on black. Under high contrast the system's take over.
constexpr ColorPair kPanelColors{0x000000, 0x808000};
constexpr ColorPair kClockColors{0x0000FF, 0x000000};
// The daily page's first heading can be dragged between these widths.
constexpr int kDailyHeadingMin = 120, kDailyHeadingMax = 200;

RECT ClientRectOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

}  // namespace

LRESULT ReminderPaneWnd::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_VKEYTOITEM:
      return SendMessageA(target_, msg, wp, lp);
    case WM_ERASEBKGND: {
      RECT r = ClientRectOf(Handle());
      FillRect(reinterpret_cast<HDC>(wp), &r,
               look_ == Group || look_ == Heading ? pages_.PanelBrush() : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT r = ClientRectOf(Handle());
      if (look_ == Group) {
        r.top += pages_.Px(6);
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      } else if (look_ == Buttons) {
        DrawEdge(dc, &r, BDR_SUNKENINNER, BF_RECT);
      }
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, TRUE);
      break;
    case WM_WINDOWPOSCHANGED: {
      // A button panel shown or hidden gives its room to the list or takes it back.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (look_ == Buttons && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
        PostMessageA(target_, ReminderPages::kRelayoutMessage, 0, 0);
      break;
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

HBRUSH ReminderPages::PanelBrush() { return panelBrush_.Of(panelColors_.background); }

void ReminderPages::UpdateColors() {
  const SystemColors system = CurrentSystemColors();
  panelColors_ = FixedColors(kPanelColors, system);
  clockColors_ = FixedColors(kClockColors, system);
}

bool ReminderPages::OnColor(HDC dc, HWND control, LRESULT& brush) {
  for (Kind k : kAllKinds) {
    if (control == Page(k).stxtClock) {
      brush = AnswerColors(dc, clockColors_, clockBrush_);
      return true;
    }
  }
  if (std::find(labels_.begin(), labels_.end(), control) == labels_.end()) return false;
  SetBkMode(dc, TRANSPARENT);
  brush = AnswerColors(dc, panelColors_, panelBrush_);
  return true;
}

void ReminderPages::DrawHeading(const DRAWITEMSTRUCT& item) {
  char text[256] = "";
  HDITEMA hd{};
  hd.mask = HDI_TEXT;
  hd.pszText = text;
  hd.cchTextMax = sizeof text;
  SendMessageA(item.hwndItem, HDM_GETITEMA, item.itemID, reinterpret_cast<LPARAM>(&hd));
  HGDIOBJ oldFont = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  RECT r = item.rcItem;
  r.left += window_.Px(6);
  DrawTextA(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

void ReminderPages::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType == ODT_HEADER) {
    DrawHeading(item);
    return;
  }
  for (Kind k : kAllKinds)
    if (item.hwndItem == Page(k).btnPlay) DrawPlayButton(Page(k), item);
}

void ReminderPages::DrawPlayButton(const ReminderPage& page, const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  const std::string caption = GetText(item.hwndItem);
  HGDIOBJ oldFont = SelectObject(dc, uiFont_);
  SIZE textSize{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
  BITMAP bm{};
  const bool glyph = page.playGlyph && GetObjectA(page.playGlyph, sizeof bm, &bm) == sizeof bm;
  const int glyphWidth = glyph ? bm.bmWidth / 2 : 0;
  const int glyphHeight = glyph ? bm.bmHeight : 0;
  // Drawn at the design size at the window's DPI, whatever the file's size.
  const int drawnSize = glyph ? window_.Px(kGlyphSize) : 0;
  const int gap = glyph ? window_.Px(kGlyphGap) : 0;
  const int total = drawnSize + gap + textSize.cx;
  const int shift = pushed ? 1 : 0;
  int x = r.left + (r.right - r.left - total) / 2 + shift;
  if (glyph) {
    // The first image while enabled, the second while disabled; the picture's
    // bottom-left pixel colour is drawn transparent.
    const int sourceX = enabled ? 0 : glyphWidth;
    const int y = r.top + (r.bottom - r.top - drawnSize) / 2 + shift;
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ oldSrc = SelectObject(src, page.playGlyph);
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(glyphWidth, glyphHeight, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    SetBkColor(src, GetPixel(src, sourceX, glyphHeight - 1));
    BitBlt(maskDc, 0, 0, glyphWidth, glyphHeight, src, sourceX, 0, SRCCOPY);
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    // Whole pixels of the picture, no blending: the mask must match it.
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, drawnSize, drawnSize, src, sourceX, 0, glyphWidth, glyphHeight, SRCINVERT);
    StretchBlt(dc, x, y, drawnSize, drawnSize, maskDc, 0, 0, glyphWidth, glyphHeight, SRCAND);
    StretchBlt(dc, x, y, drawnSize, drawnSize, src, sourceX, 0, glyphWidth, glyphHeight, SRCINVERT);
    SetStretchBltMode(dc, oldMode);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
    SelectObject(src, oldSrc);
    DeleteDC(src);
    x += drawnSize + gap;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  RECT textRect{x, r.top + shift, r.right, r.bottom + shift};
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

bool ReminderPages::OnHeaderNotify(NMHDR* hdr, LRESULT& result) {
  for (Kind k : kAllKinds) {
    if (hdr->hwndFrom == Page(k).header) {
      result = HeaderNotify(k, hdr);
      return true;
    }
  }
  return false;
}

LRESULT ReminderPages::HeaderNotify(Kind k, NMHDR* hdr) {
  const auto* nm = reinterpret_cast<const NMHEADERA*>(hdr);
  switch (hdr->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
      // Only the daily page's first heading can be resized.
      return !(k == Kind::Daily && nm->iItem == 0);
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
      // The window's own rescaling goes through; the user's drags are held.
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && !scalingHeadings_) {
        if (!(k == Kind::Daily && nm->iItem == 0)) return TRUE;
        nm->pitem->cxy = std::clamp(nm->pitem->cxy, window_.Px(kDailyHeadingMin), window_.Px(kDailyHeadingMax));
      }
      return FALSE;
    default:
      return 0;
  }
}

}  // namespace pendra
