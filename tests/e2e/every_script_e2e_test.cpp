// Lists in any script, with real keys: a reminder message, a to-do item and a
// tab name typed in Polish, Cyrillic, Japanese and an emoji are shown and
// announced whole, stored, and whole again after a restart. Under the
// Japanese code page the text is Japanese alone, which the lists keep in the
// code page as they always did.
#include <windows.h>

#include <string>

#include "app/tray_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/tab_list_dialog_win.h"
#include "reminders/reminder_page_win.h"
#include "settings/code_page.h"
#include "settings/wide_text_win.h"
#include "tests/e2e/e2e_harness.h"
#include "tests/e2e/list_box_text.h"

namespace pendra::e2e {
namespace {

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";

class EveryScriptE2e : public PendraE2eTest {
 protected:
  void SetUp() override {
    PendraE2eTest::SetUp();
    WriteRegText(std::string(kEventsKey) + "\\Last Boot", " Date", DateText(DaysFromToday(0)));
  }
  static std::wstring Wide(const std::string& utf8) { return Widen(CP_UTF8, utf8); }
  // What a list holding these lines is stored as: the code page where each
  // fits, else UTF-8 after the mark.
  static std::string Stored(const std::string& utf8Lines) {
    const CodePageText text = CodePageFromUtf8(utf8Lines);
    return text.whole ? text.bytes : "\xEF\xBB\xBF" + utf8Lines;
  }
  bool FileThere(const std::string& utf8Name) {
    return GetFileAttributesW(Wide(Utf8FromCodePage(Folder()) + utf8Name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  HWND OneTime(HWND reminders, Ctl role) { return ChildWithId(reminders, ControlId(Kind::OneTime, role)); }
  // The tab list dialog opened from the notebook, its list once filled.
  HWND TabList(PendraProcess& p, HWND& dialog) {
    HWND notebook = ShowFromTray(p, kMnuPendra, "TfrmPendra");
    if (!notebook) return nullptr;
    Post(notebook, WM_COMMAND, TfrmPendra::btnEditTabs);
    dialog = WaitForWindowOf(p.Pid(), "TfrmAddTabs");
    HWND list = dialog ? ChildWithId(dialog, TfrmAddTabs::ListBox1) : nullptr;
    return list && WaitUntil([&] { return Send(list, LB_GETCOUNT) > 0 && IsWindowVisible(dialog); }, 5000) ? list
                                                                                                          : nullptr;
  }
};

TEST_F(EveryScriptE2e, ARemindersToDoAndTabNameTypedInAnyScriptStayWholeAlsoInJapaneseAndUtf8CodePage) {
  const std::string text = GetACP() == 932 ? "会議 予定表" : "Zadzwoń Łukasz Вася 会議 😀";
  const std::wstring typed = Wide(text);
  PendraProcess& p = StartPendra();

  // The reminder: typed into the one-time page's message, Enter, then Test.
  HWND reminders = ShowFromTray(p, kReminders1, "TfrmMain");
  ASSERT_TRUE(reminders);
  HWND list = OneTime(reminders, Ctl::list);
  ASSERT_TRUE(ClickInto(reminders, OneTime(reminders, Ctl::editMessage)));
  TypeCharacters(typed);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 1; }, 5000));
  const std::string entry = ListBoxText(list, 0, CP_UTF8);
  EXPECT_EQ(entry.substr(entry.size() - text.size()), text) << entry;
  Post(reminders, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, Ctl::btnTest), BN_CLICKED),
       reinterpret_cast<LPARAM>(OneTime(reminders, Ctl::btnTest)));
  const auto box = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(box);
  const std::string announced = WindowTextUtf8(GetDlgItem(box->hwnd, 0xFFFF));
  EXPECT_NE(announced.find(text), std::string::npos) << announced;
  ASSERT_TRUE(PressButton(*box, IDOK));
  // The window the box came over takes the foreground back first.
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == reminders; }, 5000));

  // The to-do item: Add Item, the text, Enter.
  HWND toDo = ShowFromTray(p, kToDo, "TfrmToDo");
  ASSERT_TRUE(toDo);
  HWND items = FindChild(toDo, "ListBox");
  ASSERT_TRUE(ClickInto(toDo, items));
  PressKey(VK_TAB);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForWindowOf(p.Pid(), "TfrmAddToDo", nullptr, 5000));
  TypeCharacters(typed);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return Send(items, LB_GETCOUNT) == 1; }, 5000));
  const std::string item = ListBoxText(items, 0, CP_UTF8);
  EXPECT_EQ(item, " " + DateText(DaysFromToday(0)) + "         " + text);

  // The tab: Add Tab in the tab list, the name typed into its box, OK; its
  // page made under that name when the tab is first shown.
  HWND dialog = nullptr;
  HWND tabs = TabList(p, dialog);
  ASSERT_TRUE(tabs);
  Post(dialog, WM_COMMAND, MAKEWPARAM(TfrmAddTabs::btnAdd, BN_CLICKED));
  const auto input = WaitForMessageBox(p.Pid());
  ASSERT_TRUE(input);
  TypeCharacters(typed);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return Send(tabs, LB_GETCOUNT) == 10; }, 5000));
  EXPECT_EQ(ListBoxText(tabs, 9, CP_UTF8), text);
  Post(dialog, WM_COMMAND, MAKEWPARAM(TfrmAddTabs::btnOK, BN_CLICKED));
  HWND notebook = FindWindowOf(p.Pid(), "TfrmPendra");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog) && IsWindowVisible(notebook); }, 5000));
  ASSERT_TRUE(ClickInto(notebook, FindChild(notebook, "RichEdit20A")));
  PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});  // the last tab
  EXPECT_TRUE(WaitUntil([&] { return FileThere(text + ".pnd"); }, 5000));
  EXPECT_EQ(CloseTray(p), 0u);

  EXPECT_EQ(ReadFileBytes(PathOf("Message.lst")), Stored(entry + "\r\n"));
  EXPECT_EQ(ReadFileBytes(PathOf("ToDo.lst")), Stored(item + "\r\n"));
  EXPECT_EQ(ReadFileBytes(PathOf("Tabs.lst")),
            Stored("ABC\r\nDEF\r\nGHI\r\nJKL\r\nMNO\r\nPQR\r\nSTU\r\nVWX\r\nYZ\r\n" + text + "\r\n"));

  // Whole again after a restart.
  PendraProcess& again = StartPendra();
  reminders = ShowFromTray(again, kReminders1, "TfrmMain");
  ASSERT_TRUE(reminders);
  list = OneTime(reminders, Ctl::list);
  EXPECT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == 1; }, 5000));
  EXPECT_EQ(ListBoxText(list, 0, CP_UTF8), entry);
  toDo = ShowFromTray(again, kToDo, "TfrmToDo");
  ASSERT_TRUE(toDo);
  EXPECT_EQ(ListBoxText(FindChild(toDo, "ListBox"), 0, CP_UTF8), item);
  tabs = TabList(again, dialog);
  ASSERT_TRUE(tabs);
  EXPECT_EQ(ListBoxText(tabs, 9, CP_UTF8), text);
  EXPECT_TRUE(MessageBoxes(again.Pid()).empty());
  EXPECT_EQ(CloseTray(again), 0u);
}

}  // namespace
}  // namespace pendra::e2e
