// Every window with typical content at the DPI of the run: scripts/test.sh runs
// these tests at 96 DPI (100 %) and again at 192 DPI (200 %). No control may lie
// outside its parent or on a sibling, and every caption must read whole. Each
// window is also saved as a picture for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "about/about_box_win.h"
#include "about/about_texts.h"
#include "app/tray_window_win.h"
#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "notes/tab_list_dialog_win.h"
#include "platform/application_win.h"
#include "platform/dpi_win.h"
#include "platform/real_services_win.h"
#include "reminders/announcement.h"
#include "reminders/reminder_window_win.h"
#include "settings/list_file.h"
#include "tests/win/fresh_forms_test_win.h"
#include "tests/win/layout_check_win.h"
#include "tests/win/test_env_win.h"
#include "todo/todo_window_win.h"

namespace pendra::test {
namespace {

class DpiLayoutTest : public FreshFormsTest {
 protected:
  // Lays the window out, saves its picture as <name>-<dpi> (unless the name
  // is empty) and reports every fault of its layout.
  static void ExpectWhole(HWND window, UINT dpi, const std::string& name,
                          Checks checks = Checks::All) {
    PumpMessages();
    if (!name.empty()) SaveScreenshot(window, name + "-" + std::to_string(dpi));
    for (const std::string& fault : LayoutFaults(window, dpi, checks))
      ADD_FAILURE() << name << " at " << dpi << " DPI: " << fault;
  }
  static void ExpectWhole(Form& form, const std::string& name) {
    ExpectWhole(form.Handle(), form.Dpi(), name);
  }
  static void WriteFile(const std::string& name, const Lines& lines) {
    WriteFileBytes(TestEnv().folder + name, JoinLines(lines));
  }
};

const Lines kReminders[] = {
    {"9:30:00 AM-6/20/2000--Dentist, bring the insurance card",
     "1:15:00 PM-6/23/2000--Call the garage about the brakes"},
    {"8:00:00 AM-Monday--Team meeting", "6:30:00 PM-Thursday--Choir practice"},
    {"7:00:00 AM-6/19/2000--Take the tablets"},
    {"10:00:00 AM-1--Pay the rent", "9:00:00 AM-15--Water the plants"},
};
const Lines kTabs = {"Home", "Work", "Shopping", "Recipes", "Ideas", "Travel", "Books", "Music", "Misc"};
const char* const kPage =
    "Call Anna about the weekend\r\nhttp://www.example.com/timetable\r\n\r\n"
    "Milk, bread, apples, coffee\r\n";

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
  // At its smallest size every caption still reads whole (the window may be
  // made narrower than its entry panels).
  SetWindowPos(frm.Handle(), nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
  for (Kind k : kAllKinds) {
    frm.GoToPage(k);
    ExpectWhole(frm.Handle(), frm.Dpi(), "", Checks::CaptionsOnly);
  }
}

TEST_F(DpiLayoutTest, LauncherAndTrayIcon) {
  std::vector<HICON> icons;
  TrayApi().notifyIcon = [&](DWORD, NOTIFYICONDATAA* data) {
    icons.push_back(data->hIcon);
    return TRUE;
  };
  {
    TfrmTray tray;
    tray.WaitForIconAdd();
    ExpectWhole(tray, "launcher");
    const RECT r = WindowRectOf(tray.Handle());
    EXPECT_EQ(r.right - r.left, tray.Px(32));
    EXPECT_EQ(r.bottom - r.top, tray.Px(32));
    // The tray gets the icon's picture of the notification area's size.
    ASSERT_FALSE(icons.empty());
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icons[0], &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, GetSystemMetrics(SM_CXSMICON));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  TrayApi() = TrayPlatform{};
}

TEST_F(DpiLayoutTest, NotebookAndItsTabListDialog) {
  WriteFile("Tabs.lst", kTabs);
  WriteFileBytes(TestEnv().folder + "Home.pnd", kPage);
  TfrmPendra notebook;
  notebook.popupMenu = [](HMENU, POINT) {};
  TfrmAddTabs dialog(notebook);
  Forms().frmPendra = &notebook;
  Forms().frmAddTabs = &dialog;
  notebook.Show();
  notebook.Timer1Timer();
  ExpectWhole(notebook, "notebook");
  dialog.Show();
  SendMessageA(dialog.Item(TfrmAddTabs::ListBox1), LB_SETCURSEL, 1, 0);
  ExpectWhole(dialog, "tab-list");
}

TEST_F(DpiLayoutTest, EditorAndQuickNotes) {
  TfrmEditor editor;
  editor.Show();
  editor.redtEditor().SetText(kPage);
  ExpectWhole(editor, "editor");
  TfrmQuickie quickie;
  quickie.Show();
  quickie.RichEditQuick().SetText(kPage);
  ExpectWhole(quickie, "quick-notes");
}

TEST_F(DpiLayoutTest, ToDoListAndItsAddDialog) {
  WriteFile("ToDo.lst", {"6/19/2000 Buy stamps", "6/21/2000 Return the drill to Peter",
                         "6/30/2000 Renew the car insurance"});
  TfrmToDo toDo;
  TfrmAddToDo add(toDo);
  Forms().frmToDo = &toDo;
  Forms().frmAddToDo = &add;
  toDo.Show();
  ExpectWhole(toDo, "todo");
  toDo.btnAddClick();
  SetText(add.edtToDo(), "Book the hotel");
  ExpectWhole(add, "todo-add");
}

TEST_F(DpiLayoutTest, AboutBox) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  Svc().exePath = exe;
  MemoryRegistry& machine = TestEnv().machine;
  machine.WriteText(kWindowsNtKey, "RegisteredOwner", "Ann Example");
  machine.WriteText(kWindowsNtKey, "RegisteredOrganization", "Example Ltd");
  machine.WriteText(kWindowsNtKey, "ProductName", "Windows 10 Pro");
  machine.WriteText(kWindowsNtKey, "CurrentBuildNumber", "19045");
  TAboutBox about;
  about.Show();
  ExpectWhole(about, "about");
}

// The boxes of the real dialogs seam are looked at from a timer, which their
// modal loops go on dispatching, and then closed.
std::function<void(HWND)> g_look;
bool g_looked = false;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  char cls[16] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  if (!g_looked) {
    g_looked = true;
    g_look(box);
  }
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

void WhileOpen(const std::string& name, const std::function<void()>& open) {
  g_looked = false;
  g_look = [&](HWND box) {
    PumpMessages();
    SaveScreenshot(box, name + "-" + std::to_string(WindowDpi(box)));
    for (const std::string& fault : LayoutFaults(box, WindowDpi(box)))
      ADD_FAILURE() << name << ": " << fault;
  };
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtBox);
  open();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_looked) << name;
}

TEST_F(DpiLayoutTest, ConfirmAnnouncementAndInputBoxes) {
  RealDialogs dialogs;
  // The texts the program shows, so the pictures can stand in the user's guide.
  WhileOpen("confirm", [&] {
    dialogs.Confirm("Are you sure that you want to remove all your Reminders from this page?");
  });
  WhileOpen("announcement", [&] {
    dialogs.Announce(ComposeAnnouncement(Kind::Weekly, "Team meeting", Svc().locale->Formats(),
                                         Svc().clock->Now(), Words::Standard, MessageSpacing::EmptyLine));
  });
  WhileOpen("input", [&] { dialogs.InputBox(nullptr, "Add New Tab", "New Tab Name", "Garden", 255); });
}

// On a move to a monitor of another DPI a window scales its controls and
// fonts, and its layout stays whole. The DPI change is simulated.
class DpiChangeTest : public DpiLayoutTest {
 protected:
  // Heights of the window's visible controls and of their fonts.
  struct Sizes {
    std::map<HWND, int> controls, fonts;
  };
  static Sizes Measure(HWND window) {
    Sizes sizes;
    Collect(window, sizes);
    return sizes;
  }
  static void Collect(HWND parent, Sizes& sizes) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (!IsWindowVisible(c)) continue;
      char cls[32] = {};
      GetClassNameA(c, cls, sizeof cls);
      // Toolbars keep the system's pictures; rich edit fonts are set in points.
      if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0 || std::string(cls).find("RICHEDIT") == 0 ||
          std::string(cls).find("RichEdit") == 0)
        continue;
      const RECT r = WindowRectOf(c);
      sizes.controls[c] = r.bottom - r.top;
      if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0))) {
        LOGFONTA lf{};
        GetObjectA(font, sizeof lf, &lf);
        sizes.fonts[c] = std::abs(lf.lfHeight);
      }
      if (lstrcmpiA(cls, DATETIMEPICK_CLASSA) != 0 && lstrcmpiA(cls, "ComboBox") != 0) Collect(c, sizes);
    }
  }

  // Moves the window to one and a half times its DPI, as the system does,
  // and checks it there.
  static void ExpectScaled(Form& form, const std::string& name) {
    PumpMessages();
    const UINT from = form.Dpi(), to = from * 3 / 2;
    const Sizes before = Measure(form.Handle());
    RECT r = WindowRectOf(form.Handle());
    r.right = r.left + MulDiv(r.right - r.left, 3, 2);
    r.bottom = r.top + MulDiv(r.bottom - r.top, 3, 2);
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
    PumpMessages();
    EXPECT_EQ(form.Dpi(), to);
    const Sizes after = Measure(form.Handle());
    for (const auto& [control, height] : before.controls)
      if (height > 2 && after.controls.count(control))
        EXPECT_GE(after.controls.at(control) * 10, height * 13) << name << ": " << GetText(control);
    for (const auto& [control, height] : before.fonts)
      if (after.fonts.count(control))
        EXPECT_GE(after.fonts.at(control) * 10, height * 13) << name << " font: " << GetText(control);
    ExpectWhole(form.Handle(), to, name + "-moved");
  }
};

TEST_F(DpiChangeTest, EveryWindowScalesOnAMoveToAnotherDpi) {
  for (Kind k : kAllKinds) WriteFile(Info(k).fileName, kReminders[Index(k)]);
  WriteFile("ToDo.lst", {"6/19/2000 Buy stamps"});
  WriteFile("Tabs.lst", kTabs);
  TrayApi().notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
  {
    TfrmTray tray;
    const UINT dpi = tray.Dpi();
    ExpectScaled(tray, "launcher");
    const RECT r = WindowRectOf(tray.Handle());
    EXPECT_EQ(r.right - r.left, ScaleToDpi(32, dpi * 3 / 2));
  }
  TrayApi() = TrayPlatform{};

  TfrmMain reminders;
  reminders.Show();
  ExpectScaled(reminders, "reminder");
  TfrmPendra notebook;
  notebook.popupMenu = [](HMENU, POINT) {};
  TfrmAddTabs tabList(notebook);
  Forms().frmPendra = &notebook;
  Forms().frmAddTabs = &tabList;
  notebook.Show();
  ExpectScaled(notebook, "notebook");
  tabList.Show();
  ExpectScaled(tabList, "tab-list");
  TfrmToDo toDo;
  TfrmAddToDo add(toDo);
  Forms().frmToDo = &toDo;
  Forms().frmAddToDo = &add;
  toDo.Show();
  ExpectScaled(toDo, "todo");
  add.Show();
  ExpectScaled(add, "todo-add");
  TAboutBox about;
  about.Show();
  ExpectScaled(about, "about");
}

}  // namespace
}  // namespace pendra::test
