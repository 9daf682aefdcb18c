// The keyboard in the reminder window, through the program's own message
// loop: Tab, the arrow keys, the access keys, Enter and Ctrl+Tab.
#include <windows.h>

#include "platform/message_loop_win.h"
#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

class KeyboardTest : public ReminderWindowTest {
 protected:
  // A key pressed where the focus is, as the keyboard sends it.
  static void Key(WPARAM vk) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16;
    PostMessageA(GetFocus(), WM_KEYDOWN, vk, scan | 1);
    PostMessageA(GetFocus(), WM_KEYUP, vk, scan | static_cast<LPARAM>(0xC0000001u));
    Pump();
  }
  static void AltKey(char letter) {
    PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(letter), (1 << 29) | 1);
    Pump();
  }
  static void CtrlKey(WPARAM vk) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Key(vk);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchProgramMessage(msg);
  }
  void Select(Kind kind, int row) {
    HWND list = P(kind).list->Handle();
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(GetParent(list), WM_COMMAND,
                 MAKEWPARAM(ControlId(kind, Ctl::list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
};

TEST_F(KeyboardTest, TabArrowsAccessKeysEnterAndCtrlTabWorkAsInADialog) {
  WriteList(Kind::OneTime, {"9:00:00 AM-6/20/2000--first", "9:00:00 AM-6/21/2000--second"});
  Create();
  Frm().Show();
  const ReminderPage& one = P(Kind::OneTime);
  // Shown, the window puts the focus on the first control Tab reaches.
  EXPECT_EQ(GetFocus(), one.editMessage);
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), one.dtpSchedule);
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), one.dtpTime);

  // Enter in the message edit still runs OK.
  SetFocus(one.editMessage);
  Type(one.editMessage, "Call the bank");
  Key(VK_RETURN);
  EXPECT_EQ(Rows(Kind::OneTime).size(), 3u);
  EXPECT_EQ(FileLines(Kind::OneTime).size(), 3u);
  EXPECT_EQ(GetText(one.editMessage), "");

  // Alt+R presses "&Remove Message ".
  Select(Kind::OneTime, 0);
  AltKey('r');
  EXPECT_EQ(Rows(Kind::OneTime).size(), 2u);

  // The arrow keys move within the panel's buttons, past the disabled ones.
  SetFocus(one.btnClearAll);
  Key(VK_DOWN);
  EXPECT_EQ(GetFocus(), one.btnSound);

  // Ctrl+Tab turns the page and the focus goes with it; the access keys of
  // the page turned away no longer act.
  Select(Kind::OneTime, 0);
  CtrlKey(VK_TAB);
  EXPECT_EQ(Frm().ActivePage(), Kind::Weekly);
  EXPECT_TRUE(Frm().TabHighlighted(Kind::Weekly));
  EXPECT_EQ(GetFocus(), P(Kind::Weekly).editMessage);
  AltKey('r');
  EXPECT_EQ(Rows(Kind::OneTime).size(), 2u);

  // Enter on a focused button presses it: "&Close" hides the window.
  SetFocus(P(Kind::Weekly).btnHide);
  Key(VK_RETURN);
  EXPECT_FALSE(IsWindowVisible(Wnd()));
  EXPECT_TRUE(ErrorTexts().empty());
}

}  // namespace
}  // namespace pendra::test
