// The add to-do item dialog: a text and a date, OK and Cancel.
#include "todo/todo_window_win.h"

#include <commctrl.h>

#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/on_demand_win.h"
#include "platform/services.h"
#include "platform/wide_controls_win.h"

namespace pendra {

namespace {

// Design values, in pixels at 96 DPI; the dialog scales them to its DPI.
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 134;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace

TfrmAddToDo::TfrmAddToDo(TfrmToDo& frmToDo)
    : frmToDo_(frmToDo), pickerDate_(Svc().clock->Now().date) {}

TfrmAddToDo::~TfrmAddToDo() {
  if (Handle()) DestroyWindow(Handle());
  if (font_) DeleteObject(font_);
}

void TfrmAddToDo::BeforeShow() {
  if (Handle()) return;
  EnsureCommonControls();
  // A tool window without caption or title-bar buttons, above the others.
  const DWORD style = WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  AdjustWindowRectForDpi(&frame, style, false, exStyle, Dpi());
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  CreateWnd("TfrmAddToDo", "", style, exStyle, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, ApplicationWindow(),
            nullptr, CS_DBLCLKS, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  font_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());

  auto add = [&](const char* cls, const char* text, DWORD ctlStyle, int x, int y, int w, int h,
                 int id, DWORD ctlExStyle = 0) {
    HWND hwnd = CreateWindowExA(ctlExStyle, cls, text, WS_CHILD | WS_VISIBLE | ctlStyle, Px(x),
                                Px(y), Px(w), Px(h),
                                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                Instance(), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return hwnd;
  };
  add("STATIC", "New Item", SS_LEFTNOWORDWRAP, 10, 8, 120, 14, -1);      // lblNewItem
  // Wide: the item keeps every character typed or pasted into it.
  edtToDo_ = CreateWideEdit(WS_VISIBLE | WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, Px(10), Px(24),
                            Px(280), Px(21), Handle(), kEdtToDo, font_);
  add("STATIC", "Date", SS_LEFTNOWORDWRAP, 10, 54, 120, 14, -1);         // lblDate
  dtpAddToDo_ = add(DATETIMEPICK_CLASSA, "", WS_TABSTOP | WS_GROUP | DTS_LONGDATEFORMAT, 10, 70,
                    280, 21, kDtpAddToDo);
  btnOK_ = add("BUTTON", "OK", WS_TABSTOP | WS_GROUP | WS_DISABLED | BS_DEFPUSHBUTTON, 134, 102,
               75, 25, kBtnOK);
  btnCancel_ = add("BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 215, 102, 75, 25, kBtnCancel);
  SetPickerDate(pickerDate_);
}

Date TfrmAddToDo::PickerDate() const {
  if (!dtpAddToDo_) return pickerDate_;
  SYSTEMTIME st{};
  if (SendMessageA(dtpAddToDo_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
    return pickerDate_;
  return Date{st.wYear, st.wMonth, st.wDay};
}

void TfrmAddToDo::SetPickerDate(const Date& date) {
  pickerDate_ = date;
  if (!dtpAddToDo_) return;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(date));
  SendMessageA(dtpAddToDo_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

void TfrmAddToDo::DpiChanged(UINT) {
  HFONT old = font_;
  font_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  ReplaceFont(Handle(), old, font_);
  DeleteObject(old);
}

void TfrmAddToDo::edtToDoChange() { EnableWindow(btnOK_, GetWindowTextLengthW(edtToDo_) > 0); }

void TfrmAddToDo::btnOKClick() {
  if (frmToDo_.AddItem(PickerDate(), GetTextUtf8(edtToDo_)))
    SetPickerDate(Svc().clock->Now().date);
  SetText(edtToDo_, "");  // which turns OK off
  Hide();
}

void TfrmAddToDo::btnCancelClick() {
  SetText(edtToDo_, "");
  Hide();
}

LRESULT TfrmAddToDo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kEdtToDo:
          if (HIWORD(wp) == EN_CHANGE) edtToDoChange();
          return 0;
        case kBtnOK:
          // Enter reaches here too; an empty text cannot be added.
          if (HIWORD(wp) == BN_CLICKED && IsWindowEnabled(btnOK_)) btnOKClick();
          return 0;
        case kBtnCancel:
          if (HIWORD(wp) == BN_CLICKED) btnCancelClick();
          return 0;
        default:
          break;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && edtToDo_) SetFocus(edtToDo_);
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
