#pragma once
// Drives the real reminder window's list commands by messages, with the seams
// faked and a fresh program folder and registry tree per test.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "reminders/reminder_window_win.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {

using Rows = std::vector<std::string>;

class ReminderCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { TestEnv().Reset(); }
  void TearDown() override {
    frm_.reset();
    PumpMessages();
  }

  // Creates the window (again, as a restart does).
  TfrmMain& Open() {
    frm_.reset();
    frm_ = std::make_unique<TfrmMain>();
    frm_->EnsureControls();
    PumpMessages();
    return *frm_;
  }
  TfrmMain& Frm() { return *frm_; }
  const ReminderPage& P(Kind k) { return frm_->PageOf(k); }

  static std::string ListPath(Kind k) { return TestEnv().folder + Info(k).fileName; }
  static std::string Crlf(const Rows& rows) {
    std::string s;
    for (const auto& r : rows) s += r + "\r\n";
    return s;
  }
  static void WriteList(Kind k, const Rows& rows) { WriteFileBytes(ListPath(k), Crlf(rows)); }
  static std::string FileOf(Kind k) { return ReadFileBytes(ListPath(k)); }

  Rows Shown(Kind k) {
    Rows rows;
    for (int i = 0; i < P(k).list->Count(); ++i) rows.push_back(P(k).list->Item(i));
    return rows;
  }
  int Selected(Kind k) { return P(k).list->ItemIndex(); }
  // A user's click on a row: the selection moves and the parent is told.
  void Choose(Kind k, int row) {
    HWND list = P(k).list->Handle();
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(ControlId(k, Ctl::list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    PumpMessages();
  }
  void Menu(Kind k, Mnu m) { MenuCommand(frm_->Handle(), MenuId(k, m)); }
  void DeleteKey(Kind k) { PressKey(P(k).list->Handle(), VK_DELETE); }
  void Type(HWND edit, const std::string& text) {
    SetText(edit, text);
    PumpMessages();
  }
  bool ItemOn(Kind k, Mnu m) { return MenuItemEnabled(P(k).popup, MenuId(k, m)); }
  bool ItemChecked(Kind k, Mnu m) { return MenuItemChecked(P(k).popup, MenuId(k, m)); }

  // The six entry buttons and the six matching menu items, which change together.
  enum class Entry { On, Off, Mixed };
  Entry EntryControls(Kind k) {
    const ReminderPage& p = P(k);
    int on = 0;
    for (HWND b : {p.btnRemove, p.btnEdit, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom})
      on += IsWindowEnabled(b) ? 1 : 0;
    for (Mnu m : {Mnu::DeleteMessage, Mnu::EditMessage, Mnu::MoveUp, Mnu::MoveDown,
                  Mnu::MoveToTop, Mnu::MoveToBottom})
      on += ItemOn(k, m) ? 1 : 0;
    return on == 12 ? Entry::On : on == 0 ? Entry::Off : Entry::Mixed;
  }

  static Rows Errors() {
    Rows texts;
    for (const auto& m : TestEnv().dialogs.Errors()) {
      EXPECT_EQ(m.caption, "Pendra");
      texts.push_back(m.text);
    }
    return texts;
  }

  static std::string RegistryText(const std::string& key, const std::string& name) {
    std::string out;
    return Svc().registry->Read(key, name, out) == ValueKind::Text ? out : "<missing>";
  }

  static SYSTEMTIME PickerValue(HWND dtp) {
    SYSTEMTIME st{};
    SendMessageA(dtp, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
  }

  std::unique_ptr<TfrmMain> frm_;
};

}  // namespace pendra::test
