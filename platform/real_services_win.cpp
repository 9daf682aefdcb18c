#include "platform/real_services_win.h"

#include "platform/on_demand_win.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <vector>

#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/message_loop_win.h"
#include "platform/sound_player_win.h"
#include "platform/window_win.h"
#include "settings/code_page.h"
#include "settings/errors.h"
#include "settings/registry_win.h"
#include "settings/wide_text_win.h"

namespace pendra {

// ---- Clock ------------------------------------------------------------------

namespace {

class RealClock final : public IClock {
 public:
  DateTime Now() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return DateTime{{st.wYear, st.wMonth, st.wDay}, {st.wHour, st.wMinute, st.wSecond}};
  }
};

}  // namespace

// ---- Locale -----------------------------------------------------------------

namespace {

// A locale text in UTF-8, as the lists hold the times and dates written with
// it, or nullopt when the system has none.
std::optional<std::string> LocaleText(LCTYPE type) {
  const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int got = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text.data(), size);
  if (got <= 0) return std::nullopt;
  text.resize(std::wcslen(text.c_str()));
  return Narrow(CP_UTF8, text);
}

// Keeps the default when the system gives nothing; an empty picture would make
// every time text equal, an empty name would make dates unreadable.
void TakeNonEmpty(std::string& slot, LCTYPE type) {
  auto text = LocaleText(type);
  if (text && !text->empty()) slot = *text;
}

}  // namespace

RealLocale::RealLocale() : formats_(ReadFromSystem()) {}

LocaleFormats RealLocale::ReadFromSystem() {
  LocaleFormats f;
  TakeNonEmpty(f.shortDate, LOCALE_SSHORTDATE);
  TakeNonEmpty(f.longTime, LOCALE_STIMEFORMAT);
  // A 24-hour locale has no designators; an empty one is kept as given.
  if (auto am = LocaleText(LOCALE_S1159)) f.am = *am;
  if (auto pm = LocaleText(LOCALE_S2359)) f.pm = *pm;
  // The system numbers days from Monday (1) to Sunday (7); ours start on Sunday.
  for (int i = 0; i < 7; ++i) {
    const std::size_t ours = static_cast<std::size_t>((i + 1) % 7);
    TakeNonEmpty(f.longDayNames[ours], static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i));
    TakeNonEmpty(f.shortDayNames[ours], static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + i));
  }
  for (int i = 0; i < 12; ++i) {
    const std::size_t m = static_cast<std::size_t>(i);
    TakeNonEmpty(f.longMonthNames[m], static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i));
    TakeNonEmpty(f.shortMonthNames[m], static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i));
  }
  return f;
}

void RealLocale::Refresh() {
  LocaleFormats fresh = ReadFromSystem();
  if (fresh == formats_) return;
  formats_ = std::move(fresh);
  ++generation_;
}

// ---- Dialogs ----------------------------------------------------------------

namespace {

UINT IconFlag(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Stop: return MB_ICONSTOP;
    case MsgIcon::Question: return MB_ICONQUESTION;
    case MsgIcon::Warning: return MB_ICONWARNING;
    case MsgIcon::Information: return MB_ICONINFORMATION;
    case MsgIcon::None: break;
  }
  return 0;
}

// The "Confirm" box is a dialog of our own rather than a Yes/No message box,
// because a Yes/No message box ignores Esc and the box must answer No to it.
constexpr int kConfirmIconId = 100;
constexpr int kConfirmTextId = 101;

// The boxes' texts are UTF-8 and their controls wide, so a text shows and
// takes every character.
HWND AddControl(HWND dlg, const wchar_t* cls, const std::string& text, DWORD style, int id, HFONT font) {
  HWND h = CreateWindowExW(0, cls, Widen(CP_UTF8, text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           dlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

// The boxes' layouts are design values at 96 DPI, scaled to the box's DPI;
// the dialog font is the system's at that DPI.
struct DialogScale {
  explicit DialogScale(HWND dlg) : dpi(WindowDpi(dlg)) {}
  int operator()(int designValue) const { return ScaleToDpi(designValue, dpi); }
  UINT dpi;
};

// Sizes a box around a client area of the given size and centres it on the
// work area.
void SizeAndCentre(HWND dlg, int clientW, int clientH, UINT dpi) {
  RECT frame{0, 0, clientW, clientH};
  AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE)), false,
                         static_cast<DWORD>(GetWindowLongA(dlg, GWL_EXSTYLE)), dpi);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dlg, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, w, h, SWP_NOZORDER);
}

void LayOutConfirm(HWND dlg, const std::string& text) {
  const DialogScale px(dlg);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));
  SetWindowTextA(dlg, "Confirm");
  HWND icon = AddControl(dlg, L"STATIC", "", SS_ICON, kConfirmIconId, font);
  SendMessageA(icon, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_QUESTION))),
               0);
  HWND label = AddControl(dlg, L"STATIC", text, SS_LEFT | SS_NOPREFIX, kConfirmTextId, font);
  HWND yes = AddControl(dlg, L"BUTTON", "&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES, font);
  HWND no = AddControl(dlg, L"BUTTON", "&No", BS_PUSHBUTTON | WS_TABSTOP, IDNO, font);

  // Measure the text with the dialog's font to size the box around it.
  RECT textRect{0, 0, px(400), 0};
  HDC dc = GetDC(dlg);
  HGDIOBJ old = SelectObject(dc, font);
  const std::wstring wide = Widen(CP_UTF8, text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textRect,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(dlg, dc);

  const int margin = px(12), buttonW = px(75), buttonH = px(23), gap = px(8);
  const int iconSize = SystemMetricForDpi(SM_CXICON, px.dpi);
  const int textLeft = margin + iconSize + margin;
  const int textW = std::max<int>(textRect.right, 1);
  const int textH = std::max<int>(textRect.bottom, 1);
  const int textTop = textH < iconSize ? margin + (iconSize - textH) / 2 : margin;
  const int contentBottom = std::max(margin + iconSize, textTop + textH);
  const int clientW = std::max(textLeft + textW + margin, 2 * buttonW + gap + 2 * margin);
  const int buttonsTop = contentBottom + px(16);
  const int clientH = buttonsTop + buttonH + margin;
  const int buttonsLeft = (clientW - (2 * buttonW + gap)) / 2;

  MoveWindow(icon, margin, margin, iconSize, iconSize, FALSE);
  MoveWindow(label, textLeft, textTop, textW, textH, FALSE);
  MoveWindow(yes, buttonsLeft, buttonsTop, buttonW, buttonH, FALSE);
  MoveWindow(no, buttonsLeft + buttonW + gap, buttonsTop, buttonW, buttonH, FALSE);

  SizeAndCentre(dlg, clientW, clientH, px.dpi);

  SendMessageA(dlg, DM_SETDEFID, IDYES, 0);
  SetFocus(yes);
}

INT_PTR CALLBACK ConfirmProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      LayOutConfirm(dlg, *reinterpret_cast<const std::string*>(lp));
      return FALSE;  // focus already set on "&Yes"
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDYES: EndDialog(dlg, IDYES); return TRUE;
        case IDNO:
        case IDCANCEL: EndDialog(dlg, IDNO); return TRUE;  // Esc and the close box
        default: break;
      }
      break;
    default: break;
  }
  return FALSE;
}

// Runs a modal dialog owned by the application window from an in-memory
// template: no controls (the procedure makes them at WM_INITDIALOG), no menu,
// the standard class, an empty title and the dialog font.
INT_PTR RunDialog(DLGPROC proc, LPARAM param, DWORD exStyle, HWND owner = ApplicationWindow()) {
  alignas(4) WORD buffer[32]{};
  auto* dlg = reinterpret_cast<DLGTEMPLATE*>(buffer);
  dlg->style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  dlg->dwExtendedStyle = exStyle;
  WORD* p = buffer + 9;  // the fixed part is 18 bytes
  *p++ = 0;              // menu
  *p++ = 0;              // class
  *p++ = 0;              // title
  *p++ = 8;              // point size
  for (const char* face = "MS Shell Dlg"; *face; ++face) *p++ = static_cast<WORD>(*face);
  *p = 0;
  // A wide dialog: its own message loop hands typed characters on whole.
  return DialogBoxIndirectParamW(GetModuleHandleA(nullptr), dlg, owner, proc, param);
}

// The announcement box looks like a message box without an icon: the text
// (its control has the id a message box gives its text) above one centred OK.
// A text taller or wider than the work area allows is shown in a read-only
// edit that scrolls; the box always lies within the work area.
constexpr int kAnnouncementTextId = 0xFFFF;
// Longer texts are not measured (that alone would take long): they scroll.
constexpr std::size_t kMeasureLimit = 8192;

// The text for the scrolling edit, broken into lines no wider than `width`
// (after a blank where there is one), each ended by CR LF, the one line break
// the edit knows; the announcement breaks its lines at each CR. Broken here,
// because the edit's own wrapping slows down without end on a long paragraph.
std::wstring WrappedForEdit(HDC dc, const std::wstring& text, int width) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // Enough characters to fill a line twice over, so one measure finds the break.
  const std::size_t chunk =
      static_cast<std::size_t>(2 * width / std::max<LONG>(1, metrics.tmAveCharWidth) + 8);
  auto low = [&](std::size_t at) { return at < text.size() && text[at] >= 0xDC00 && text[at] <= 0xDFFF; };
  std::wstring out;
  out.reserve(text.size() + text.size() / 32 + 16);
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    while (pos < end) {
      const int count = static_cast<int>(std::min(end - pos, chunk));
      int fit = 0;
      SIZE size{};
      GetTextExtentExPointW(dc, text.data() + pos, count, width, &fit, nullptr, &size);
      std::size_t take = static_cast<std::size_t>(std::max(fit, 1));
      if (take < end - pos) {
        // The line ends after its last blank; a word longer than the line is cut.
        std::size_t blank = take;
        while (blank > 0 && text[pos + blank - 1] != L' ') --blank;
        if (blank > 0) take = blank;
      }
      // Never between the halves of a character beyond the Basic Multilingual Plane.
      if (low(pos + take)) {
        if (take > 1) --take;
        else ++take;
      }
      out.append(text, pos, take);
      pos += take;
      if (pos < end) out += L"\r\n";
    }
    if (end == text.size()) break;
    out += L"\r\n";
    pos = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
  }
  return out;
}

RECT WorkAreaAtCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

void LayOutAnnouncement(HWND dlg, const std::string& utf8) {
  const std::wstring text = Widen(CP_UTF8, utf8);
  const DialogScale px(dlg);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));
  SetWindowTextA(dlg, kAppTitle);
  const RECT work = WorkAreaAtCursor();
  const int workW = work.right - work.left, workH = work.bottom - work.top;
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectForDpi(&frame, static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE)), false,
                         static_cast<DWORD>(GetWindowLongA(dlg, GWL_EXSTYLE)), px.dpi);
  const int frameW = frame.right - frame.left, frameH = frame.bottom - frame.top;

  const int margin = px(12), gap = px(14), buttonW = px(75), buttonH = px(23);
  const int textRoomW = std::max(px(40), workW - frameW - 2 * margin);
  const int textRoomH = std::max(px(40), workH - frameH - 2 * margin - gap - buttonH);
  // Lines wrap at half the work area's width, as a message box's do.
  const int wrapW = std::min(textRoomW, std::max(px(200), workW / 2));

  RECT measured{0, 0, wrapW, 0};
  bool fits = false;
  if (text.size() <= kMeasureLimit) {
    HDC dc = GetDC(dlg);
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
    fits = measured.right <= textRoomW && measured.bottom <= textRoomH;
  }

  HWND textControl = nullptr;
  int textW = 0, textH = 0;
  if (fits) {
    textControl = AddControl(dlg, L"STATIC", utf8, SS_LEFT | SS_NOPREFIX, kAnnouncementTextId, font);
    textW = std::max<int>(measured.right, 1);
    textH = std::max<int>(measured.bottom, 1);
  } else {
    // Sized before it takes the text: every resize would break the lines anew.
    textW = std::min(textRoomW, wrapW + SystemMetricForDpi(SM_CXVSCROLL, px.dpi) + px(12));
    textH = textRoomH;
    textControl = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY, margin,
        margin, textW, textH, dlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAnnouncementTextId)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(textControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(textControl, EM_SETLIMITTEXT, 0, 0);  // no limit
    HDC dc = GetDC(dlg);
    HGDIOBJ old = SelectObject(dc, font);
    SetWindowTextW(textControl, WrappedForEdit(dc, text, wrapW).c_str());
    SelectObject(dc, old);
    ReleaseDC(dlg, dc);
  }
  HWND ok = AddControl(dlg, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, font);

  const int clientW = std::max(textW, buttonW) + 2 * margin;
  const int buttonTop = margin + textH + gap;
  const int clientH = buttonTop + buttonH + margin;
  if (fits) MoveWindow(textControl, margin, margin, textW, textH, FALSE);
  MoveWindow(ok, (clientW - buttonW) / 2, buttonTop, buttonW, buttonH, FALSE);
  const int w = std::min(clientW + frameW, workW), h = std::min(clientH + frameH, workH);
  SetWindowPos(dlg, HWND_TOPMOST, work.left + (workW - w) / 2, work.top + (workH - h) / 2, w, h,
               0);

  SendMessageA(dlg, DM_SETDEFID, IDOK, 0);
  SetFocus(ok);
}

INT_PTR CALLBACK AnnouncementProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      LayOutAnnouncement(dlg, *reinterpret_cast<const std::string*>(lp));
      // A program in the background is often refused the foreground; the box
      // then flashes until the user turns to it.
      SetForegroundWindow(dlg);
      if (GetForegroundWindow() != dlg) {
        FLASHWINFO flash{sizeof flash, dlg, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
      }
      return FALSE;  // the focus is on OK
    }
    case WM_COMMAND:
      // OK, Enter, Esc and the close box all answer it.
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

// "Text files (*.txt)|*.txt|All (*.*)|*.*" in the zero-separated, doubly
// zero-ended form the open dialog takes.
std::string ToDialogFilter(const std::string& filter) {
  std::string out = filter;
  std::replace(out.begin(), out.end(), '|', '\0');
  out.append(2, '\0');
  return out;
}

}  // namespace

void RealDialogs::ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) {
  ModalScope modal;
  // Errors can come from timers while the user works elsewhere, so the box
  // asks to come to the front.
  MessageBoxW(ApplicationWindow(), Widen(CP_UTF8, text).c_str(), Widen(CP_UTF8, caption).c_str(),
              MB_OK | MB_SETFOREGROUND | IconFlag(icon));
}

bool RealDialogs::Confirm(const std::string& text) {
  ModalScope modal;
  return RunDialog(ConfirmProc, reinterpret_cast<LPARAM>(&text), 0) == IDYES;
}

void RealDialogs::Announce(const std::string& text) {
  ModalScope modal;
  // A taskbar button of its own: it can be found and flashes when the
  // program is not allowed to bring it to the front.
  RunDialog(AnnouncementProc, reinterpret_cast<LPARAM>(&text), WS_EX_TOPMOST | WS_EX_APPWINDOW);
}

namespace {

// The input box: the prompt over a one-line edit, OK and Cancel under it on
// the right, centred on the screen.
constexpr int kInputPromptId = 102;
constexpr int kInputEditId = 103;

struct InputBoxState {
  const std::string* caption;
  const std::string* prompt;
  std::string text;
  int maxLength;
};

void LayOutInputBox(HWND dlg, const InputBoxState& state) {
  const DialogScale px(dlg);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));
  SetTextUtf8(dlg, *state.caption);
  const int margin = px(8), clientW = px(300), buttonW = px(75), buttonH = px(23), editH = px(21),
            labelH = px(16);
  HWND label = AddControl(dlg, L"STATIC", *state.prompt, SS_LEFT | SS_NOPREFIX, kInputPromptId, font);
  HWND edit = AddControl(dlg, L"EDIT", state.text, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP,
                         kInputEditId, font);
  SendMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(std::max(state.maxLength, 1)), 0);
  HWND ok = AddControl(dlg, L"BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, font);
  HWND cancel = AddControl(dlg, L"BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, font);

  const int editTop = margin + labelH + px(4);
  const int buttonsTop = editTop + editH + px(12);
  const int clientH = buttonsTop + buttonH + margin;
  MoveWindow(label, margin, margin, clientW - 2 * margin, labelH, FALSE);
  MoveWindow(edit, margin, editTop, clientW - 2 * margin, editH, FALSE);
  MoveWindow(cancel, clientW - margin - buttonW, buttonsTop, buttonW, buttonH, FALSE);
  MoveWindow(ok, clientW - 2 * (margin + buttonW) + margin, buttonsTop, buttonW, buttonH, FALSE);

  SizeAndCentre(dlg, clientW, clientH, px.dpi);
  SendMessageA(dlg, DM_SETDEFID, IDOK, 0);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK InputBoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dlg, DWLP_USER, lp);
      LayOutInputBox(dlg, *reinterpret_cast<const InputBoxState*>(lp));
      return FALSE;  // the focus is on the edit
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dlg, DWLP_USER));
        // A pair cut by the length limit is not kept half.
        state->text = GetTextUtf8(GetDlgItem(dlg, kInputEditId));
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    default: break;
  }
  return FALSE;
}

}  // namespace

std::string RealDialogs::InputBox(NativeWindow owner, const std::string& caption,
                                  const std::string& prompt, const std::string& text,
                                  int maxLength) {
  ModalScope modal;
  InputBoxState state{&caption, &prompt, text, maxLength};
  const INT_PTR result = RunDialog(InputBoxProc, reinterpret_cast<LPARAM>(&state), 0,
                                   owner ? static_cast<HWND>(owner) : ApplicationWindow());
  return result == IDOK ? state.text : text;
}

YesNoCancel RealDialogs::AskYesNoCancel(NativeWindow owner, const std::string& text) {
  // Modal to the whole program like every other box: otherwise a second Exit
  // from the tray would ask the question a second time over the first.
  ModalScope modal;
  const HWND window = owner ? static_cast<HWND>(owner) : ApplicationWindow();
  switch (MessageBoxW(window, Widen(CP_UTF8, text).c_str(), L"Confirm", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return YesNoCancel::Yes;
    case IDNO: return YesNoCancel::No;
    default: return YesNoCancel::Cancel;
  }
}

namespace {

using FileDialogFunction = BOOL (*)(OPENFILENAMEW*, DWORD*);

// The path a dialog gave back. With several files chosen the buffer holds
// the folder, then each name, each ended by a zero; the first name is taken.
std::wstring ChosenPath(const std::vector<wchar_t>& file, WORD fileOffset) {
  const std::wstring first = file.data();
  if (fileOffset == 0 || fileOffset <= first.size() || fileOffset >= file.size()) return first;
  std::wstring folder = first;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + std::wstring(file.data() + fileOffset);
}

bool RunFileDialog(FileDialogFunction dialog, DWORD flags, const FileDialogRequest& request,
                   std::string& chosenPath) {
  ModalScope modal;
  const std::wstring filter = Widen(CP_ACP, ToDialogFilter(request.filter));
  const std::wstring title = Widen(CP_ACP, request.title), defaultExt = Widen(CP_ACP, request.defaultExt);
  std::vector<wchar_t> file(32768, L'\0');
  DWORD dialogError = 0;
  WORD fileOffset = 0;
  auto run = [&](const std::wstring& initial) {
    std::fill(file.begin(), file.end(), L'\0');
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner ? static_cast<HWND>(request.owner) : ApplicationWindow();
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = flags;
    const bool chosen = dialog(&ofn, &dialogError) != 0;
    fileOffset = ofn.nFileOffset;
    return chosen;
  };
  bool chosen = run(Widen(CP_ACP, request.initialFile));
  // A stored file name the dialog cannot take would otherwise end the dialog
  // before the user sees it; open it afresh without one.
  if (!chosen && dialogError != 0 && !request.initialFile.empty()) chosen = run({});
  if (!chosen) return false;
  const std::wstring path = (flags & OFN_ALLOWMULTISELECT) ? ChosenPath(file, fileOffset) : file.data();
  // Pendra opens files by their path in the code page.
  const std::optional<std::string> ansi = AnsiPath(path);
  if (!ansi) throw Error(NotInCodePage("The file " + Narrow(CP_UTF8, path)));
  chosenPath = *ansi;
  return true;
}

}  // namespace

bool RealDialogs::OpenFile(const FileDialogRequest& request, std::string& chosenPath) {
  DWORD flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (request.allowMultiSelect) flags |= OFN_ALLOWMULTISELECT;
  if (request.fileMustExist) flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  return RunFileDialog(OpenFileDialog, flags, request, chosenPath);
}

bool RealDialogs::SaveFile(const FileDialogRequest& request, std::string& chosenPath) {
  return RunFileDialog(SaveFileDialog,
                       OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                           OFN_NOCHANGEDIR,
                       request, chosenPath);
}

bool RealDialogs::PickFont(NativeWindow owner, FontSpec& font) {
  ModalScope modal;
  HWND ownerWindow = owner ? static_cast<HWND>(owner) : ApplicationWindow();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  LOGFONTA lf{};
  lf.lfHeight = font.size > 0 ? -MulDiv(font.size, dpi, 72) : 0;
  lf.lfWeight = font.style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.style.italic;
  lf.lfUnderline = font.style.underline;
  lf.lfStrikeOut = font.style.strikeOut;
  lf.lfCharSet = DEFAULT_CHARSET;
  font.name.copy(lf.lfFaceName, sizeof lf.lfFaceName - 1);

  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = ownerWindow;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = static_cast<COLORREF>(font.color) & 0xFFFFFF;
  if (!ChooseFontDialog(&cf)) return false;

  font.name = lf.lfFaceName;
  font.size = cf.iPointSize > 0 ? (cf.iPointSize + 5) / 10 : MulDiv(std::abs(lf.lfHeight), 72, dpi);
  font.color = static_cast<int>(cf.rgbColors);
  font.style = {lf.lfWeight >= FW_SEMIBOLD, lf.lfItalic != 0, lf.lfUnderline != 0,
                lf.lfStrikeOut != 0};
  return true;
}

namespace {

// One find dialog per owner. The record and its text buffer must outlive the
// modeless dialog, so they stay for the run and are reused.
struct FindDialogState {
  FINDREPLACEA find{};
  char text[256]{};
  HWND dialog = nullptr;
};

}  // namespace

void RealDialogs::ShowFind(NativeWindow owner, const std::string& text) {
  static std::map<NativeWindow, std::unique_ptr<FindDialogState>> states;
  auto& state = states[owner];
  if (!state) state = std::make_unique<FindDialogState>();
  std::fill(std::begin(state->text), std::end(state->text), '\0');
  // A long selection is searched for by its beginning, never cut inside a
  // character.
  const std::string_view beginning = AnsiCodePage().Cut(text, sizeof state->text - 1);
  beginning.copy(state->text, beginning.size());
  if (state->dialog && IsWindow(state->dialog)) {
    SetDlgItemTextA(state->dialog, edt1, state->text);
    ShowWindow(state->dialog, SW_SHOW);
    SetForegroundWindow(state->dialog);
    return;
  }
  FINDREPLACEA& find = state->find;
  find = FINDREPLACEA{};
  find.lStructSize = sizeof find;
  find.hwndOwner = static_cast<HWND>(owner);
  find.Flags = FR_DOWN | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD | FR_HIDEUPDOWN;
  find.lpstrFindWhat = state->text;
  find.wFindWhatLen = sizeof state->text;
  state->dialog = FindTextDialog(&find);
}

std::string RealPrinter::DefaultPrinter() { return DefaultPrinterName(); }

// ---- Sound, shell, help -----------------------------------------------------

namespace {

class RealShell final : public IShell {
 public:
  void Open(NativeWindow owner, const std::string& target) override {
    ShellExecuteA(owner ? static_cast<HWND>(owner) : ApplicationWindow(), "open", target.c_str(),
                  "", "", SW_SHOWNORMAL);
  }
};

class RealHelp final : public IHelp {
 public:
  void ShowContents(const std::string& helpFile) override {
    WinHelpA(ApplicationWindow(), helpFile.c_str(), HELP_FINDER, 0);
  }
};

class RealDisplay final : public IDisplay {
 public:
  SystemColors Colors() override {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    const bool high = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return {high, static_cast<int>(GetSysColor(COLOR_WINDOWTEXT)),
            static_cast<int>(GetSysColor(COLOR_WINDOW))};
  }
};

std::wstring ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return {};
    if (got < buffer.size()) return buffer.substr(0, got);
    buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
  }
}

}  // namespace

void InstallRealServices() {
  static RealClock clock;
  static RealLocale locale;
  static RealDialogs dialogs;
  static SoundPlayer sound;
  static RealShell shell;
  static RealHelp help;
  static RealPrinter printer;
  static RealDisplay display;
  static WinRegistry registry;
  static WinRegistry machine(RegistryRoot::LocalMachine);

  Services& s = Svc();
  s.clock = &clock;
  s.locale = &locale;
  s.dialogs = &dialogs;
  s.sound = &sound;
  s.shell = &shell;
  s.help = &help;
  s.printer = &printer;
  s.display = &display;
  s.registry = &registry;
  s.machine = &machine;
  // The files beside the program are opened by a path in the code page: the
  // short one where the folder's name does not fit it. Where neither fits,
  // the path keeps "?" for what is lost, and the start tells why nothing can
  // be saved (TellReadOnlyProgramFolder).
  const std::wstring exe = ExecutablePath();
  s.exePath = AnsiPath(exe).value_or(Narrow(CP_ACP, exe));
  s.programFolder = s.exePath.substr(0, FileNameStart(s.exePath, AnsiCodePage()));
}

}  // namespace pendra
