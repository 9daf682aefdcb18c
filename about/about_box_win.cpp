#include "about/about_box_win.h"

#include <commctrl.h>

#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/on_demand_win.h"
#include "platform/services.h"

namespace pendra {

namespace {

// Design values, in pixels at 96 DPI; the box scales them to its DPI.
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 272;
constexpr int kIconSize = 40;
// The surrounding panel, whose left edge the credit panel keeps 5 pixels from.
constexpr int kPanelLeft = 8;
constexpr int kPanelTop = 8;
constexpr int kPanelHeight = 216;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

}  // namespace

// ---------------------------------------------------------------------------
// TVersionInfo

TVersionInfo::TVersionInfo() : TVersionInfo(Svc().exePath) {}

TVersionInfo::TVersionInfo(std::string executableFileName)
    : executableFileName_(std::move(executableFileName)) {
  LoadRecord();
}

void TVersionInfo::LoadRecord() {
  record_.Clear();
  if (executableFileName_.empty()) return;
  // The running program's own record is read from its loaded image; another
  // file is mapped for the reading.
  char ownPath[MAX_PATH] = {};
  const DWORD ownLength = GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  const bool own = ownLength > 0 && ownLength < MAX_PATH &&
                   lstrcmpiA(ownPath, executableFileName_.c_str()) == 0;
  HMODULE module = own ? GetModuleHandleA(nullptr)
                       : LoadLibraryExA(executableFileName_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return;
  struct Release {
    HMODULE module;
    ~Release() {
      if (module) FreeLibrary(module);
    }
  } release{own ? nullptr : module};
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
  if (!resource) return;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (!bytes || size == 0) return;
  record_.Load(static_cast<const std::uint8_t*>(bytes), size);
}

// ---------------------------------------------------------------------------
// TAboutBox

TAboutBox::TAboutBox() { FormCreate(); }

TAboutBox::~TAboutBox() {
  if (Handle()) DestroyWindow(Handle());
  for (HFONT font : {uiFont_, nameFont_, versionFont_})
    if (font) DeleteObject(font);
  if (icon_) DestroyIcon(icon_);
}

void TAboutBox::FormCreate() {
  const SystemInfo system = Svc().machine ? ReadSystemInfo(*Svc().machine) : SystemInfo{};
  texts_ = ComposeAboutTexts(versionInfo_.Record(), system);
}

void TAboutBox::BeforeShow() {
  if (Handle()) return;
  // Centred on the screen, where it stays: nothing is refreshed later.
  RECT frame{0, 0, Px(kClientWidth), Px(kClientHeight)};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  AdjustWindowRectForDpi(&frame, style, false, exStyle, Dpi());
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWnd("TAboutBox", texts_.caption.c_str(), style, exStyle, x, y, width, height,
            ApplicationWindow(), nullptr, CS_DBLCLKS,
            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  CreateControls();
}

HWND TAboutBox::AddControl(const char* cls, const std::string& text, DWORD style, int x, int y,
                           int w, int h, int id, HFONT font) {
  HWND hwnd = CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, Px(x), Px(y),
                              Px(w), Px(h),
                              Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              Instance(), nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

void TAboutBox::CreateFonts() {
  uiFont_ = CreateScaledFont(-11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif", Dpi());
  nameFont_ = CreateScaledFont(-20, FW_BOLD, FIXED_PITCH | FF_MODERN, "Courier New", Dpi());
  versionFont_ = CreateScaledFont(-13, FW_BOLD, FIXED_PITCH | FF_MODERN, "Courier New", Dpi());
}

void TAboutBox::PlaceIcon() {
  // The icon's picture nearest the size, stretched to it.
  icon_ = static_cast<HICON>(LoadImageA(Instance(), "MAINICON", IMAGE_ICON, Px(kIconSize),
                                        Px(kIconSize), LR_DEFAULTCOLOR));
  if (icon_) SendMessageA(ProgramIcon_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  MoveWindow(ProgramIcon_, Px(20), Px(18), Px(kIconSize), Px(kIconSize), FALSE);
}

void TAboutBox::DpiChanged(UINT) {
  const HFONT old[] = {uiFont_, nameFont_, versionFont_};
  CreateFonts();
  ReplaceFont(Handle(), old[0], uiFont_);
  ReplaceFont(Handle(), old[1], nameFont_);
  ReplaceFont(Handle(), old[2], versionFont_);
  for (HFONT font : old) DeleteObject(font);
  HICON oldIcon = icon_;
  PlaceIcon();
  if (oldIcon) DestroyIcon(oldIcon);
}

void TAboutBox::CreateControls() {
  EnsureCommonControls();
  CreateFonts();

  // The layout is the design's, at 96 DPI, and AddControl scales it.
  const int clientWidth = kClientWidth;
  const DWORD label = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

  // The surrounding panel is drawn by the box itself (PaintPanel): a control
  // there would hide the box's background behind the labels.
  // The program's icon, 40 x 40.
  ProgramIcon_ = AddControl("STATIC", "", SS_ICON | SS_REALSIZECONTROL, 20, 18, kIconSize,
                            kIconSize, -1, uiFont_);
  PlaceIcon();

  ProductName_ = AddControl("STATIC", texts_.productName, label, 76, 16, clientWidth - 96, 26,
                            -1, nameFont_);
  Version_ = AddControl("STATIC", texts_.version, label, 76, 44, clientWidth - 96, 18, -1,
                        versionFont_);
  // The credit panel: 5 pixels right of the surrounding panel's left edge,
  // as wide as the client area less 20.
  Comments_ = AddControl("STATIC", texts_.comments, SS_CENTER | SS_NOPREFIX, kPanelLeft + 5, 72,
                         clientWidth - 20, 18, -1, uiFont_);
  lblRegistered_ = AddControl("STATIC", "This Program is Registered To:", label, 20, 100, 300, 16,
                              -1, uiFont_);
  lblUser_ = AddControl("STATIC", texts_.user, label, 36, 118, clientWidth - 56, 16, -1, uiFont_);
  lblCompany_ = AddControl("STATIC", texts_.company, label, 36, 136, clientWidth - 56, 16, -1,
                           uiFont_);
  lblWinVersion_ = AddControl("STATIC", texts_.winVersion, label, 20, 164, clientWidth - 40, 16,
                              -1, uiFont_);
  lblVerNumber_ = AddControl("STATIC", texts_.verNumber, label, 20, 184, clientWidth - 40, 16, -1,
                             uiFont_);

  const int buttonTop = kPanelTop + kPanelHeight + 12;
  const DWORD push = WS_TABSTOP | BS_PUSHBUTTON;
  CompanyName_ = AddControl("BUTTON", texts_.companyName, push | WS_GROUP, 8, buttonTop, 110, 25,
                            kCompanyName, uiFont_);
  SendMail_ = AddControl("BUTTON", "Send Mail", push, 124, buttonTop, 80, 25, kSendMail, uiFont_);
  btnSysInfo_ = AddControl("BUTTON", "System Information", push, 210, buttonTop, 120, 25,
                           kBtnSysInfo, uiFont_);
  OKButton_ = AddControl("BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, clientWidth - 83,
                         buttonTop, 75, 25, kOKButton, uiFont_);

  hints_.Create(Handle());
  hints_.Add(CompanyName_, "Tavrin Software Web Page");
  SetFocus(OKButton_);
}

std::string TAboutBox::HintOf(HWND control) const { return hints_.Of(control); }

void TAboutBox::OpenWithShell(const std::string& target) {
  // Whatever the shell makes of it, nothing is reported.
  if (Svc().shell) Svc().shell->Open(Handle(), target);
}

void TAboutBox::CompanyNameClick() { OpenWithShell(kMakerWebPage); }
void TAboutBox::SendMailClick() { OpenWithShell(kAuthorMail); }
void TAboutBox::btnSysInfoClick() { OpenWithShell(kSystemInformationTool); }

void TAboutBox::PaintPanel() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT panel{Px(kPanelLeft), Px(kPanelTop), Px(kClientWidth - kPanelLeft), Px(kPanelTop + kPanelHeight)};
  DrawEdge(dc, &panel, EDGE_ETCHED, BF_RECT);
  EndPaint(Handle(), &ps);
}

LRESULT TAboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PaintPanel();
    return 0;
  }
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    switch (LOWORD(wp)) {
      case kCompanyName: CompanyNameClick(); return 0;
      case kSendMail: SendMailClick(); return 0;
      case kBtnSysInfo: btnSysInfoClick(); return 0;
      // OK answers both Enter and Escape.
      case kOKButton:
      case IDCANCEL: OKButtonClick(); return 0;
      default: break;
    }
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace pendra
