#pragma once
// The four reminder pages and their controls: each page's entry panel, heading
// strip, tabbed list and button panel, in the page control that fills the
// reminder window; their layout, colours, drawing and page switching. The
// controls are built when the window is first shown; the popup menus and the
// hidden values (on the clock window) exist from the start.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/colors_win.h"
#include "platform/hints_win.h"
#include "platform/window_win.h"
#include "reminders/reminder_page_win.h"
#include "reminders/tabbed_list_win.h"

namespace pendra {

class ReminderClockWnd;
class ReminderPages;

// The plain containers of a page (the sheet, the teal entry panel, the teal
// heading strip, the button panel): they paint their background and pass
// every notification of their controls on to the reminder window.
class ReminderPaneWnd final : public Window {
 public:
  enum Look { Sheet = 0, Group, Heading, Buttons };
  ReminderPaneWnd(ReminderPages& pages, HWND target, Look look)
      : pages_(pages), target_(target), look_(look) {}

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ReminderPages& pages_;
  HWND target_;
  Look look_;
};

class ReminderPages {
 public:
  // Posted to the window when a button panel is shown or hidden.
  static constexpr UINT kRelayoutMessage = WM_APP + 1;
  // The Play Sound button's picture, drawn this size whatever its file's, and
  // the gap after it (design pixels).
  static constexpr int kGlyphSize = 16;
  static constexpr int kGlyphGap = 4;

  // Makes what the running program needs while the window has never been
  // shown: the popup menus and the hidden values.
  ReminderPages(Form& window, ReminderClockWnd& clock);
  ~ReminderPages();
  ReminderPages(const ReminderPages&) = delete;
  ReminderPages& operator=(const ReminderPages&) = delete;

  ReminderPage& Page(Kind kind) { return pages_[static_cast<size_t>(Index(kind))]; }
  const ReminderPage& Page(Kind kind) const { return pages_[static_cast<size_t>(Index(kind))]; }

  // Builds the controls in the window, which exists by then; the spin edits
  // show the interval's parts.
  void Build(int hourPart, int minutePart);
  bool Built() const { return built_; }
  void CreateFonts();
  // Places the pages' contents; the list takes the panel's room while it is hidden.
  void Relayout();
  // After a DPI change: new fonts, list rows, headings and panel widths.
  void DpiChanged(UINT oldDpi);

  Kind ActivePage() const;
  bool TabHighlighted(Kind kind) const;
  // Goes to a page: the tab highlight moves with it.
  void GoToPage(Kind kind);
  void PageControl1Changing();
  void PageControl1Change();

  HWND PageControl1() const { return PageControl1_; }
  HWND spneditHours() const { return spneditHours_; }
  HWND spneditMinutes() const { return spneditMinutes_; }
  HWND spinHours() const { return spinHours_; }
  HWND spinMinutes() const { return spinMinutes_; }
  std::string HintOf(HWND control) const { return hints_.Of(control); }
  int Px(int designValue) const { return window_.Px(designValue); }

  // The teal panels' background as shown now (the system's window colour
  // under high contrast).
  HBRUSH PanelBrush();
  // Takes the colours to show afresh: the design's, or the system's under
  // high contrast.
  void UpdateColors();
  // WM_CTLCOLORSTATIC; false: not a control the pages colour.
  bool OnColor(HDC dc, HWND control, LRESULT& brush);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  // A header's notification; false when `hdr` is no page's.
  bool OnHeaderNotify(NMHDR* hdr, LRESULT& result);

 private:
  void CreateControls();
  void CreatePage(Kind kind);
  void CreateEntryPanel(Kind kind, HWND sheet);
  void CreateButtonPanel(Kind kind, HWND sheet);
  // Sizes the page's button panel to its captions at the window's DPI.
  void SizeButtonPanel(Kind kind);
  void CreatePopupMenu(Kind kind);
  // Places and sizes are design values, scaled to the window's DPI.
  HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y,
                  int w, int h, int id, DWORD exStyle = 0);
  HWND AddLabel(HWND parent, const char* text, int x, int y, int w, int h);
  ReminderPaneWnd& NewPane(HWND parent, int look, int x, int y, int w, int h, int id);
  void ShowSheet(Kind kind);
  void HighlightTab(Kind kind, bool on);
  void DrawHeading(const DRAWITEMSTRUCT& item);
  void DrawPlayButton(const ReminderPage& page, const DRAWITEMSTRUCT& item);
  LRESULT HeaderNotify(Kind kind, NMHDR* hdr);

  Form& window_;
  std::array<ReminderPage, 4> pages_{};
  std::array<std::unique_ptr<TMd4TabbedList>, 4> lists_;
  std::vector<std::unique_ptr<ReminderPaneWnd>> panes_;
  std::vector<HWND> labels_;

  HWND PageControl1_ = nullptr;
  Hints hints_;
  HWND spneditHours_ = nullptr, spneditMinutes_ = nullptr;
  HWND spinHours_ = nullptr, spinMinutes_ = nullptr;
  HFONT uiFont_ = nullptr, listFont_ = nullptr, clockFont_ = nullptr;
  // The teal panels' and the clocks' colours as shown now, and their brushes.
  ColorPair panelColors_, clockColors_;
  ColorBrush panelBrush_, clockBrush_;
  // The button panels' widths in pixels: the design's, or wider for the captions.
  std::array<int, 4> panelWidths_{};
  std::array<int, 2> buildParts_{};  // the interval's hours and minutes when built
  bool built_ = false;
  bool scalingHeadings_ = false;  // the headings' widths follow a DPI change
};

}  // namespace pendra
