// Every window with typical content at the DPI of the run: scripts/test.sh runs
// these tests at 96 DPI (100 %) and again at 192 DPI (200 %). No control may lie
// outside its parent or on a sibling, and every caption must read whole. Each
// window is also saved as a picture for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "about/about_box_win.h"
#include "app/tray_window_win.h"
#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "notes/tab_list_dialog_win.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/real_services_win.h"
#include "reminders/reminder_window_win.h"
#include "settings/list_file.h"
#include "tests/win/layout_check_win.h"
#include "tests/win/test_env_win.h"
#include "todo/todo_window_win.h"

namespace pendra::test {
namespace {

class DpiLayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    saved_ = Forms();
    Forms() = AppForms{};
  }
  void TearDown() override { Forms() = saved_; }

  // Lays the window out, saves its picture as <name>-<dpi> (unless the name
  // is empty) and reports every fault of its layout.
  static void ExpectWhole(HWND window, UINT dpi, const std::string& name) {
    PumpMessages();
    if (!name.empty()) SaveScreenshot(window, name + "-" + std::to_string(dpi));
    for (const std::string& fault : LayoutFaults(window, dpi)) ADD_FAILURE() << name << ": " << fault;
  }
  static void ExpectWhole(Form& form, const std::string& name) {
    ExpectWhole(form.Handle(), form.Dpi(), name);
  }
  // The window as on a monitor of another DPI.
  static void MoveToDpi(Form& form, UINT dpi) {
    RECT r = WindowRectOf(form.Handle());
    const UINT from = form.Dpi();
    r.right = r.left + MulDiv(r.right - r.left, static_cast<int>(dpi), static_cast<int>(from));
    r.bottom = r.top + MulDiv(r.bottom - r.top, static_cast<int>(dpi), static_cast<int>(from));
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    PumpMessages();
  }
  static void WriteFile(const std::string& name, const Lines& lines) {
    WriteFileBytes(TestEnv().folder + name, JoinLines(lines));
  }

 private:
  AppForms saved_;
};

const Lines kReminders[] = {
    {"9:30:00 AM-6/20/2000--Dentist, bring the insurance card",
     "1:15:00 PM-6/23/2000--Call the garage about the brakes"},
    {"8:00:00 AM-Monday--Team meeting", "6:30:00 PM-Thursday--Choir practice"},
    {"7:00:00 AM-6/19/2000--Take the tablets"},
    {"10:00:00 AM-1--Pay the rent", "9:00:00 AM-15--Water the plants"},
};

TEST_F(DpiLayoutTest, ReminderWindowEveryPage) {
  for (Kind k : kAllKinds) WriteFile(Info(k).fileName, kReminders[Index(k)]);
  TfrmMain frm;
  frm.Show();
  frm.tmrTimeTimer();
  SetText(frm.PageOf(Kind::OneTime).editMessage, "Renew the library books");
  for (Kind k : kAllKinds) {
    frm.GoToPage(k);
    static constexpr const char* kPageNames[] = {"one-time", "weekly", "daily", "monthly"};
    ExpectWhole(frm, std::string("reminder-") + kPageNames[Index(k)]);
  }
  // At its smallest size as well, and without the button panel.
  SetWindowPos(frm.Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
  for (Kind k : kAllKinds) {
    frm.GoToPage(k);
    ExpectWhole(frm.Handle(), frm.Dpi(), "");
  }
  ShowWindow(frm.PageOf(Kind::OneTime).panel, SW_HIDE);
  frm.GoToPage(Kind::OneTime);
  ExpectWhole(frm, "reminder-smallest-without-buttons");
}

}  // namespace
}  // namespace pendra::test
