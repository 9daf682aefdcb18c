#include "reminders/reminder_pages_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/dpi_win.h"
#include "platform/wide_controls_win.h"
#include "platform/window_win.h"
#include "reminders/reminder_clock_win.h"

namespace pendra {

namespace {

// Design values, in pixels at 96 DPI; the window scales them to its DPI.
constexpr int kEntryHeight = 128;    // the entry panel across the top of a page
constexpr int kHeadingHeight = 22;   // the teal strip holding the column headings
constexpr int kButtonHeight = 21;
constexpr int kButtonStep = 23;
constexpr int kRowHeight = 16;  // of the lists
// A push button draws its caption inside its edges and its focus mark.
constexpr int kButtonTextMargin = 8;
constexpr int kGlyphRoom = ReminderPages::kGlyphSize + ReminderPages::kGlyphGap;

// The room the button panel leaves round its buttons.
constexpr int kPanelMargin = 3;
// The designed widths of the button panels and of the first heading sections.
constexpr int kPanelDesignWidth[] = {97, 97, 97, 98};
constexpr int kFirstHeadingWidth[] = {170, 140, 170, 108};
constexpr int kSecondHeadingWidth = 2000;

constexpr const char* kWeekdayItems[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

RECT ClientRectOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

// Width of a caption in the control's font; an ampersand that marks an access
// key takes no room.
int CaptionWidth(HWND control, const char* text, bool accessKeys) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | (accessKeys ? 0 : DT_NOPREFIX));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return r.right - r.left;
}

bool HasVisibleStyle(HWND hwnd) {
  return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The "Play Sound" button takes no keyboard focus: its mouse press is handled
// here instead of by the button, which would take the focus on a press.
constexpr const char* kOldProcProp = "PendraOldProc";
constexpr const char* kPressedProp = "PendraPressed";

LRESULT CALLBACK NoFocusButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProp));
  auto inside = [&] {
    RECT r{};
    GetClientRect(hwnd, &r);
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    return PtInRect(&r, pt) != FALSE;
  };
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (IsWindowEnabled(hwnd)) {
        SetPropA(hwnd, kPressedProp, reinterpret_cast<HANDLE>(1));
        SetCapture(hwnd);
        SendMessageA(hwnd, BM_SETSTATE, TRUE, 0);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (GetPropA(hwnd, kPressedProp)) SendMessageA(hwnd, BM_SETSTATE, inside(), 0);
      return 0;
    case WM_LBUTTONUP:
      if (GetPropA(hwnd, kPressedProp)) {
        RemovePropA(hwnd, kPressedProp);
        if (GetCapture() == hwnd) ReleaseCapture();
        SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
        if (inside())
          SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                       reinterpret_cast<LPARAM>(hwnd));
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (GetPropA(hwnd, kPressedProp) && reinterpret_cast<HWND>(lp) != hwnd) {
        RemovePropA(hwnd, kPressedProp);
        SendMessageA(hwnd, BM_SETSTATE, FALSE, 0);
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
      RemovePropA(hwnd, kOldProcProp);
      RemovePropA(hwnd, kPressedProp);
      break;
    default:
      break;
  }
  return CallWindowProcA(old, hwnd, msg, wp, lp);
}

void MakeNoFocusButton(HWND button) {
  SetPropA(button, kOldProcProp,
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(button, GWLP_WNDPROC,
                                                      reinterpret_cast<LONG_PTR>(&NoFocusButtonProc))));
}

}  // namespace

ReminderPages::ReminderPages(Form& window, ReminderClockWnd& clock) : window_(window) {
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    p.kind = k;
    CreatePopupMenu(k);
    p.edtSound = clock.NewHiddenValue(ControlId(k, Ctl::edtSound));
    if (k == Kind::Weekly || k == Kind::Monthly) p.editRef = clock.NewHiddenValue(ControlId(k, Ctl::editRef));
  }
}

ReminderPages::~ReminderPages() {
  for (auto& p : pages_)
    if (p.popup) DestroyMenu(p.popup);
  for (HFONT font : {uiFont_, listFont_, clockFont_})
    if (font) DeleteObject(font);
}

void ReminderPages::Build(int hourPart, int minutePart) {
  buildParts_ = {hourPart, minutePart};
  CreateControls();
  built_ = true;
}

void ReminderPages::CreateFonts() {
  uiFont_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", window_.Dpi());
  listFont_ = CreateScaledFont(-13, FW_BOLD, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", window_.Dpi());
  clockFont_ = CreateScaledFont(-13, FW_BOLD, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", window_.Dpi());
}

void ReminderPages::DpiChanged(UINT oldDpi) {
  const HFONT oldFonts[] = {uiFont_, listFont_, clockFont_};
  CreateFonts();
  ReplaceFont(window_.Handle(), oldFonts[0], uiFont_);
  ReplaceFont(window_.Handle(), oldFonts[2], clockFont_);
  if (built_) {
    for (Kind k : kAllKinds) {
      ReminderPage& p = Page(k);
      p.list->SetFont(listFont_);  // which measures the tab stops anew
      SendMessageA(p.list->Handle(), LB_SETITEMHEIGHT, 0, window_.Px(kRowHeight));
      scalingHeadings_ = true;
      for (int i = 0; i < 2; ++i) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        SendMessageA(p.header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.cxy = MulDiv(item.cxy, static_cast<int>(window_.Dpi()), static_cast<int>(oldDpi));
        SendMessageA(p.header, HDM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      }
      scalingHeadings_ = false;
      SizeButtonPanel(k);
    }
  }
  for (HFONT font : oldFonts) DeleteObject(font);
  Relayout();
}
// ---------------------------------------------------------------------------
// Controls

HWND ReminderPages::AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x,
                          int y, int w, int h, int id, DWORD exStyle) {
  HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | style, window_.Px(x), window_.Px(y), window_.Px(w), window_.Px(h), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                              nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  return hwnd;
}

HWND ReminderPages::AddLabel(HWND parent, const char* text, int x, int y, int w, int h) {
  // A label ends the group of arrow keys before it.
  HWND label = AddControl(parent, "STATIC", text, WS_VISIBLE | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                          x, y, w, h, -1);
  labels_.push_back(label);
  return label;
}

ReminderPaneWnd& ReminderPages::NewPane(HWND parent, int look, int x, int y, int w, int h, int id) {
  panes_.push_back(std::make_unique<ReminderPaneWnd>(*this, window_.Handle(),
                                                     static_cast<ReminderPaneWnd::Look>(look)));
  ReminderPaneWnd& pane = *panes_.back();
  const char* cls = look == ReminderPaneWnd::Sheet     ? "TTabSheet"
                    : look == ReminderPaneWnd::Buttons ? "TPanel"
                    : look == ReminderPaneWnd::Heading ? "THeadingPanel"
                                                       : "TGroupBox";
  // Tab and the access keys reach the controls inside it.
  pane.CreateWnd(cls, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE,
                 WS_EX_CONTROLPARENT, window_.Px(x), window_.Px(y), window_.Px(w), window_.Px(h), parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  return pane;
}

void ReminderPages::CreateControls() {
  hints_.Create(window_.Handle());
  // The pages are its children; Ctrl+Tab turns them.
  PageControl1_ = AddControl(window_.Handle(), WC_TABCONTROLA, "",
                             WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                             760, 470, 1, WS_EX_CONTROLPARENT);
  for (Kind k : kAllKinds) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(Info(k).pageCaption);
    SendMessageA(PageControl1_, TCM_INSERTITEMA, static_cast<WPARAM>(Index(k)),
                 reinterpret_cast<LPARAM>(&item));
  }
  for (Kind k : kAllKinds) CreatePage(k);
  SendMessageA(PageControl1_, TCM_SETCURSEL, 0, 0);
  ShowSheet(Kind::OneTime);
}

void ReminderPages::CreatePage(Kind kind) {
  ReminderPage& p = Page(kind);
  const int base = kControlBase + Index(kind) * kPageStride;
  ReminderPaneWnd& sheet = NewPane(PageControl1_, ReminderPaneWnd::Sheet, 0, 0, 750, 440, base);
  p.page = sheet.Handle();
  ShowWindow(p.page, SW_HIDE);

  CreateEntryPanel(kind, p.page);

  // The heading strip: two fixed sections that cannot be clicked or reordered.
  ReminderPaneWnd& strip =
      NewPane(p.page, ReminderPaneWnd::Heading, 0, kEntryHeight, 750, kHeadingHeight, 0);
  p.header = AddControl(strip.Handle(), WC_HEADERA, "", WS_VISIBLE | HDS_HORZ, 2, 2, 746,
                        kHeadingHeight - 4, ControlId(kind, Ctl::header));
  const char* headings[2] = {Info(kind).heading1, Info(kind).heading2};
  // The design width, or what the first heading needs in the font in use
  // (drawn 6 pixels in, with as much room after it).
  const int firstWidth = std::max(window_.Px(kFirstHeadingWidth[Index(kind)]),
                                  CaptionWidth(p.header, headings[0], false) + window_.Px(12));
  const int widths[2] = {firstWidth, window_.Px(kSecondHeadingWidth)};
  for (int i = 0; i < 2; ++i) {
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    // Drawn by the window so that "&" in a heading shows as itself.
    item.fmt = HDF_LEFT | HDF_STRING | HDF_OWNERDRAW;
    item.cxy = widths[i];
    item.pszText = const_cast<char*>(headings[i]);
    SendMessageA(p.header, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }

  auto& list = lists_[static_cast<size_t>(Index(kind))];
  list = std::make_unique<TMd4TabbedList>(p.page, ControlId(kind, Ctl::list));
  list->SetFont(listFont_);
  list->SetBounds(0, window_.Px(kEntryHeight) + window_.Px(kHeadingHeight), window_.Px(650), window_.Px(280));
  list->HandleNeeded();
  list->SetTabsString("0;100;200;300;400;500;600;700;800;900;");
  SendMessageA(list->Handle(), LB_SETITEMHEIGHT, 0, window_.Px(kRowHeight));
  p.list = list.get();
  hints_.Add(list->Handle(), "Right Click for Context Menu");

  CreateButtonPanel(kind, p.page);

  list->SetPopupMenu(p.popup, window_.Handle());
}

void ReminderPages::CreateEntryPanel(Kind kind, HWND sheet) {
  ReminderPage& p = Page(kind);
  ReminderPaneWnd& group = NewPane(sheet, ReminderPaneWnd::Group, 0, 0, 750, kEntryHeight, 0);
  HWND g = group.Handle();

  AddLabel(g, "Message", 10, 22, 55, 16);
  // Wide: the message keeps every character typed or pasted into it.
  p.editMessage = CreateWideEdit(WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                                 window_.Px(70), window_.Px(19), window_.Px(660), window_.Px(21), g,
                                 ControlId(kind, Ctl::editMessage), uiFont_);
  hints_.Add(p.editMessage, "Enter Message Here");

  static constexpr const char* kScheduleLabels[] = {"Reminder Date", "Day Of Week",
                                                    " Beginning Reminder Date", "Day Of Month "};
  AddLabel(g, kScheduleLabels[Index(kind)], 10, 48, 170, 16);
  const DWORD dateStyle = WS_VISIBLE | WS_TABSTOP | WS_GROUP | DTS_LONGDATEFORMAT;
  if (kind == Kind::OneTime || kind == Kind::Daily) {
    p.dtpSchedule = AddControl(g, DATETIMEPICK_CLASSA, "", dateStyle, 10, 66, 250, 21,
                               ControlId(kind, Ctl::dtpSchedule));
    hints_.Add(p.dtpSchedule, "Select Date here");
  } else {
    p.cbSchedule = AddControl(g, "COMBOBOX", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN |
                                                    CBS_AUTOHSCROLL,
                              10, 66, 150, 300, ControlId(kind, Ctl::cbSchedule));
    if (kind == Kind::Weekly) {
      for (const char* day : kWeekdayItems)
        SendMessageA(p.cbSchedule, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(day));
      SetText(p.cbSchedule, "Reminder Day");
    } else {
      for (int d = 1; d <= 31; ++d) {
        const std::string text = std::to_string(d);
        SendMessageA(p.cbSchedule, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      SetText(p.cbSchedule, "Month Day");
    }
    p.dtpCalendar = AddControl(g, DATETIMEPICK_CLASSA, "", dateStyle, 170, 66, 215, 21,
                               ControlId(kind, Ctl::dtpCalendar));
    hints_.Add(p.dtpCalendar, "Select Date here");
  }

  AddLabel(g, "Reminder Time", 400, 48, 100, 16);
  p.dtpTime = AddControl(g, DATETIMEPICK_CLASSA, "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | DTS_TIMEFORMAT, 400,
                         66, 110, 21, ControlId(kind, Ctl::dtpTime));
  hints_.Add(p.dtpTime, "Select Time here");
  p.stxtClock = AddControl(g, "STATIC", "", WS_VISIBLE | WS_GROUP | SS_CENTER | SS_SUNKEN | SS_NOPREFIX, 520, 66,
                           110, 21, ControlId(kind, Ctl::stxtClock));
  SendMessageA(p.stxtClock, WM_SETFONT, reinterpret_cast<WPARAM>(clockFont_), FALSE);

  p.btnOK = AddControl(g, "BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_DISABLED | BS_PUSHBUTTON, 10,
                       96, 75, 25, ControlId(kind, Ctl::btnOK));
  p.btnCancel = AddControl(g, "BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON,
                           90, 96, 75, 25, ControlId(kind, Ctl::btnCancel));
  p.btnTest = AddControl(g, "BUTTON", "Test", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 170, 96, 75,
                         25, ControlId(kind, Ctl::btnTest));

  if (kind == Kind::OneTime) {
    const DWORD editStyle = WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_NUMBER | ES_AUTOHSCROLL;
    const DWORD spinStyle = WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS |
                            UDS_NOTHOUSANDS;
    AddLabel(g, "Reminder Interval    (Hours)", 255, 101, 175, 16);
    // Built with the values they stand for, so no change handler runs.
    spneditHours_ = AddControl(g, "EDIT", std::to_string(buildParts_[0]).c_str(), editStyle, 432, 98,
                               45, 21, ControlId(kind, Ctl::editHours), WS_EX_CLIENTEDGE);
    spinHours_ = AddControl(g, UPDOWN_CLASSA, "", spinStyle, 0, 0, 0, 0, ControlId(kind, Ctl::spinHours));
    SendMessageA(spinHours_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spneditHours_), 0);
    SendMessageA(spinHours_, UDM_SETRANGE32, 0, 24);
    AddLabel(g, "Reminder Interval  (Minutes)", 495, 101, 175, 16);
    spneditMinutes_ = AddControl(g, "EDIT", std::to_string(buildParts_[1]).c_str(), editStyle, 672,
                                 98, 45, 21, ControlId(kind, Ctl::editMinutes), WS_EX_CLIENTEDGE);
    spinMinutes_ = AddControl(g, UPDOWN_CLASSA, "", spinStyle, 0, 0, 0, 0,
                              ControlId(kind, Ctl::spinMinutes));
    SendMessageA(spinMinutes_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spneditMinutes_), 0);
    SendMessageA(spinMinutes_, UDM_SETRANGE32, 0, 60);
    for (HWND h : {spneditHours_, spinHours_, spneditMinutes_, spinMinutes_})
      hints_.Add(h, "Set Reminder Interval");
  }
}

void ReminderPages::CreateButtonPanel(Kind kind, HWND sheet) {
  ReminderPage& p = Page(kind);
  const int width = kPanelDesignWidth[Index(kind)];
  ReminderPaneWnd& panel = NewPane(sheet, ReminderPaneWnd::Buttons, 650, kEntryHeight + kHeadingHeight,
                                   width, 280, ControlId(kind, Ctl::panel));
  p.panel = panel.Handle();
  struct ButtonDef {
    HWND* slot;
    const char* caption;
    Ctl role;
    DWORD style;
  };
  // Two groups for the arrow keys, Remove to Alarm Sound and Hide Buttons to
  // Close, around the Play Sound button, which takes no focus.
  const DWORD push = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  const ButtonDef defs[] = {
      {&p.btnRemove, "&Remove Message ", Ctl::btnRemove, push | WS_GROUP | WS_DISABLED},
      {&p.btnEdit, "&Edit Message", Ctl::btnEdit, push | WS_DISABLED},
      {&p.btnClearAll, "Remove &All", Ctl::btnClearAll, push},
      {&p.btnUp, "Move &Up", Ctl::btnUp, push | WS_DISABLED},
      {&p.btnDown, "Move &Down", Ctl::btnDown, push | WS_DISABLED},
      {&p.btnMoveTop, "Move To &Top", Ctl::btnMoveTop, push | WS_DISABLED},
      {&p.btnMoveBottom, "Move To &Bottom", Ctl::btnMoveBottom, push | WS_DISABLED},
      {&p.btnSound, "Alarm &Sound", Ctl::btnSound, push},
      // Takes no focus; shows the alarm switch through its picture.
      {&p.btnPlay, "Play Sound", Ctl::btnPlay, WS_VISIBLE | WS_GROUP | WS_DISABLED | BS_OWNERDRAW},
      {&p.btnHideButtons, "&Hide Buttons", Ctl::btnHideButtons, push | WS_GROUP},
      {&p.btnHide, "&Close", Ctl::btnHide, push},
  };
  int y = 6;
  for (const auto& d : defs) {
    *d.slot = AddControl(p.panel, "BUTTON", d.caption, d.style, kPanelMargin, y,
                         width - 2 * kPanelMargin, kButtonHeight, ControlId(kind, d.role));
    y += kButtonStep;
  }
  SizeButtonPanel(kind);
  MakeNoFocusButton(p.btnPlay);
  hints_.Add(p.btnSound, "Choose Alarm Sound");
}

void ReminderPages::SizeButtonPanel(Kind kind) {
  ReminderPage& p = Page(kind);
  const HWND buttons[] = {p.btnRemove, p.btnEdit,   p.btnClearAll,     p.btnUp,
                          p.btnDown,   p.btnMoveTop, p.btnMoveBottom, p.btnSound,
                          p.btnPlay,   p.btnHideButtons, p.btnHide};
  // The design width, or wider where a caption needs it in the font in use.
  int panelWidth = window_.Px(kPanelDesignWidth[Index(kind)]);
  for (HWND button : buttons) {
    const bool glyph = button == p.btnPlay;
    panelWidth = std::max(panelWidth, CaptionWidth(button, GetText(button).c_str(), !glyph) +
                                          (glyph ? window_.Px(kGlyphRoom) : 0) + window_.Px(kButtonTextMargin) +
                                          2 * window_.Px(kPanelMargin));
  }
  panelWidths_[static_cast<size_t>(Index(kind))] = panelWidth;
  for (HWND button : buttons)
    SetWindowPos(button, nullptr, 0, 0, panelWidth - 2 * window_.Px(kPanelMargin), window_.Px(kButtonHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReminderPages::CreatePopupMenu(Kind kind) {
  ReminderPage& p = Page(kind);
  p.popup = ::CreatePopupMenu();
  static constexpr const char* kGoCaptions[4][3] = {
      {"Weekly Reminder", "Daily Reminder", "Monthly Reminder"},
      {"&Reminder", "&Daily Reminder", "Monthly Reminder"},
      {"Reminder", "Weekly Reminder", "Monthly Reminder"},
      {"Reminder", "Weekly Reminder", "Daily Reminder"},
  };
  auto add = [&](Mnu role, const char* caption, bool enabled) {
    AppendMenuA(p.popup, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED),
                static_cast<UINT_PTR>(MenuId(kind, role)), caption);
  };
  auto separator = [&] { AppendMenuA(p.popup, MF_SEPARATOR, 0, nullptr); };
  const auto& go = kGoCaptions[Index(kind)];
  add(Mnu::GoPageA, go[0], true);
  add(Mnu::GoPageB, go[1], true);
  add(Mnu::GoPageC, go[2], true);
  separator();
  add(Mnu::DeleteMessage, "Delete Message", false);
  add(Mnu::EditMessage, "Edit Message", false);
  add(Mnu::RemoveAll, "Remove &All", false);
  separator();
  add(Mnu::MoveUp, "Move Up", true);
  add(Mnu::MoveDown, "Move Down", true);
  add(Mnu::MoveToTop, "Move To Top", true);
  add(Mnu::MoveToBottom, "Move To Bottom", true);
  separator();
  add(Mnu::AlarmSound, kind == Kind::OneTime ? "Alarm &Sound" : "Alarm Sound", true);
  add(Mnu::PlaySounds, "Play Sounds", false);
  add(Mnu::HideButtons, "Hide Buttons", kind != Kind::Weekly);
  add(Mnu::ShowButtons, "Show Buttons", false);
  separator();
  add(Mnu::Close, kind == Kind::OneTime ? "&Close" : "Close", true);
}

// ---------------------------------------------------------------------------
// Layout and pages

void ReminderPages::Relayout() {
  if (!built_) return;
  RECT client = ClientRectOf(window_.Handle());
  MoveWindow(PageControl1_, 0, 0, client.right, client.bottom, TRUE);
  RECT display = ClientRectOf(PageControl1_);
  SendMessageA(PageControl1_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int w = std::max(0L, display.right - display.left);
  const int h = std::max(0L, display.bottom - display.top);
  const int listTop = window_.Px(kEntryHeight) + window_.Px(kHeadingHeight);
  const int listHeight = std::max(0, h - listTop);
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    MoveWindow(p.page, display.left, display.top, w, h, TRUE);
    MoveWindow(GetParent(p.editMessage), 0, 0, w, window_.Px(kEntryHeight), TRUE);
    MoveWindow(p.editMessage, window_.Px(70), window_.Px(19), std::max(window_.Px(100), w - window_.Px(80)), window_.Px(21), TRUE);
    MoveWindow(GetParent(p.header), 0, window_.Px(kEntryHeight), w, window_.Px(kHeadingHeight), TRUE);
    MoveWindow(p.header, window_.Px(2), window_.Px(2), std::max(0, w - window_.Px(4)), window_.Px(kHeadingHeight) - window_.Px(4), TRUE);
    const int panelWidth = panelWidths_[static_cast<size_t>(Index(k))];
    const bool panelShown = HasVisibleStyle(p.panel);
    const int listWidth = std::max(0, panelShown ? w - panelWidth : w);
    p.list->SetBounds(0, listTop, listWidth, listHeight);
    MoveWindow(p.panel, listWidth, listTop, panelWidth, listHeight, TRUE);
  }
}

Kind ReminderPages::ActivePage() const {
  const int index = static_cast<int>(SendMessageA(PageControl1_, TCM_GETCURSEL, 0, 0));
  return index >= 0 && index < kKindCount ? kAllKinds[static_cast<size_t>(index)] : Kind::OneTime;
}

bool ReminderPages::TabHighlighted(Kind kind) const {
  TCITEMA item{};
  item.mask = TCIF_STATE;
  item.dwStateMask = TCIS_HIGHLIGHTED;
  SendMessageA(PageControl1_, TCM_GETITEMA, static_cast<WPARAM>(Index(kind)),
               reinterpret_cast<LPARAM>(&item));
  return (item.dwState & TCIS_HIGHLIGHTED) != 0;
}

void ReminderPages::HighlightTab(Kind kind, bool on) {
  SendMessageA(PageControl1_, TCM_HIGHLIGHTITEM, static_cast<WPARAM>(Index(kind)), MAKELPARAM(on ? 1 : 0, 0));
}

void ReminderPages::ShowSheet(Kind kind) {
  for (Kind k : kAllKinds) ShowWindow(Page(k).page, k == kind ? SW_SHOW : SW_HIDE);
}

void ReminderPages::PageControl1Changing() { HighlightTab(ActivePage(), false); }

void ReminderPages::PageControl1Change() {
  ShowSheet(ActivePage());
  HighlightTab(ActivePage(), true);
}

void ReminderPages::GoToPage(Kind kind) {
  HighlightTab(ActivePage(), false);
  SendMessageA(PageControl1_, TCM_SETCURSEL, static_cast<WPARAM>(Index(kind)), 0);
  ShowSheet(kind);
  HighlightTab(kind, true);
  // The keyboard focus does not stay on the page turned away (the list whose
  // menu went to this page).
  HWND focus = GetFocus();
  if (focus && IsChild(window_.Handle(), focus) && !IsWindowVisible(focus) && Page(kind).list)
    SetFocus(Page(kind).list->Handle());
}

}  // namespace pendra
