// The reminder window: its controls, layout, message routing and lifecycle.
// The entry panels, the scheduler and the start-up catch-up are in
// reminder_panels_win.cpp.
#include "reminders/reminder_window_win.h"

#include "platform/on_demand_win.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/monitor_win.h"
#include "platform/services.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

constexpr UINT kRelayoutMessage = WM_APP + 1;
// The pages' own colours, 0x00BBGGRR: black labels on teal panels, and the
// clock's red letters on black. Under high contrast the system's take over.
constexpr ColorPair kPanelColors{0x000000, 0x808000};
constexpr ColorPair kClockColors{0x0000FF, 0x000000};
// Design values, in pixels at 96 DPI; the window scales them to its DPI.
constexpr int kEntryHeight = 128;    // the entry panel across the top of a page
constexpr int kHeadingHeight = 22;   // the teal strip holding the column headings
constexpr int kButtonHeight = 21;
constexpr int kButtonStep = 23;
constexpr int kRowHeight = 16;  // of the lists
constexpr int kMinWidth = 600, kMinHeight = 470;  // of the window
// A push button draws its caption inside its edges and its focus mark.
constexpr int kButtonTextMargin = 8;
// The Play Sound button's picture, drawn this size whatever its file's, and
// the gap after it.
constexpr int kGlyphSize = 16;
constexpr int kGlyphGap = 4;
constexpr int kGlyphRoom = kGlyphSize + kGlyphGap;

// The values a page keeps out of sight (its sound path, its day or month
// text) live in windows of this small class. They hold text as an edit
// does and tell the parent of every change with EN_CHANGE, without the cost
// of a first edit control at program start.
LRESULT CALLBACK HiddenValueProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_SETTEXT && result) {
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                 reinterpret_cast<LPARAM>(hwnd));
  }
  return result;
}

HWND CreateHiddenValue(HWND parent, int id) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HiddenValueProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PendraHiddenValue";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "PendraHiddenValue", "", WS_CHILD, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}
// The room the button panel leaves round its buttons.
constexpr int kPanelMargin = 3;
// The designed widths of the button panels and of the first heading sections.
constexpr int kPanelDesignWidth[] = {97, 97, 97, 98};
constexpr int kFirstHeadingWidth[] = {170, 140, 170, 108};
constexpr int kSecondHeadingWidth = 2000;
// The daily page's first heading can be dragged between these widths.
constexpr int kDailyHeadingMin = 120, kDailyHeadingMax = 200;

// The spin edits' ranges; the interval is hours × 60 + minutes.
constexpr int kMaxHours = 24;
constexpr int kMaxMinutes = 60;
constexpr int kMaxInterval = kMaxHours * 60 + kMaxMinutes;

// A stored interval beyond what the spin edits can give would overflow the
// timer's period.
int StoredInterval(const TRegIniFile& ini) {
  return std::clamp(ini.ReadInteger("Time", "Interval", 0), 0, kMaxInterval);
}

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

// The plain containers of a page (the sheet, the teal entry panel, the teal
// heading strip, the button panel): they paint their background and pass
// every notification of their controls on to the reminder window.
class ReminderPaneWnd final : public Window {
 public:
  enum Look { Sheet = 0, Group, Heading, Buttons };
  ReminderPaneWnd(TfrmMain& owner, Look look)
      : owner_(owner), target_(owner.Handle()), look_(look) {}

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
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
                 look_ == Group || look_ == Heading ? owner_.PanelBrush() : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT r = ClientRectOf(Handle());
        if (look_ == Group) {
          r.top += owner_.Px(6);
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
          PostMessageA(target_, kRelayoutMessage, 0, 0);
        break;
      }
      default:
        break;
    }
    return Window::HandleMessage(msg, wp, lp);
  }

 private:
  TfrmMain& owner_;
  HWND target_;
  Look look_;
};

// The reminder timers and the values a page keeps out of sight live on this
// message-only window, which costs next to nothing at program start; the
// reminder window itself, a top-level window with all its controls, is made
// when it is first shown. Its timer ticks and the values' change
// notifications go to the reminder window's handlers.
class ReminderClockWnd final : public Window {
 public:
  explicit ReminderClockWnd(TfrmMain& owner) : owner_(owner) {
    CreateWnd("TfrmMainClock", "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_TIMER || msg == WM_COMMAND) return owner_.HandleMessage(msg, wp, lp);
    return Window::HandleMessage(msg, wp, lp);
  }

 private:
  TfrmMain& owner_;
};

TfrmMain::TfrmMain() : clock_(std::make_unique<ReminderClockWnd>(*this)) {
  for (Kind k : kAllKinds) {
    listPaths_[static_cast<size_t>(Index(k))] = Svc().programFolder + Info(k).fileName;
    Page(k).kind = k;
  }
  CreateStateHolders();
  // The window is created at program start, outside any handler: an error of
  // the creation steps is shown and ends them, and the program goes on.
  scheduler_.SetRefreshDate(Svc().clock->Now().date);
  Guarded([&] { FormCreate(); });
  // The timers run from the creation whatever the creation steps met.
  for (UINT_PTR id : {tmrTime, tmrDayEvent, tmrDailyEvent, tmrMonth})
    SetTimer(ClockWindow(), id, 1000, nullptr);
}

TfrmMain::~TfrmMain() {
  for (UINT_PTR id : {tmrTime, tmrEvent, tmrDayEvent, tmrDailyEvent, tmrMonth})
    KillTimer(ClockWindow(), id);
  if (Handle()) DestroyWindow(Handle());
  clock_.reset();
  for (auto& p : pages_) {
    if (p.popup) DestroyMenu(p.popup);
  }
  for (HFONT font : {uiFont_, listFont_, clockFont_})
    if (font) DeleteObject(font);
}

HWND TfrmMain::ClockWindow() const { return clock_ ? clock_->Handle() : nullptr; }

void TfrmMain::EnsureWindow() {
  if (Handle()) return;
  CreateWnd("TfrmMain", "Reminder", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, Px(80), Px(114),
            Px(775), Px(506), ApplicationWindow(), nullptr, CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  UpdateColors();
  CreateFonts();
}

void TfrmMain::CreateFonts() {
  uiFont_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  listFont_ = CreateScaledFont(-13, FW_BOLD, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  clockFont_ = CreateScaledFont(-13, FW_BOLD, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
}

void TfrmMain::DpiChanged(UINT oldDpi) {
  const HFONT oldFonts[] = {uiFont_, listFont_, clockFont_};
  CreateFonts();
  ReplaceFont(Handle(), oldFonts[0], uiFont_);
  ReplaceFont(Handle(), oldFonts[2], clockFont_);
  if (built_) {
    for (Kind k : kAllKinds) {
      ReminderPage& p = Page(k);
      p.list->SetFont(listFont_);  // which measures the tab stops anew
      SendMessageA(p.list->Handle(), LB_SETITEMHEIGHT, 0, Px(kRowHeight));
      scalingHeadings_ = true;
      for (int i = 0; i < 2; ++i) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        SendMessageA(p.header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.cxy = MulDiv(item.cxy, static_cast<int>(Dpi()), static_cast<int>(oldDpi));
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

// What the running program needs while the window has never been shown: the
// popup menus (the alarm switches and enable states live in them), and hidden
// values holding the day references and the alarm-sound paths, children of
// the clock window so they exist before the window and its pages do.
void TfrmMain::CreateStateHolders() {
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    CreatePopupMenu(k);
    p.edtSound = CreateHiddenValue(ClockWindow(), ControlId(k, Ctl::edtSound));
    if (k == Kind::Weekly || k == Kind::Monthly)
      p.editRef = CreateHiddenValue(ClockWindow(), ControlId(k, Ctl::editRef));
  }
}

void TfrmMain::EnsureControls() {
  if (built_) return;
  EnsureWindow();
  EnsureCommonControls();
  CreateControls();
  built_ = true;
  ApplyStateToControls();
  Relayout();
}

// Brings the new controls to where the creation steps and everything since
// would have left them. The entry panels' list buttons keep their design
// state: before the first show nothing can enable them.
void TfrmMain::ApplyStateToControls() {
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    RefreshList(k);
    EnableWindow(p.btnClearAll, clearAllEnabled_[static_cast<size_t>(Index(k))]);
    EnableWindow(p.btnPlay, !GetText(p.edtSound).empty());
    if (p.cbSchedule) {
      const std::string ref = GetText(p.editRef);
      if (!ref.empty()) SetText(p.cbSchedule, ref);
    }
    ResetPickers(k);
  }
}

HWND TfrmMain::AddControl(HWND parent, const char* cls, const char* text, DWORD style, int x,
                          int y, int w, int h, int id, DWORD exStyle) {
  HWND hwnd = CreateWindowExA(exStyle, cls, text, WS_CHILD | style, Px(x), Px(y), Px(w), Px(h), parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                              nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  return hwnd;
}

HWND TfrmMain::AddLabel(HWND parent, const char* text, int x, int y, int w, int h) {
  // A label ends the group of arrow keys before it.
  HWND label = AddControl(parent, "STATIC", text, WS_VISIBLE | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                          x, y, w, h, -1);
  labels_.push_back(label);
  return label;
}

void TfrmMain::AddHint(HWND control, const char* text) { hints_.Add(control, text); }

std::string TfrmMain::HintOf(HWND control) const { return hints_.Of(control); }

ReminderPaneWnd& TfrmMain::NewPane(HWND parent, int look, int x, int y, int w, int h, int id) {
  panes_.push_back(std::make_unique<ReminderPaneWnd>(*this, static_cast<ReminderPaneWnd::Look>(look)));
  ReminderPaneWnd& pane = *panes_.back();
  const char* cls = look == ReminderPaneWnd::Sheet     ? "TTabSheet"
                    : look == ReminderPaneWnd::Buttons ? "TPanel"
                    : look == ReminderPaneWnd::Heading ? "THeadingPanel"
                                                       : "TGroupBox";
  // Tab and the access keys reach the controls inside it.
  pane.CreateWnd(cls, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE,
                 WS_EX_CONTROLPARENT, Px(x), Px(y), Px(w), Px(h), parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  return pane;
}

void TfrmMain::CreateControls() {
  hints_.Create(Handle());
  // The pages are its children; Ctrl+Tab turns them.
  PageControl1_ = AddControl(Handle(), WC_TABCONTROLA, "",
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

void TfrmMain::CreatePage(Kind kind) {
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
  const int firstWidth = std::max(Px(kFirstHeadingWidth[Index(kind)]),
                                  CaptionWidth(p.header, headings[0], false) + Px(12));
  const int widths[2] = {firstWidth, Px(kSecondHeadingWidth)};
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
  list->SetBounds(0, Px(kEntryHeight) + Px(kHeadingHeight), Px(650), Px(280));
  list->HandleNeeded();
  list->SetTabsString("0;100;200;300;400;500;600;700;800;900;");
  SendMessageA(list->Handle(), LB_SETITEMHEIGHT, 0, Px(kRowHeight));
  list->onKeyDown = [this, kind](WPARAM key) { commands_.ListKeyDown(kind, key); };
  p.list = list.get();
  AddHint(list->Handle(), "Right Click for Context Menu");

  CreateButtonPanel(kind, p.page);

  list->SetPopupMenu(p.popup, Handle());
}

void TfrmMain::CreateEntryPanel(Kind kind, HWND sheet) {
  ReminderPage& p = Page(kind);
  ReminderPaneWnd& group = NewPane(sheet, ReminderPaneWnd::Group, 0, 0, 750, kEntryHeight, 0);
  HWND g = group.Handle();

  AddLabel(g, "Message", 10, 22, 55, 16);
  p.editMessage = AddControl(g, "EDIT", "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, 70, 19, 660,
                             21, ControlId(kind, Ctl::editMessage), WS_EX_CLIENTEDGE);
  AddHint(p.editMessage, "Enter Message Here");
  SetPropA(p.editMessage, "PendraMain", this);
  messageEditProcs_[static_cast<size_t>(Index(kind))] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      p.editMessage, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TfrmMain::MessageEditProc)));

  static constexpr const char* kScheduleLabels[] = {"Reminder Date", "Day Of Week",
                                                    " Beginning Reminder Date", "Day Of Month "};
  AddLabel(g, kScheduleLabels[Index(kind)], 10, 48, 170, 16);
  const DWORD dateStyle = WS_VISIBLE | WS_TABSTOP | WS_GROUP | DTS_LONGDATEFORMAT;
  if (kind == Kind::OneTime || kind == Kind::Daily) {
    p.dtpSchedule = AddControl(g, DATETIMEPICK_CLASSA, "", dateStyle, 10, 66, 250, 21,
                               ControlId(kind, Ctl::dtpSchedule));
    AddHint(p.dtpSchedule, "Select Date here");
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
    AddHint(p.dtpCalendar, "Select Date here");
  }

  AddLabel(g, "Reminder Time", 400, 48, 100, 16);
  p.dtpTime = AddControl(g, DATETIMEPICK_CLASSA, "", WS_VISIBLE | WS_TABSTOP | WS_GROUP | DTS_TIMEFORMAT, 400,
                         66, 110, 21, ControlId(kind, Ctl::dtpTime));
  AddHint(p.dtpTime, "Select Time here");
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
    spneditHours_ = AddControl(g, "EDIT", std::to_string(hourPart_).c_str(), editStyle, 432, 98,
                               45, 21, ControlId(kind, Ctl::editHours), WS_EX_CLIENTEDGE);
    spinHours_ = AddControl(g, UPDOWN_CLASSA, "", spinStyle, 0, 0, 0, 0, ControlId(kind, Ctl::spinHours));
    SendMessageA(spinHours_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spneditHours_), 0);
    SendMessageA(spinHours_, UDM_SETRANGE32, 0, 24);
    AddLabel(g, "Reminder Interval  (Minutes)", 495, 101, 175, 16);
    spneditMinutes_ = AddControl(g, "EDIT", std::to_string(minutePart_).c_str(), editStyle, 672,
                                 98, 45, 21, ControlId(kind, Ctl::editMinutes), WS_EX_CLIENTEDGE);
    spinMinutes_ = AddControl(g, UPDOWN_CLASSA, "", spinStyle, 0, 0, 0, 0,
                              ControlId(kind, Ctl::spinMinutes));
    SendMessageA(spinMinutes_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(spneditMinutes_), 0);
    SendMessageA(spinMinutes_, UDM_SETRANGE32, 0, 60);
    for (HWND h : {spneditHours_, spinHours_, spneditMinutes_, spinMinutes_})
      AddHint(h, "Set Reminder Interval");
  }
}

void TfrmMain::CreateButtonPanel(Kind kind, HWND sheet) {
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
  AddHint(p.btnSound, "Choose Alarm Sound");
}

void TfrmMain::SizeButtonPanel(Kind kind) {
  ReminderPage& p = Page(kind);
  const HWND buttons[] = {p.btnRemove, p.btnEdit,   p.btnClearAll,     p.btnUp,
                          p.btnDown,   p.btnMoveTop, p.btnMoveBottom, p.btnSound,
                          p.btnPlay,   p.btnHideButtons, p.btnHide};
  // The design width, or wider where a caption needs it in the font in use.
  int panelWidth = Px(kPanelDesignWidth[Index(kind)]);
  for (HWND button : buttons) {
    const bool glyph = button == p.btnPlay;
    panelWidth = std::max(panelWidth, CaptionWidth(button, GetText(button).c_str(), !glyph) +
                                          (glyph ? Px(kGlyphRoom) : 0) + Px(kButtonTextMargin) +
                                          2 * Px(kPanelMargin));
  }
  panelWidths_[static_cast<size_t>(Index(kind))] = panelWidth;
  for (HWND button : buttons)
    SetWindowPos(button, nullptr, 0, 0, panelWidth - 2 * Px(kPanelMargin), Px(kButtonHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmMain::CreatePopupMenu(Kind kind) {
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

void TfrmMain::Relayout() {
  if (!built_) return;
  RECT client = ClientRectOf(Handle());
  MoveWindow(PageControl1_, 0, 0, client.right, client.bottom, TRUE);
  RECT display = ClientRectOf(PageControl1_);
  SendMessageA(PageControl1_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const int w = std::max(0L, display.right - display.left);
  const int h = std::max(0L, display.bottom - display.top);
  const int listTop = Px(kEntryHeight) + Px(kHeadingHeight);
  const int listHeight = std::max(0, h - listTop);
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    MoveWindow(p.page, display.left, display.top, w, h, TRUE);
    MoveWindow(GetParent(p.editMessage), 0, 0, w, Px(kEntryHeight), TRUE);
    MoveWindow(p.editMessage, Px(70), Px(19), std::max(Px(100), w - Px(80)), Px(21), TRUE);
    MoveWindow(GetParent(p.header), 0, Px(kEntryHeight), w, Px(kHeadingHeight), TRUE);
    MoveWindow(p.header, Px(2), Px(2), std::max(0, w - Px(4)), Px(kHeadingHeight) - Px(4), TRUE);
    const int panelWidth = panelWidths_[static_cast<size_t>(Index(k))];
    const bool panelShown = HasVisibleStyle(p.panel);
    const int listWidth = std::max(0, panelShown ? w - panelWidth : w);
    p.list->SetBounds(0, listTop, listWidth, listHeight);
    MoveWindow(p.panel, listWidth, listTop, panelWidth, listHeight, TRUE);
  }
}

Kind TfrmMain::ActivePage() const {
  const int index = static_cast<int>(SendMessageA(PageControl1_, TCM_GETCURSEL, 0, 0));
  return index >= 0 && index < kKindCount ? kAllKinds[static_cast<size_t>(index)] : Kind::OneTime;
}

bool TfrmMain::TabHighlighted(Kind kind) const {
  TCITEMA item{};
  item.mask = TCIF_STATE;
  item.dwStateMask = TCIS_HIGHLIGHTED;
  SendMessageA(PageControl1_, TCM_GETITEMA, static_cast<WPARAM>(Index(kind)),
               reinterpret_cast<LPARAM>(&item));
  return (item.dwState & TCIS_HIGHLIGHTED) != 0;
}

void TfrmMain::HighlightTab(Kind kind, bool on) {
  SendMessageA(PageControl1_, TCM_HIGHLIGHTITEM, static_cast<WPARAM>(Index(kind)), MAKELPARAM(on ? 1 : 0, 0));
}

void TfrmMain::ShowSheet(Kind kind) {
  for (Kind k : kAllKinds) ShowWindow(Page(k).page, k == kind ? SW_SHOW : SW_HIDE);
}

void TfrmMain::PageControl1Changing() { HighlightTab(ActivePage(), false); }

void TfrmMain::PageControl1Change() {
  ShowSheet(ActivePage());
  HighlightTab(ActivePage(), true);
}

void TfrmMain::GoToPage(Kind kind) {
  HighlightTab(ActivePage(), false);
  SendMessageA(PageControl1_, TCM_SETCURSEL, static_cast<WPARAM>(Index(kind)), 0);
  ShowSheet(kind);
  HighlightTab(kind, true);
  // The keyboard focus does not stay on the page turned away (the list whose
  // menu went to this page).
  HWND focus = GetFocus();
  if (focus && IsChild(Handle(), focus) && !IsWindowVisible(focus) && Page(kind).list)
    SetFocus(Page(kind).list->Handle());
}

// ---------------------------------------------------------------------------
// Lists

void TfrmMain::RefreshList(Kind kind) {
  // A list not built yet is filled from the book when it is.
  TMd4TabbedList* list = Page(kind).list;
  if (!list) return;
  // The list control follows the book's changes row by row; a list loaded
  // anew, or one the control does not hold as the book had it, is filled whole.
  std::optional<unsigned>& shown = shownVersions_[static_cast<size_t>(Index(kind))];
  const std::optional<ListChanges> changes =
      shown ? book_.ChangesSince(kind, *shown) : std::nullopt;
  if (changes) {
    for (const ListChange& change : *changes) {
      switch (change.op) {
        case ListChange::Op::Insert: list->InsertItem(change.at, change.text); break;
        case ListChange::Op::Erase: list->DeleteItem(change.at); break;
        case ListChange::Op::Move: list->MoveItem(change.at, change.to); break;
      }
    }
    list->SetItemIndex(-1);
  }
  if (!changes || static_cast<size_t>(list->Count()) != book_.List(kind).size())
    list->SetItems(book_.List(kind));
  shown = book_.Version(kind);
}

void TfrmMain::SaveList(Kind kind) {
  // Whatever asks: a list not read would overwrite reminders nobody has seen.
  if (!book_.Loaded(kind)) throw Error(UnreadListMessage(ListFilePath(kind)));
  if (book_.EditInProgress(kind)) {
    WriteListFile(ListFilePath(kind), book_.LinesToSave(kind));
  } else {
    WriteListFile(ListFilePath(kind), book_.List(kind));  // no copy of a long list
  }
  book_.MarkSaved(kind);
  RememberFormats();
}

void TfrmMain::LoadList(Kind kind) {
  book_.Replace(kind, ReadListFile(ListFilePath(kind)));
  RefreshList(kind);
}

bool TfrmMain::TryLoadList(Kind kind) {
  Lines lines;
  try {
    lines = ReadListFile(ListFilePath(kind));
  } catch (const Error&) {
    return false;
  }
  book_.Replace(kind, std::move(lines));
  RefreshList(kind);
  CatchUpLateList(kind);
  return true;
}

void TfrmMain::RequireLoaded(Kind kind) {
  if (book_.Loaded(kind)) return;
  if (!TryLoadList(kind)) throw Error(UnreadListMessage(ListFilePath(kind)));
  EnableRemoveAll(kind);
}

void TfrmMain::RetryUnreadLists() {
  if (book_.AllLoaded()) return;
  for (Kind k : kAllKinds) {
    // A list read late gets the Remove All state its creation would have given it.
    if (!book_.Loaded(k) && TryLoadList(k)) EnableRemoveAll(k);
  }
}

void TfrmMain::RetryUnreadListsEachMinute(const DateTime& now) {
  // Costs nothing while every list is read: no file is touched.
  if (book_.AllLoaded()) return;
  const int minute = now.time.hour * 60 + now.time.minute;
  if (retryDate_ == now.date && retryMinute_ == minute) return;
  retryDate_ = now.date;
  retryMinute_ = minute;
  RetryUnreadLists();
}

void TfrmMain::CatchUpLateList(Kind kind) {
  bool& pending = lateCatchUp_[static_cast<size_t>(Index(kind))];
  if (!pending) return;
  pending = false;
  const DateTime now = Svc().clock->Now();
  if (now.date != catchUpDay_) return;
  FollowFormats();
  ILocale& locale = *Svc().locale;
  gate_.OfferTick(scheduler_.CatchUpLate(kind, now, locale.Formats(), locale.Generation(), Refs(),
                                         static_cast<int>(eventPeriodMs_ / 60000u)));
}

TextReader TfrmMain::Reader() {
  FollowFormats();
  return TextReader(Svc().locale->Formats(), remembered_);
}

void TfrmMain::FollowFormats() {
  ILocale& locale = *Svc().locale;
  if (locale.Generation() == formatsGeneration_) return;
  formatsGeneration_ = locale.Generation();
  WrittenFormats now = WrittenFormats::Of(locale.Formats());
  if (inForce_ && *inForce_ != now) {
    remembered_ = PutFirst(*inForce_, remembered_);
    scheduler_.SetRememberedFormats(remembered_);
  }
  inForce_ = std::move(now);
}

void TfrmMain::ReadRememberedFormats() {
  // A value of the wrong type, or one that cannot be read, is as none: it must
  // never keep the reminders from running.
  std::string value;
  try {
    if (Svc().registry->Read(std::string(kReminderEventsKey) + "\\" + kFormatsSection,
                             kFormatsIdent, value) != ValueKind::Text)
      return;
  } catch (const std::exception&) {
    return;
  }
  remembered_ = ParseFormatsValue(value);
  formatsValue_ = value;
  scheduler_.SetRememberedFormats(remembered_);
}

void TfrmMain::RememberFormats() {
  FollowFormats();
  remembered_ = PutFirst(WrittenFormats::Of(Svc().locale->Formats()), remembered_);
  scheduler_.SetRememberedFormats(remembered_);
  std::string value = FormatsValue(remembered_);
  if (value == formatsValue_) return;
  // What was written is saved already; a value that cannot be stored only
  // means it is tried again at the next write.
  try {
    Svc().registry->WriteText(std::string(kReminderEventsKey) + "\\" + kFormatsSection,
                              kFormatsIdent, value);
    formatsValue_ = std::move(value);
  } catch (const std::exception&) {
  }
}

void TfrmMain::EnableRemoveAll(Kind kind) {
  const bool rows = !book_.List(kind).empty();
  clearAllEnabled_[static_cast<size_t>(Index(kind))] = rows;
  EnableWindow(Page(kind).btnClearAll, rows);
  EnableMenuItemById(Page(kind).popup, MenuId(kind, Mnu::RemoveAll), rows);
}

std::string TfrmMain::ListFilePath(Kind kind) const { return listPaths_[static_cast<size_t>(Index(kind))]; }

// ---------------------------------------------------------------------------
// Messages

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CTLCOLORSTATIC:
      return OnColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      UpdateColors();
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_SIZE:
      Relayout();
      return 0;
    case kRelayoutMessage:
      Relayout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = Px(kMinWidth);
      info->ptMinTrackSize.y = Px(kMinHeight);
      return 0;
    }
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void TfrmMain::OnCommand(int id, int code, HWND control) {
  // Button clicks and menu items arrive with code 0; the list commands go first.
  if (code == BN_CLICKED && commands_.OnCommand(id)) return;
  if (id < kControlBase || id >= kControlBase + kKindCount * kPageStride) return;
  const Kind kind = kAllKinds[static_cast<size_t>((id - kControlBase) / kPageStride)];
  const auto role = static_cast<Ctl>((id - kControlBase) % kPageStride);
  switch (role) {
    case Ctl::editMessage:
      if (code == EN_CHANGE) EditMessageChange(kind);
      break;
    case Ctl::edtSound:
      if (code == EN_CHANGE) commands_.SoundPathChanged(kind);
      break;
    case Ctl::editHours:
    case Ctl::editMinutes:
      if (code == EN_CHANGE) spneditMinutesChange();
      break;
    case Ctl::list:
      if (code == LBN_SELCHANGE) commands_.SelectionChanged(kind);
      break;
    case Ctl::btnOK:
      if (code == BN_CLICKED) OkClick(kind);
      break;
    case Ctl::btnCancel:
      if (code == BN_CLICKED) CancelClick(kind);
      break;
    case Ctl::btnTest:
      if (code == BN_CLICKED) TestClick(kind);
      break;
    default:
      break;
  }
  (void)control;
}

LRESULT TfrmMain::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom == PageControl1_) {
    if (hdr->code == TCN_SELCHANGING) PageControl1Changing();
    if (hdr->code == TCN_SELCHANGE) PageControl1Change();
    return FALSE;
  }
  for (Kind k : kAllKinds) {
    ReminderPage& p = Page(k);
    if (hdr->hwndFrom == p.dtpCalendar && hdr->code == DTN_CLOSEUP) {
      if (k == Kind::Weekly) DTPWeekEventsCloseUp();
      if (k == Kind::Monthly) DTPMonthEventsCloseUp();
      return 0;
    }
    if (hdr->hwndFrom == p.header) {
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
            nm->pitem->cxy = std::clamp(nm->pitem->cxy, Px(kDailyHeadingMin), Px(kDailyHeadingMax));
          }
          return FALSE;
        case HDN_DIVIDERDBLCLICKA:
        case HDN_DIVIDERDBLCLICKW:
          return 0;
        default:
          return 0;
      }
    }
  }
  return 0;
}

HBRUSH TfrmMain::PanelBrush() { return panelBrush_.Of(panelColors_.background); }

void TfrmMain::UpdateColors() {
  const SystemColors system = CurrentSystemColors();
  panelColors_ = FixedColors(kPanelColors, system);
  clockColors_ = FixedColors(kClockColors, system);
}

LRESULT TfrmMain::OnColor(HDC dc, HWND control) {
  for (Kind k : kAllKinds) {
    if (control == Page(k).stxtClock) return AnswerColors(dc, clockColors_, clockBrush_);
  }
  if (std::find(labels_.begin(), labels_.end(), control) != labels_.end()) {
    SetBkMode(dc, TRANSPARENT);
    return AnswerColors(dc, panelColors_, panelBrush_);
  }
  return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void TfrmMain::DrawHeading(const DRAWITEMSTRUCT& item) {
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
  r.left += Px(6);
  DrawTextA(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, oldFont);
}

void TfrmMain::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType == ODT_HEADER) {
    DrawHeading(item);
    return;
  }
  const ReminderPage* page = nullptr;
  for (Kind k : kAllKinds)
    if (item.hwndItem == Page(k).btnPlay) page = &Page(k);
  if (!page) return;
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
  const bool glyph = page->playGlyph && GetObjectA(page->playGlyph, sizeof bm, &bm) == sizeof bm;
  const int glyphWidth = glyph ? bm.bmWidth / 2 : 0;
  const int glyphHeight = glyph ? bm.bmHeight : 0;
  // Drawn at the design size at the window's DPI, whatever the file's size.
  const int drawnSize = glyph ? Px(kGlyphSize) : 0;
  const int gap = glyph ? Px(kGlyphGap) : 0;
  const int total = drawnSize + gap + textSize.cx;
  const int shift = pushed ? 1 : 0;
  int x = r.left + (r.right - r.left - total) / 2 + shift;
  if (glyph) {
    // The first image while enabled, the second while disabled; the picture's
    // bottom-left pixel colour is drawn transparent.
    const int sourceX = enabled ? 0 : glyphWidth;
    const int y = r.top + (r.bottom - r.top - drawnSize) / 2 + shift;
    HDC src = CreateCompatibleDC(dc);
    HGDIOBJ oldSrc = SelectObject(src, page->playGlyph);
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

void TfrmMain::OnTimer(UINT_PTR id) {
  switch (id) {
    case tmrTime: tmrTimeTimer(); break;
    case tmrEvent: tmrEventTimer(); break;
    case tmrDayEvent: tmrDayEventTimer(); break;
    case tmrDailyEvent: tmrDailyEventTimer(); break;
    case tmrMonth: tmrMonthTimer(); break;
    default: break;
  }
}

// ---------------------------------------------------------------------------
// Lifecycle

void TfrmMain::FormCreate() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  const DateTime now = Svc().clock->Now();
  const TodayRefs refs = TodayRefs::For(now.date);

  // Each value and each list is read on its own: a setting of the wrong type
  // or a list file that cannot be read is reported, and the rest of the
  // creation goes on, so it never keeps the other lists from being read.
  Guarded([&] { interval_ = StoredInterval(ini); });
  Guarded([&] {
    SetSpinValue(hourPart_, spneditHours_,
                 std::clamp(ini.ReadInteger("Time", "HourInterval", 0), 0, kMaxHours));
  });
  Guarded([&] {
    SetSpinValue(minutePart_, spneditMinutes_,
                 std::clamp(ini.ReadInteger("Time", "MinuteInterval", 0), 0, kMaxMinutes));
  });
  SetEventPeriod(interval_);

  SetText(Page(Kind::Weekly).cbSchedule, refs.dayStr);
  SetText(Page(Kind::Weekly).editRef, refs.dayStr);

  ReadRememberedFormats();
  FollowFormats();

  // A list that cannot be read stays empty and is never written; the user is
  // told once here, and the file is tried again later.
  retryDate_ = now.date;
  retryMinute_ = now.time.hour * 60 + now.time.minute;
  for (Kind k : kAllKinds) {
    Guarded([&] {
      if (!TryLoadList(k)) throw Error(UnreadListMessage(ListFilePath(k)));
    });
  }

  for (Kind k : kAllKinds) {
    const std::string slot = std::to_string(Info(k).soundSlot);
    soundUnread_[Index(k)] = !Guarded([&] {
      const std::string path = ini.ReadString("Alarm Sound", "WaveFileName" + slot, "");
      // Only a change of the text runs the path's change handler.
      if (GetText(Page(k).edtSound) != path) SetText(Page(k).edtSound, path);
    });
    Guarded([&] {
      CheckMenuItemById(Page(k).popup, MenuId(k, Mnu::PlaySounds),
                        ini.ReadBool("Play Sound" + slot, "Play", true));
    });
  }

  SetText(Page(Kind::Monthly).cbSchedule, refs.monthStr);
  SetText(Page(Kind::Monthly).editRef, refs.monthStr);

  for (Kind k : kAllKinds) ResetPickers(k);

  for (Kind k : kAllKinds) EnableRemoveAll(k);
}

void TfrmMain::FormShow() {
  // An error ends the show steps where it happens; the window still appears.
  Guarded([&] {
    TRegIniFile ini(*Svc().registry, kReminderEventsKey);
    const DateTime now = Svc().clock->Now();
    const TodayRefs refs = TodayRefs::For(now.date);

    SetText(Page(Kind::Weekly).cbSchedule, refs.dayStr);

    RECT r = NormalPlaceOnScreen(Handle());
    const int top = ini.ReadInteger("Position", "Top", r.top);
    const int left = ini.ReadInteger("Position", "Left", r.left);
    const int height = ini.ReadInteger("Size", "Height", r.bottom - r.top);
    const int width = ini.ReadInteger("Size", "Width", r.right - r.left);
    // The stored place is the normal one: a window hidden maximised comes
    // back maximised and is restored to it.
    SetNormalPlace(Handle(), BringOntoMonitor(RECT{left, top, left + width, top + height}));

    for (Kind k : kAllKinds) ResetPickers(k);
    SetText(Page(Kind::Monthly).cbSchedule, refs.monthStr);
    SetText(Page(Kind::Monthly).editRef, refs.monthStr);

    const int stored = ini.ReadInteger("Page", "Active Page", Index(ActivePage()));
    // A page number the program never writes leaves the page shown as it is.
    const Kind page = stored >= 0 && stored < kKindCount ? kAllKinds[static_cast<size_t>(stored)]
                                                          : ActivePage();
    GoToPage(page);

    for (Kind k : kAllKinds) commands_.ShowSwitch(k);
    commands_.RestorePanels();
  });
  Relayout();
}

void TfrmMain::FormHide() {
  TRegIniFile ini(*Svc().registry, kReminderEventsKey);
  ini.WriteInteger("Page", "Active Page", Index(ActivePage()));

  const int hours = built_ ? SpinValue(spneditHours_, 24) : hourPart_;
  const int minutes = built_ ? SpinValue(spneditMinutes_, 60) : minutePart_;
  interval_ = hours * 60 + minutes;
  ini.WriteInteger("Time", "Interval", interval_);
  ini.WriteInteger("Time", "HourInterval", hours);
  ini.WriteInteger("Time", "MinuteInterval", minutes);
  SetEventPeriod(StoredInterval(ini));

  // A minimised or maximised window stores the place it comes back to.
  const RECT r = NormalPlaceOnScreen(Handle());
  ini.WriteInteger("Position", "Top", r.top);
  ini.WriteInteger("Position", "Left", r.left);
  ini.WriteInteger("Size", "Height", r.bottom - r.top);
  ini.WriteInteger("Size", "Width", r.right - r.left);

  for (Kind k : kAllKinds) {
    const std::string slot = std::to_string(Info(k).soundSlot);
    // A stored path that could not be read stays until the user chooses a sound.
    const std::string path = GetText(Page(k).edtSound);
    if (!soundUnread_[Index(k)] || !path.empty()) {
      soundUnread_[Index(k)] = false;
      ini.WriteString("Alarm Sound", "WaveFileName" + slot, path);
    }
    ini.WriteBool("Play Sound" + slot, "Play", MenuItemChecked(Page(k).popup, MenuId(k, Mnu::PlaySounds)));
  }
}

void TfrmMain::FormClose() {
  // Only a list changed since it was read or last written is saved: the file
  // of an unchanged one already holds it, and a file that could not be read
  // is never overwritten. A list that cannot be written keeps its entries in
  // memory; it does not keep the other lists or the date from being saved,
  // and its error then ends the close.
  std::vector<std::exception_ptr> failures;
  auto attempt = [&](auto&& step) {
    try {
      step();
    } catch (...) {
      failures.push_back(std::current_exception());
    }
  };
  for (Kind k : kAllKinds) {
    if (book_.Loaded(k) && book_.Changed(k)) attempt([&] { SaveList(k); });
  }
  attempt([&] {
    TRegIniFile(*Svc().registry, kReminderEventsKey)
        .WriteString("Last Boot", " Date",
                     FormatDateText(Svc().locale->Formats(), Svc().clock->Now().date));
    // The date beside it is written with the current formats.
    RememberFormats();
  });
  if (failures.empty()) return;
  for (size_t i = 0; i + 1 < failures.size(); ++i)
    Guarded([&] { std::rethrow_exception(failures[i]); });
  std::rethrow_exception(failures.back());
}

void TfrmMain::CancelPanelsForExit() {
  // A list file that cannot be read back here loses nothing (the list keeps
  // what it holds), so its error is shown and the exit goes on.
  Guarded([&] { btnDayCancelClick(); });
  Guarded([&] { btnCancelClick(); });
  Guarded([&] { btnDailyCancelClick(); });
  Guarded([&] { btnMonthCancelClick(); });
}

}  // namespace pendra
