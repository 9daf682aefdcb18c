#pragma once
// A reminder window on the fake seams, driven by real messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "reminders/reminder_window_win.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {

class ReminderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    Clock().Set(2000, 6, 19, 13, 5, 0);  // a Monday
  }
  void TearDown() override {
    TestEnv().dialogs.duringBox = nullptr;
    frm_.reset();
  }

  static Env& E() { return TestEnv(); }
  static FakeClock& Clock() { return TestEnv().clock; }
  static FakeDialogs& Dialogs() { return TestEnv().dialogs; }

  // The window with its controls built at once, as a first show builds them.
  TfrmMain& Create() {
    frm_ = std::make_unique<TfrmMain>();
    frm_->EnsureControls();
    return *frm_;
  }
  // The window as the program creates it at start: controls not built yet.
  TfrmMain& CreateUnshown() {
    frm_.reset();
    frm_ = std::make_unique<TfrmMain>();
    return *frm_;
  }
  // A restart: the window goes and a new one is created from the stored state.
  TfrmMain& Restart() {
    frm_.reset();
    return Create();
  }
  TfrmMain& Frm() { return *frm_; }
  HWND Wnd() { return frm_->Handle(); }
  const ReminderPage& P(Kind kind) { return frm_->PageOf(kind); }

  static std::string PathOf(Kind kind) { return TestEnv().folder + Info(kind).fileName; }
  static void WriteList(Kind kind, const Lines& lines) {
    WriteFileBytes(PathOf(kind), JoinLines(lines));
  }
  static Lines FileLines(Kind kind) { return SplitLines(ReadFileBytes(PathOf(kind))); }
  Lines Rows(Kind kind) {
    Lines rows;
    for (int i = 0; i < P(kind).list->Count(); ++i) rows.push_back(P(kind).list->Item(i));
    return rows;
  }

  static TRegIniFile Events() { return TRegIniFile(*Svc().registry, kReminderEventsKey); }
  static std::string EventsValue(const std::string& section, const std::string& ident) {
    return Events().ReadString(section, ident, "<missing>");
  }

  // The stored formats and what each list was written with, without the
  // contents they hold for.
  static std::string FormatsRecord() {
    const std::string value = EventsValue("Last Boot", "Formats");
    return value.substr(0, value.find(";content="));
  }

  // A value of the wrong type (not text), as another program could leave it.
  static void WriteDword(const std::string& section, const std::string& name, DWORD value) {
    HKEY key = nullptr;
    const std::string path = std::string(kReminderEventsKey) + "\\" + section;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }

  void Tick(UINT_PTR timer) { SendMessageA(frm_->ClockWindow(), WM_TIMER, timer, 0); }
  // One second of the clock with every one-second timer delivered.
  void TickSecond() {
    for (UINT_PTR t : {TfrmMain::tmrTime, TfrmMain::tmrDayEvent, TfrmMain::tmrDailyEvent,
                       TfrmMain::tmrMonth})
      Tick(t);
  }
  void RunSeconds(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      Clock().AdvanceSeconds(1);
      TickSecond();
    }
  }

  // Texts of the announcement boxes (the boxes without an icon).
  static std::vector<std::string> Announcements() {
    std::vector<std::string> out;
    for (const auto& m : Dialogs().shown)
      if (m.icon == MsgIcon::None) out.push_back(m.text);
    return out;
  }
  static std::vector<std::string> ErrorTexts() {
    std::vector<std::string> out;
    for (const auto& m : Dialogs().Errors()) out.push_back(m.text);
    return out;
  }

  static void SetPicker(HWND picker, int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  static SYSTEMTIME PickerValue(HWND picker) {
    SYSTEMTIME st{};
    SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
  }
  // A change of an edit as the user's typing makes it (EN_CHANGE follows).
  static void Type(HWND edit, const std::string& text) {
    SetWindowTextA(edit, text.c_str());
    PumpMessages();
  }
  static bool Enabled(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }
  bool ItemEnabled(Kind kind, Mnu item) { return MenuItemEnabled(P(kind).popup, MenuId(kind, item)); }
  bool ItemChecked(Kind kind, Mnu item) { return MenuItemChecked(P(kind).popup, MenuId(kind, item)); }

  std::unique_ptr<TfrmMain> frm_;
};

// Announcement texts as the user reads them.
inline std::string Banner(Kind kind) { return Info(kind).banner; }
inline std::string Announcement(Kind kind, const std::string& date, const std::string& time,
                                const std::string& message, bool singleBreak = false) {
  return Banner(kind) + "\r\rToday is... " + date + "\r The Time is... " + time +
         (singleBreak ? "\r" : "\r\r") + message;
}

}  // namespace pendra::test
