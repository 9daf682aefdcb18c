// The to-do list window and its add dialog, driven by real messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/application_win.h"
#include "platform/real_services_win.h"
#include "platform/wide_controls_win.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"
#include "todo/todo_window_win.h"

namespace pendra::test {
namespace {

using Id = TfrmToDo::Id;

class ToDoWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    saved_ = Forms();
  }
  void TearDown() override {
    dialog_.reset();
    frm_.reset();
    Forms() = saved_;
    SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  TfrmToDo& Create() {
    dialog_.reset();
    frm_ = std::make_unique<TfrmToDo>();
    dialog_ = std::make_unique<TfrmAddToDo>(*frm_);
    Forms().frmToDo = frm_.get();
    Forms().frmAddToDo = dialog_.get();
    return *frm_;
  }
  TfrmToDo& CreateShown() {
    Create().Show();
    PumpMessages();
    return *frm_;
  }

  static std::string Path() { return TestEnv().folder + "ToDo.lst"; }
  static TRegIniFile Ini() { return TRegIniFile(*Svc().registry, kToDoKey); }
  static std::vector<std::string> Errors() {
    std::vector<std::string> texts;
    for (const auto& m : TestEnv().dialogs.Errors()) texts.push_back(m.text);
    return texts;
  }

  Lines Rows() const {
    Lines rows;
    HWND list = frm_->ListBox1();
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) rows.push_back(ListRow(list, i));
    return rows;
  }
  // A click on one item: it alone is selected and focused, and the list tells
  // its window.
  void Select(int index) {
    HWND list = frm_->ListBox1();
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    SendMessageA(list, LB_SETSEL, TRUE, index);
    SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    SendMessageA(frm_->Handle(), WM_COMMAND, MAKEWPARAM(TfrmToDo::kListBox1, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
  void Press(Id id) { Click(frm_->Button(id)); }
  bool On(Id id) const { return IsWindowEnabled(frm_->Button(id)) != FALSE; }
  bool MenuOn(int id) const {
    return !(GetMenuState(frm_->pmnuToDo(), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED);
  }
  // The item commands, buttons and menu twins alike: all on, or all off.
  bool ItemCommands(bool on) const {
    for (Id id : {Id::kBtnRemove, Id::kBtnUp, Id::kBtnDown, Id::kBtnMoveTop, Id::kBtnMoveBottom})
      if (On(id) != on || MenuOn(id) != on) return false;
    return true;
  }
  static void SetPicker(HWND picker, WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  // The dialog as the user works it: Add Item, type, OK.
  void AddThroughDialog(const std::string& text) {
    Press(Id::kBtnAdd);
    SetText(dialog_->edtToDo(), text);
    Click(dialog_->btnOK());
  }

  std::unique_ptr<TfrmToDo> frm_;
  std::unique_ptr<TfrmAddToDo> dialog_;
  AppForms saved_;
};

TEST_F(ToDoWindowTest, CreationReadsTheListAndTheFirstShowBuildsTheDesignWindow) {
  WriteFileBytes(Path(), "first\r\n\r\nlast");
  TfrmToDo& frm = Create();
  EXPECT_FALSE(frm.ControlsBuilt());
  EXPECT_EQ(frm.List().Items(), (Lines{"first", "", "last"}));
  DeleteFileA(Path().c_str());  // read at creation: the show does not need it

  frm.Show();
  PumpMessages();
  EXPECT_EQ(GetText(frm.Handle()), "Things To Do ");
  EXPECT_TRUE(GetWindowLongA(frm.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  const RECT r = WindowRectOf(frm.Handle());
  EXPECT_EQ(r.left, 275);
  EXPECT_EQ(r.top, 207);
  EXPECT_EQ(r.right - r.left, 431);
  EXPECT_EQ(r.bottom - r.top, 287);
  EXPECT_EQ(Rows(), (Lines{"first", "", "last"}));
  EXPECT_EQ(frm.HintOf(frm.ListBox1()), "Right Click For Context Menu");

  // The panel top to bottom, "caption|hint|enabled"; the hints about the
  // selected item have two blanks.
  std::string panel;
  for (HWND b = GetWindow(frm.pnlButton(), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT))
    panel += GetText(b) + "|" + frm.HintOf(b) + "|" + (IsWindowEnabled(b) ? "on\n" : "off\n");
  EXPECT_EQ(panel,
            "Add Item|Add an item to the list|on\n"
            "Remove Item|Remove the selected  item from the list|off\n"
            "Move Up|Move the selected  item up on the list|off\n"
            "Move Down|Move the selected  item down on the list|off\n"
            "Move To Top|Move the selected  item up on the list|off\n"
            "Move To Bottom|Move the selected  item up on the list|off\n"
            "Save changes|Save changes|off\n"
            "Cancel|Cancel Previous Action|off\n"
            "Hide Buttons|Hide Buttons|on\n"
            "Close|Exit and save changes|on\n");
  std::string menu;
  for (int i = 0; i < GetMenuItemCount(frm.pmnuToDo()); ++i) {
    char caption[64] = {};
    GetMenuStringA(frm.pmnuToDo(), static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
    const UINT state = GetMenuState(frm.pmnuToDo(), static_cast<UINT>(i), MF_BYPOSITION);
    menu += std::string(caption) + (state & MF_SEPARATOR ? "" : state & MF_GRAYED ? "-" : "+") + "|";
  }
  EXPECT_EQ(menu,
            "Add Item+|Remove Item-||Move Up-|Move Down-|Move To Top-|Move To Bottom-||"
            "Save Changes-|Cancel-|Show Buttons-|Hide Buttons+||Close+|");
}

TEST_F(ToDoWindowTest, ItemCommandsActOnTheFocusedSelectedItemByItsPlace) {
  WriteFileBytes(Path(), "a\r\ntwin\r\ntwin\r\nz\r\n");
  CreateShown();
  Select(2);
  EXPECT_TRUE(ItemCommands(true));
  Press(Id::kBtnDown);  // the second twin, not the first one found by its text
  EXPECT_EQ(Rows(), (Lines{"a", "twin", "z", "twin"}));
  EXPECT_TRUE(ItemCommands(false));
  EXPECT_TRUE(On(Id::kBtnSave) && On(Id::kBtnCancel));

  // Focused but not selected (a control-click took it out): nothing happens.
  Select(0);
  SendMessageA(frm_->ListBox1(), LB_SETSEL, FALSE, 0);
  for (int command : {Id::kBtnRemove, Id::kBtnUp, Id::kBtnDown, Id::kBtnMoveTop, Id::kBtnMoveBottom})
    MenuCommand(frm_->Handle(), command);
  PressKey(frm_->ListBox1(), VK_DELETE);
  EXPECT_EQ(Rows(), (Lines{"a", "twin", "z", "twin"}));
  EXPECT_TRUE(ItemCommands(true));

  // With several selected, only the focused one goes; the menu and the Delete
  // key do what the buttons do.
  Select(3);
  SendMessageA(frm_->ListBox1(), LB_SETSEL, TRUE, 1);
  SendMessageA(frm_->ListBox1(), LB_SETCARETINDEX, 3, FALSE);
  MenuCommand(frm_->Handle(), Id::kBtnMoveTop);
  EXPECT_EQ(Rows(), (Lines{"twin", "a", "twin", "z"}));
  Select(2);
  PressKey(frm_->ListBox1(), VK_DELETE);
  EXPECT_EQ(Rows(), (Lines{"twin", "a", "z"}));
  EXPECT_EQ(frm_->List().Items(), Rows());
  EXPECT_TRUE(ReadFileBytes(Path()) == "a\r\ntwin\r\ntwin\r\nz\r\n");  // not saved yet
}

TEST_F(ToDoWindowTest, TheDialogAddsTheItemDatedAsTheLocaleWritesItNow) {
  TestEnv().clock.Set(2000, 6, 19, 9, 0, 0);
  CreateShown();
  Press(Id::kBtnAdd);
  ASSERT_TRUE(dialog_->Visible());
  EXPECT_FALSE(IsWindowEnabled(dialog_->btnOK()));
  EXPECT_EQ(dialog_->PickerDate(), (Date{2000, 6, 19}));

  SetPicker(dialog_->dtpAddToDo(), 2001, 5, 3);
  SetText(dialog_->edtToDo(), "call the bank");
  EXPECT_TRUE(IsWindowEnabled(dialog_->btnOK()));
  SetText(dialog_->edtToDo(), "");
  EXPECT_FALSE(IsWindowEnabled(dialog_->btnOK()));
  SetText(dialog_->edtToDo(), "call the bank");
  Click(dialog_->btnOK());
  EXPECT_EQ(Rows(), Lines{" 5/3/2001         call the bank"});
  EXPECT_FALSE(dialog_->Visible());
  EXPECT_EQ(GetText(dialog_->edtToDo()), "");
  EXPECT_EQ(dialog_->PickerDate(), (Date{2000, 6, 19}));  // back to today
  EXPECT_TRUE(On(Id::kBtnSave) && On(Id::kBtnCancel));

  // Cancel empties the text and keeps the date.
  Press(Id::kBtnAdd);
  SetPicker(dialog_->dtpAddToDo(), 2002, 1, 1);
  SetText(dialog_->edtToDo(), "dropped");
  Click(dialog_->btnCancel());
  EXPECT_FALSE(dialog_->Visible());
  EXPECT_EQ(GetText(dialog_->edtToDo()), "");
  EXPECT_EQ(dialog_->PickerDate(), (Date{2002, 1, 1}));

  // The user changes the short date format: new items follow it, the items
  // already there keep the text they were made with.
  LocaleFormats german = TestEnv().locale.formats;
  german.shortDate = "dd.MM.yyyy";
  TestEnv().locale.Change(german);
  AddThroughDialog("Termin");
  EXPECT_EQ(Rows(), (Lines{" 5/3/2001         call the bank", " 01.01.2002         Termin"}));
  Press(Id::kBtnSave);
  EXPECT_EQ(ReadFileBytes(Path()),
            " 5/3/2001         call the bank\r\n 01.01.2002         Termin\r\n");
  EXPECT_FALSE(On(Id::kBtnSave) || On(Id::kBtnCancel));
}

// An item in any script, typed and pasted into the dialog, shows whole, is
// saved and is whole after a restart. In every code page's pass.
TEST_F(ToDoWindowTest, AnItemInAnyScriptStaysWholeAlsoInJapaneseAndUtf8CodePage) {
  TestEnv().clock.Set(2000, 6, 19, 9, 0, 0);
  CreateShown();
  Press(Id::kBtnAdd);
  for (wchar_t c : std::wstring(L"\u4F1A\u8B70 \U0001F600")) TypeUnicode(dialog_->edtToDo(), c);
  SetClipboardUnicode(L" Zadzwo\u0144 \u0412\u0430\u0441\u044F");
  KeyThroughLoop('V', {VK_CONTROL}, dialog_->edtToDo());
  Click(dialog_->btnOK());
  const std::string item = " 6/19/2000         会議 😀 Zadzwoń Вася";
  EXPECT_EQ(Rows(), Lines{item});
  Press(Id::kBtnSave);
  EXPECT_EQ(ReadFileBytes(Path()), (GetACP() == CP_UTF8 ? "" : "\xEF\xBB\xBF") + item + "\r\n");
  dialog_.reset();
  frm_.reset();
  CreateShown();
  EXPECT_EQ(Rows(), Lines{item});
}

TEST_F(ToDoWindowTest, CancelRereadsTheFileAndAMissingFileEmptiesTheList) {
  WriteFileBytes(Path(), "kept\r\n");
  CreateShown();
  AddThroughDialog("dropped");
  MenuCommand(frm_->Handle(), Id::kBtnCancel);
  EXPECT_EQ(Rows(), Lines{"kept"});
  EXPECT_FALSE(On(Id::kBtnCancel) || MenuOn(Id::kBtnCancel));
  EXPECT_TRUE(On(Id::kBtnSave) && MenuOn(Id::kBtnSave));

  AddThroughDialog("dropped again");
  DeleteFileA(Path().c_str());
  Press(Id::kBtnCancel);
  EXPECT_TRUE(Rows().empty());
  Press(Id::kBtnSave);
  EXPECT_TRUE(FileExists(Path()));
  EXPECT_EQ(ReadFileBytes(Path()), "");
}

TEST_F(ToDoWindowTest, AListChangedElsewhereIsShownOrKeptBesideItsOwnEdits) {
  WriteFileBytes(Path(), "mine\r\n");
  CreateShown().Hide();
  WriteFileBytes(Path(), "them\r\n");  // another program, the same size
  frm_->Show();
  EXPECT_EQ(Rows(), Lines{"them"});

  AddThroughDialog("new");
  WriteFileBytes(Path(), "a third program\r\n");
  SendMessageA(frm_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);  // the edit is not dropped
  Press(Id::kBtnClose);
  EXPECT_EQ(ReadFileBytes(Path()), "them\r\n 6/19/2000         new\r\n");
  const std::string copy = TestEnv().folder + "Backup\\ToDo 2000-06-19 13-05-00 from another program.lst";
  EXPECT_EQ(ReadFileBytes(copy), "a third program\r\n");
  ASSERT_EQ(TestEnv().dialogs.shown.size(), 1u);
  EXPECT_EQ(TestEnv().dialogs.shown[0].caption, "Pendra");
  EXPECT_NE(TestEnv().dialogs.shown[0].text.find(" is kept as " + copy + "."), std::string::npos);

  // No folder for versions can be made: each save goes on, and it is said once.
  DeleteFileA(copy.c_str());
  DeleteFileA((TestEnv().folder + "Backup\\" + kCopyRecordName).c_str());
  RemoveDirectoryA((TestEnv().folder + "Backup").c_str());
  WriteFileBytes(TestEnv().folder + "Backup", "");
  WriteFileBytes(TestEnv().folder + kOwnBackupFolderName, "");
  for (const char* item : {"one", "two"}) {
    TestEnv().clock.AdvanceSeconds(600);
    AddThroughDialog(item);
    Press(Id::kBtnSave);
  }
  EXPECT_EQ(SplitLines(ReadFileBytes(Path())).size(), 4u);
  ASSERT_EQ(TestEnv().dialogs.shown.size(), 2u);
  EXPECT_EQ(TestEnv().dialogs.shown[1].text.find("Earlier versions"), 0u);
}

TEST_F(ToDoWindowTest, ACloseSavesEditsAndStoresBoundsOnlyOfAWindowShownInTheRun) {
  Ini().WriteInteger("Position", "Top", 30);
  Ini().WriteInteger("Position", "Left", 40);
  Ini().WriteInteger("Size", "Height", 2000);
  Ini().WriteInteger("Size", "Width", 500);

  // Never shown (an exit): the list is written, the stored bounds stay.
  TfrmToDo& unshown = Create();
  unshown.AddItem({2000, 6, 19}, "typed before a restart");
  ASSERT_TRUE(unshown.Close());
  EXPECT_EQ(ReadFileBytes(Path()), " 6/19/2000         typed before a restart\r\n");
  EXPECT_EQ(Ini().ReadInteger("Size", "Height", 0), 2000);
  EXPECT_EQ(Ini().ReadInteger("Position", "Left", 0), 40);

  // Shown with the stored bounds, within the size limits; closed by its title
  // bar without a save: the edits and the bounds are written.
  TfrmToDo& frm = CreateShown();
  const RECT r = WindowRectOf(frm.Handle());
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom - r.top, 580);
  EXPECT_EQ(r.right - r.left, 500);
  Select(0);
  Press(Id::kBtnRemove);
  SendMessageA(frm.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(frm.Visible());
  EXPECT_EQ(ReadFileBytes(Path()), "");
  EXPECT_EQ(Ini().ReadInteger("Size", "Height", 0), 580);
  EXPECT_TRUE(On(Id::kBtnSave));  // a close does not reset the change commands
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ToDoWindowTest, AListThatCannotBeWrittenKeepsTheWindowOpen) {
  WriteFileBytes(Path(), "old\r\n");
  CreateShown();
  AddThroughDialog("new");
  SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string error = "Cannot create file " + Path() + ".";

  Press(Id::kBtnSave);
  EXPECT_EQ(Errors(), std::vector<std::string>{error});
  EXPECT_TRUE(On(Id::kBtnSave));

  Press(Id::kBtnClose);
  EXPECT_EQ(Errors(), (std::vector<std::string>{error, error}));
  EXPECT_TRUE(frm_->Visible());
  EXPECT_FALSE(Ini().ReadString("Position", "Top", "").size());
  EXPECT_THROW(frm_->Close(), std::exception);  // what stops the tray's exit
  EXPECT_EQ(ReadFileBytes(Path()), "old\r\n");
}

// A list that was not read at start (a file held open by another program)
// never replaces ToDo.lst.
TEST_F(ToDoWindowTest, AListNotReadAtStartIsNeverWrittenOverTheFile) {
  WriteFileBytes(Path(), "the user's items\r\n");
  const std::string notRead = Path() + " could not be read, so it is left as it is.";
  HANDLE lock = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  CreateShown();
  CloseHandle(lock);
  EXPECT_EQ(Errors(), std::vector<std::string>{"Cannot open file " + Path() + "."});
  EXPECT_TRUE(Rows().empty());

  ASSERT_TRUE(frm_->Close());  // nothing to lose: no message
  EXPECT_EQ(Errors().size(), 1u);
  AddThroughDialog("typed on the empty list");
  Press(Id::kBtnSave);
  ASSERT_TRUE(frm_->Close());
  ASSERT_EQ(Errors().size(), 3u);
  EXPECT_EQ(Errors()[1], notRead);
  EXPECT_EQ(Errors()[2], notRead);
  EXPECT_EQ(ReadFileBytes(Path()), "the user's items\r\n");

  // Cancel reads the file now that it can: the list is the user's again.
  frm_->Show();
  Press(Id::kBtnCancel);
  EXPECT_EQ(Rows(), Lines{"the user's items"});
  ASSERT_TRUE(frm_->Close());
  EXPECT_EQ(ReadFileBytes(Path()), "the user's items\r\n");
}

// A stored switch of the wrong type is reported, reads as its default, and
// does not keep the list from being read.
TEST_F(ToDoWindowTest, ASwitchOfTheWrongTypeStillLetsTheListBeRead) {
  WriteFileBytes(Path(), "the user's items\r\n");
  HKEY key = nullptr;
  const DWORD zero = 0;
  RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kToDoKey) + "\\Buttons").c_str(), 0, nullptr, 0,
                  KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExA(key, "Visible", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  RegCloseKey(key);
  CreateShown();
  EXPECT_EQ(Errors(), std::vector<std::string>{"Invalid data type for 'Visible'"});
  EXPECT_EQ(Rows(), Lines{"the user's items"});
  EXPECT_TRUE(IsWindowVisible(frm_->pnlButton()));
  ASSERT_TRUE(frm_->Close());
  EXPECT_EQ(ReadFileBytes(Path()), "the user's items\r\n");
}

TEST_F(ToDoWindowTest, HiddenButtonsLeaveEveryCommandOnTheMenuAndAreRemembered) {
  WriteFileBytes(Path(), "a\r\nb\r\n");
  CreateShown();
  const int listWidth = WindowRectOf(frm_->ListBox1()).right - WindowRectOf(frm_->ListBox1()).left;
  Press(Id::kBtnHideButtons);
  EXPECT_FALSE(IsWindowVisible(frm_->pnlButton()));
  EXPECT_GT(WindowRectOf(frm_->ListBox1()).right - WindowRectOf(frm_->ListBox1()).left, listWidth);
  EXPECT_EQ(Ini().ReadString("Buttons", "Visible", ""), "0");
  EXPECT_TRUE(MenuOn(Id::kShowButtons1));
  EXPECT_FALSE(MenuOn(Id::kBtnHideButtons));

  Select(1);
  MenuCommand(frm_->Handle(), Id::kBtnUp);
  MenuCommand(frm_->Handle(), Id::kBtnSave);
  EXPECT_EQ(ReadFileBytes(Path()), "b\r\na\r\n");

  CreateShown();  // a restart
  EXPECT_FALSE(IsWindowVisible(frm_->pnlButton()));
  MenuCommand(frm_->Handle(), Id::kShowButtons1);
  EXPECT_TRUE(IsWindowVisible(frm_->pnlButton()));
  EXPECT_FALSE(MenuOn(Id::kShowButtons1));
  EXPECT_TRUE(MenuOn(Id::kBtnHideButtons));
  EXPECT_EQ(Ini().ReadString("Buttons", "Visible", ""), "1");
}

// Runs in the German pass: the date text as the system's German locale writes it.
TEST_F(ToDoWindowTest, GermanLocaleWritesTheItemDate) {
  if (PRIMARYLANGID(GetUserDefaultLangID()) != LANG_GERMAN)
    GTEST_SKIP() << "not a German locale (run with LC_ALL=de_DE.UTF-8)";
  RealLocale german;
  Svc().locale = &german;
  WriteFileBytes(Path(), " 6/19/2000         stored earlier\r\n");
  Create();
  frm_->AddItem({2000, 6, 5}, "Termin");
  ASSERT_EQ(frm_->List().Items().size(), 2u);
  const std::string date = frm_->List().Items()[1].substr(1, frm_->List().Items()[1].find(' ', 1) - 1);
  EXPECT_TRUE(date == "05.06.2000" || date == "5.6.2000") << date;
  EXPECT_EQ(frm_->List().Items()[0], " 6/19/2000         stored earlier");
  Svc().locale = &TestEnv().locale;
}

}  // namespace
}  // namespace pendra::test
