// The notebook and its tab list dialog, the real windows driven by real
// messages: tabs and page files, the close, unreadable files, the command
// states and the windows they open. The text commands themselves are tested
// on their own (text_behaviours_test.cpp); here only their wiring.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "notes/notebook_window_win.h"
#include "notes/tab_captions.h"
#include "notes/tab_list_dialog_win.h"
#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "settings/reg_ini.h"
#include "settings/wide_text_win.h"
#include "tests/win/placeholder_form_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

using P = TfrmPendra;
using D = TfrmAddTabs;
using Files = std::map<std::string, std::string>;

class NotebookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    // The pointer away from the windows: a move over the page refreshes commands.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    saved_ = Forms();
    Forms() = AppForms{};
  }
  void TearDown() override {
    dialog.reset();
    notebook.reset();
    Forms() = saved_;
  }

  // The program's creation of the two windows, with Tabs.lst as given
  // (nullptr: none).
  void Create(const char* tabList = nullptr) {
    if (tabList) WriteFileBytes(Path("Tabs.lst"), tabList);
    notebook = std::make_unique<TfrmPendra>();
    notebook->popupMenu = [this](HMENU menu, POINT) { popups.push_back(menu); };
    dialog = std::make_unique<TfrmAddTabs>(*notebook);
    Forms().frmPendra = notebook.get();
    Forms().frmAddTabs = dialog.get();
  }
  void Show() {
    notebook->Show();
    PumpMessages();
  }
  static std::string Path(const std::string& name) { return TestEnv().folder + name; }
  static std::string File(const std::string& name) { return ReadFileBytes(Path(name)); }
  HWND Page() { return notebook->redtPendra().Handle(); }
  std::string PageText() { return notebook->redtPendra().Text(); }
  std::wstring PageWide() { return notebook->redtPendra().WideText(); }
  void Type(const std::string& text) {
    for (char c : text) PressKey(Page(), static_cast<unsigned char>(VkKeyScanA(c)), c);
  }
  // A click on a tab, as the user makes it.
  void ClickTab(int index) {
    RECT r{};
    SendMessageA(notebook->tbcPendra(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(notebook->tbcPendra(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(notebook->tbcPendra(), WM_LBUTTONUP, 0, at);
    PumpMessages();
  }
  void ToolbarClick(int id) {
    SendMessageA(notebook->Handle(), WM_COMMAND, static_cast<WPARAM>(id),
                 reinterpret_cast<LPARAM>(notebook->tlbPendra()));
    PumpMessages();
  }
  static std::string Setting(const char* section, const char* ident) {
    return TRegIniFile(*Svc().registry, kNotebookKey).ReadString(section, ident, "-");
  }
  static void Store(const char* section, const char* ident, int value) {
    TRegIniFile(*Svc().registry, kNotebookKey).WriteInteger(section, ident, value);
  }
  // Every file of the program folder (and the folder above it) with its bytes.
  static Files Snapshot(const std::string& dir = TestEnv().folder) {
    Files files;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return files;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        files[found.cFileName] = ReadFileBytes(dir + found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return files;
  }
  int TabCount() { return static_cast<int>(SendMessageA(notebook->tbcPendra(), TCM_GETITEMCOUNT, 0, 0)); }
  bool ReadOnly() { return (GetWindowLongA(Page(), GWL_STYLE) & ES_READONLY) != 0; }
  FakeDialogs& Dialogs() { return TestEnv().dialogs; }

  std::unique_ptr<TfrmPendra> notebook;
  std::unique_ptr<TfrmAddTabs> dialog;
  std::vector<HMENU> popups;

 private:
  AppForms saved_;
};

// Holds a file open without sharing, as another program might: it can be
// neither read nor replaced until released.
struct FileLock {
  explicit FileLock(const std::string& path)
      : h(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~FileLock() { CloseHandle(h); }
  HANDLE h;
};

const char* const kNineTabs = "ABC\r\nDEF\r\nGHI\r\nJKL\r\nMNO\r\nPQR\r\nSTU\r\nVWX\r\nYZ\r\n";

TEST_F(NotebookTest, FirstStartWritesTheNineTabsAndTheFirstShowAnEmptyFirstPage) {
  Create();
  EXPECT_EQ(File("Tabs.lst"), kNineTabs);
  EXPECT_EQ(notebook->Handle(), nullptr);  // nothing built before the first show
  EXPECT_FALSE(FileExists(Path("ABC.pnd")));

  Show();
  EXPECT_EQ(TabCount(), 9);
  EXPECT_EQ(notebook->ActiveTab(), 0);
  EXPECT_TRUE(FileExists(Path("ABC.pnd")));
  EXPECT_EQ(File("ABC.pnd"), "");
  const RECT r = WindowRectOf(notebook->Handle());
  EXPECT_EQ(std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
                std::to_string(r.bottom - r.top),
            "222,244 625x300");
  EXPECT_EQ(GetText(notebook->StaticText1()), "1:05:00 PM");
  SYSTEMTIME shown{};
  SendMessageA(notebook->DateTimePicker1(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear * 10000 + shown.wMonth * 100 + shown.wDay, 20000619);
}

TEST_F(NotebookTest, SwitchingTabsSavesAnEditedPageLeftAndTabsWithOneCaptionShareAPage) {
  WriteFileBytes(Path("One.pnd"), "first page");
  WriteFileBytes(Path("Two.pnd"), "second page");
  Create("One\r\nTwo\r\nOne\r\n");
  Show();
  EXPECT_EQ(PageText(), "first page");
  WriteFileBytes(Path("One.pnd"), "changed behind its back");
  ClickTab(1);
  EXPECT_EQ(File("One.pnd"), "changed behind its back");  // only viewed: not written
  EXPECT_EQ(PageText(), "second page");
  WriteFileBytes(Path("One.pnd"), "first page");
  EXPECT_EQ(GetFocus(), Page());

  Type("x");
  ClickTab(2);
  EXPECT_EQ(File("Two.pnd"), "xsecond page");
  EXPECT_EQ(PageText(), "first page");
  Type("y");
  ClickTab(0);  // the same file: the text saved last
  EXPECT_EQ(PageText(), "yfirst page");

  // A page that cannot be saved keeps its tab and its text.
  Type("z");
  {
    FileLock lock(Path("One.pnd"));
    ClickTab(1);
    EXPECT_EQ(notebook->ActiveTab(), 0);
    EXPECT_EQ(SendMessageA(notebook->tbcPendra(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Dialogs().Errors().size(), 1u);
  }
  ClickTab(1);
  EXPECT_EQ(File("One.pnd"), "zyfirst page");
}

TEST_F(NotebookTest, AStoredActiveTabBeyondTheTabsKeepsTheCurrentTab) {
  for (const char* tab : {"A", "B", "C", "D", "E"}) WriteFileBytes(Path(std::string(tab) + ".pnd"), tab);
  Create("A\r\nB\r\nC\r\nD\r\nE\r\n");
  Store("Tab", "Active Tab", 3);
  Show();
  EXPECT_EQ(notebook->ActiveTab(), 3);
  EXPECT_EQ(PageText(), "D");
  notebook->Close();
  EXPECT_EQ(Setting("Tab", "Active Tab"), "3");

  Store("Tab", "Active Tab", 7);
  WriteFileBytes(Path("D.pnd"), "D again");
  Show();
  EXPECT_EQ(notebook->ActiveTab(), 3);
  EXPECT_EQ(SendMessageA(notebook->tbcPendra(), TCM_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(PageText(), "D again");
}

TEST_F(NotebookTest, ClosingWhileHiddenWritesNothingAndAVisibleCloseWritesPageSettingsAndTabsNotChangedElsewhere) {
  Create();
  const Files atStart = Snapshot();
  notebook->Close();  // never shown
  EXPECT_EQ(Snapshot(), atStart);
  EXPECT_FALSE(Svc().registry->KeyExists(kNotebookKey));

  Show();
  Type("kept");
  SetWindowPos(notebook->Handle(), nullptr, 100, 50, 700, 400, SWP_NOZORDER);
  WriteFileBytes(Path("Tabs.lst"), "ABC\r\nNew\r\n");  // another program's tabs
  notebook->Close();
  EXPECT_FALSE(IsWindowVisible(notebook->Handle()));
  EXPECT_EQ(File("Tabs.lst"), "ABC\r\nNew\r\n");
  EXPECT_EQ(File("ABC.pnd"), "kept");
  for (auto [section, ident, value] : {std::tuple{"Position", "Top", "50"}, {"Position", "Left", "100"},
                                       {"Size", "Width", "700"}, {"Size", "Height", "400"},
                                       {"Tab", "Active Tab", "0"}})
    EXPECT_EQ(Setting(section, ident), value) << ident;

  WriteFileBytes(Path("ABC.pnd"), "edited elsewhere");
  const Files afterClose = Snapshot();
  notebook->Close();
  EXPECT_EQ(Snapshot(), afterClose);
  Show();  // shows what the other program wrote
  EXPECT_EQ(PageText() + std::to_string(TabCount()), "edited elsewhere2");
}

// The close writes the page, then Tabs.lst, and tries both: a file that
// cannot be replaced keeps the window open but not the other file unwritten.
TEST_F(NotebookTest, TheCloseWritesThePageAndTheTabListDespiteEachOther) {
  const struct {
    bool pageHeld, listHeld;
  } rows[] = {{true, false}, {false, true}, {true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.pageHeld) + std::to_string(row.listHeld));
    TestEnv().Reset();
    WriteFileBytes(Path("Tabs.lst"), "ABC\nDEF\n");  // a save writes CR LF
    WriteFileBytes(Path("ABC.pnd"), "");
    Create();
    Show();
    Type("typed");
    {
      std::vector<std::unique_ptr<FileLock>> locks;
      if (row.pageHeld) locks.push_back(std::make_unique<FileLock>(Path("ABC.pnd")));
      if (row.listHeld) locks.push_back(std::make_unique<FileLock>(Path("Tabs.lst")));
      SendMessageA(notebook->Handle(), WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(notebook->Visible());
    const auto errors = Dialogs().Errors();
    ASSERT_EQ(errors.size(), row.pageHeld && row.listHeld ? 2u : 1u);
    EXPECT_NE(errors[0].text.find(row.pageHeld ? "ABC.pnd" : "Tabs.lst"), std::string::npos);
    EXPECT_EQ(File("ABC.pnd"), row.pageHeld ? "" : "typed");
    EXPECT_EQ(File("Tabs.lst"), row.listHeld ? "ABC\nDEF\n" : "ABC\r\nDEF\r\n");
  }
}

// Tab brings the keyboard back to the page with its caret where it was (the
// control selecting its whole text then, the next key would replace it), and
// a page without a file takes no paste key.
TEST_F(NotebookTest, ThePageIsReachedByTabWithItsCaretAndAPageWithoutAFileTakesNoPaste) {
  Create();
  Show();
  Type("abc");
  notebook->redtPendra().Select(1, 0);
  SetFocus(notebook->tbcPendra());
  KeyThroughLoop(VK_TAB);
  EXPECT_EQ(GetFocus(), Page());
  EXPECT_EQ(notebook->redtPendra().SelLength(), 0);
  EXPECT_EQ(notebook->redtPendra().SelStart(), 1);
  SetClipboardUnicode(L"lost");
  SendMessageA(Page(), EM_SETREADONLY, TRUE, 0);
  KeyThroughLoop('V', {VK_CONTROL});
  EXPECT_EQ(PageText(), "abc");
}

// The enabled state of each command, in this order, as a row of 1s and 0s.
std::string States(const TfrmPendra& n) {
  static const int kCommands[] = {
      P::btnPaste, P::MenuItemPaste, P::Paste1,  // clipboard
      P::btnCut, P::btnCopy, P::btnPrintSelText, P::PrintSelectedText1, P::DeleteSelectedText1,
      P::Cut1, P::Copy1, P::MenuItemcut, P::MenuItemCopy, P::PrintSelectedText2, P::DeleteSelText,  // selection
      P::btnFind, P::MenuItemPrint, P::SelectAll2, P::btnPrint, P::Print1, P::ClearAll1, P::SelectAll1,
      P::Clear};  // text
  std::string row;
  for (int id : kCommands) row += n.CommandEnabled(id) ? '1' : '0';
  return row;
}

void SetClipboardText(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(mem)), text);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
  }
  CloseClipboard();
}

TEST_F(NotebookTest, CommandStatesFollowTheWindowsTablesAndCtrlXCuts) {
  SetClipboardText(nullptr);
  WriteFileBytes(Path("ABC.pnd"), "some text");
  Create();
  notebook->Show();  // the load is a change; the designed states before any move
  EXPECT_EQ(States(*notebook), "000" "00000" "000000" "1111111" "0");
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  PressKey(Page(), VK_RIGHT);
  PressKey(Page(), VK_RIGHT);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(notebook->redtPendra().SelLength(), 2);
  EXPECT_EQ(States(*notebook), "000" "00000" "000000" "1111111" "0");
  SetClipboardText("clip");
  SendMessageA(Page(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(States(*notebook), "111" "11111" "111111" "1111111" "1");

  MenuCommand(notebook->Handle(), P::Clear);  // a change: the move-only rows wait
  EXPECT_EQ(States(*notebook), "111" "00000" "111111" "0000000" "1");
  SendMessageA(Page(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(States(*notebook), "111" "00000" "000000" "0000000" "0");

  // Ctrl+X stands on Cut and on Exit in the context menu: it cuts.
  notebook->redtPendra().SetText("cut this");
  notebook->redtPendra().Select(0, 3);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PressKey(Page(), 'X', 0x18);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(PageText(), " this");
  EXPECT_TRUE(notebook->Visible());
  SetClipboardText(nullptr);
}

TEST_F(NotebookTest, FilesThatCannotBeReadAreNeverWrittenOver) {
  for (bool folder : {false, true}) {
    SCOPED_TRACE(folder ? "folders in their place" : "held open by another program");
    TestEnv().Reset();
    std::vector<std::unique_ptr<FileLock>> locks;
    for (const char* name : {"Tabs.lst", "ABC.pnd"}) {
      if (folder) {
        CreateDirectoryA(Path(name).c_str(), nullptr);
      } else {
        WriteFileBytes(Path(name), "theirs");
        locks.push_back(std::make_unique<FileLock>(Path(name)));
      }
    }
    Create();  // the designed tabs are shown, not written
    Show();
    EXPECT_EQ(TabCount(), 9);
    EXPECT_EQ(PageText(), "");
    EXPECT_TRUE(ReadOnly());
    Type("lost");
    EXPECT_EQ(PageText(), "");
    ToolbarClick(P::btnEditTabs);  // the dialog cannot read the tab list either
    EXPECT_FALSE(dialog->Visible());
    std::vector<std::string> errors;
    for (const ShownMessage& m : Dialogs().Errors()) errors.push_back(m.text);
    EXPECT_EQ(errors, (std::vector<std::string>{"Cannot open file " + Path("Tabs.lst") + ".",
                                                "Cannot open file " + Path("ABC.pnd") + ".",
                                                "Cannot open file " + Path("Tabs.lst") + "."}));
    ClickTab(1);
    EXPECT_FALSE(ReadOnly());
    ClickTab(0);
    notebook->Close();
    EXPECT_FALSE(notebook->Visible());
    locks.clear();
    for (const char* name : {"Tabs.lst", "ABC.pnd"}) {
      const DWORD attributes = GetFileAttributesA(Path(name).c_str());
      if (folder) EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
      else EXPECT_EQ(File(name), "theirs") << name;
    }
  }
}

TEST_F(NotebookTest, ACaptionThatCannotNameAFileShowsAnEmptyPageAndNothingLeavesTheFolder) {
  const std::string above = TestEnv().folder.substr(0, TestEnv().folder.rfind('\\', TestEnv().folder.size() - 2) + 1);
  const Files aboveBefore = Snapshot(above);
  WriteFileBytes(Path("Good.pnd"), "good page");
  Create("Good\r\n..\\outside\r\nCON\r\n");
  Show();
  for (int tab : {1, 2}) {
    ClickTab(tab);
    EXPECT_EQ(PageText(), "");
    EXPECT_TRUE(ReadOnly());
    EXPECT_EQ(notebook->PageFile(), std::nullopt);
  }
  ASSERT_EQ(Dialogs().shown.size(), 2u);  // one for each visit
  EXPECT_EQ(Dialogs().shown[0].text.rfind("The page of the tab \"..\\outside\" cannot be stored in a file", 0), 0u)
      << Dialogs().shown[0].text;
  EXPECT_TRUE(Dialogs().Errors().empty());
  ClickTab(0);
  EXPECT_EQ(PageText(), "good page");
  notebook->Close();
  EXPECT_EQ(Snapshot(above), aboveBefore);
  EXPECT_EQ(Snapshot(), (Files{{"Good.pnd", "good page"}, {"Tabs.lst", "Good\r\n..\\outside\r\nCON\r\n"},
                               {"check.bmp", File("check.bmp")}, {"undo.bmp", File("undo.bmp")}}));
}

TEST_F(NotebookTest, TheDialogsCancelLeavesTabsLstByteForByteAndReloadsTheFirstTab) {
  const std::string tabList = "A\nB\r\nC";  // a rewrite would change it
  WriteFileBytes(Path("A.pnd"), "page A");
  Create(tabList.c_str());
  Show();
  ClickTab(2);
  ToolbarClick(P::btnEditTabs);
  ASSERT_TRUE(dialog->Visible());
  EXPECT_EQ(dialog->WorkingList(), (Lines{"A", "B", "C"}));
  Dialogs().inputAnswers.push_back("New");
  MenuCommand(dialog->Handle(), D::btnAdd);
  SendMessageA(dialog->Item(D::ListBox1), LB_SETCURSEL, 1, 0);
  MenuCommand(dialog->Handle(), D::btnRemove);
  MenuCommand(dialog->Handle(), D::btnCancel);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(File("Tabs.lst"), tabList);
  EXPECT_EQ(notebook->ActiveTab(), 0);
  EXPECT_EQ(PageText(), "page A");
  // OK on an unchanged working list keeps the tabs another program wrote meanwhile.
  ToolbarClick(P::btnEditTabs);
  WriteFileBytes(Path("Tabs.lst"), "A\r\nTheirs\r\n");
  MenuCommand(dialog->Handle(), D::btnOK);
  EXPECT_EQ(File("Tabs.lst") + std::to_string(TabCount()), "A\r\nTheirs\r\n2");
}

TEST_F(NotebookTest, TheWorkingListKeepsTheFirstTabAndMovesOneSelectionAtATime) {
  Create("A\r\nB\r\nC\r\n");
  Show();
  ToolbarClick(P::btnEditTabs);
  HWND list = dialog->Item(D::ListBox1);
  auto buttons = [&] {
    std::string s;
    for (D::Id id : {D::btnRemove, D::btnUp, D::btnDown}) s += IsWindowEnabled(dialog->Item(id)) ? '1' : '0';
    return s;
  };
  auto select = [&](int index) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(D::ListBox1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  };
  EXPECT_EQ(buttons(), "000");
  struct Step {
    int select;
    D::Id button;
    Lines after;
    const char* buttonsAfter;
  } steps[] = {
      {0, D::btnRemove, {"A", "B", "C"}, "000"},  // never the first
      {0, D::btnUp, {"A", "B", "C"}, "111"},      // nothing to do: stays selected
      {2, D::btnDown, {"A", "B", "C"}, "111"},
      {2, D::btnUp, {"A", "C", "B"}, "000"},
      {0, D::btnDown, {"C", "A", "B"}, "000"},    // a second move needs a second selection
      {2, D::btnRemove, {"C", "A"}, "000"},
  };
  for (const Step& step : steps) {
    select(step.select);
    MenuCommand(dialog->Handle(), step.button);
    EXPECT_EQ(dialog->WorkingList(), step.after);
    EXPECT_EQ(buttons(), step.buttonsAfter);
    if (step.button != D::btnRemove && std::string(step.buttonsAfter) == "000")
      EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  }
  MenuCommand(dialog->Handle(), D::btnOK);
  EXPECT_EQ(File("Tabs.lst"), "C\r\nA\r\n");
  EXPECT_EQ(notebook->Tabs(), (Lines{"C", "A"}));
  EXPECT_EQ(TabCount(), 2);
  EXPECT_EQ(File("C.pnd"), "");  // the new first tab's page, made at the reload
}

TEST_F(NotebookTest, AddTabRefusesACaptionThatCannotNameAFile) {
  Create("A\r\n");
  Show();
  ToolbarClick(P::btnEditTabs);
  for (const char* answer : {"a/b", "CON", "..", "Recipes", "", "A"}) Dialogs().inputAnswers.push_back(answer);
  Dialogs().inputAnswers.push_back(std::nullopt);
  for (int i = 0; i < 7; ++i) MenuCommand(dialog->Handle(), D::btnAdd);
  EXPECT_EQ(dialog->WorkingList(), (Lines{"A", "Recipes", "A"}));
  ASSERT_EQ(Dialogs().shown.size(), 3u);
  EXPECT_EQ(Dialogs().shown[1].text,
            "The tab \"CON\" cannot be added. A tab name may not be a device name such as CON, PRN, AUX, NUL, "
            "COM1 or LPT1.");
  const FakeDialogs::InputAsked& asked = Dialogs().inputsAsked.at(0);
  EXPECT_EQ(asked.owner, dialog->Handle());
  EXPECT_EQ(asked.caption + "|" + asked.prompt + "|" + asked.text + "|" + std::to_string(asked.maxLength),
            "Add New Tab|New Tab Name||255");
}

TEST_F(NotebookTest, TextTypedWhileTheDialogIsOpenIsKept) {
  WriteFileBytes(Path("A.pnd"), "page");
  Create("A\r\nB\r\n");
  Show();
  ToolbarClick(P::btnEditTabs);
  Type("more ");
  SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);  // the close box
  PumpMessages();
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(File("A.pnd"), "more page");
  EXPECT_EQ(PageText(), "more page");

  // A page that cannot be saved keeps the dialog open, and the text with it.
  ToolbarClick(P::btnEditTabs);
  Type("x");
  {
    FileLock lock(Path("A.pnd"));
    SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(dialog->Visible());
    EXPECT_EQ(Dialogs().Errors().size(), 1u);
  }
  MenuCommand(dialog->Handle(), D::btnCancel);
  EXPECT_EQ(File("A.pnd"), "xmore page");
}

// A tab whose page cannot be stored, because the name leaves no room for a
// save's temporary file in this folder or because the file cannot be made
// at all, shows its page without a file and keeps nothing from working. A
// page made under a shorter folder, whose name is now too long, shows its
// text read-only and says how to keep it.
TEST_F(NotebookTest, APageThatCannotBeStoredNeverHoldsTheUserOnItsTab) {
  const std::string tooLong(240, 'x');
  // 150 characters fit the folder, but Wine keeps names in UTF-8, where they
  // take 300 bytes, more than a Linux file name may.
  const std::string unmade(150, '\xE9');
  const std::string moved(LongestTabCaption(TestEnv().folder, Utf8CodePage()) + 1, 'm');
  for (const std::string& caption : {tooLong, unmade, moved}) {
    SCOPED_TRACE(caption.substr(0, 1));
    TestEnv().Reset();
    WriteFileBytes(Path("A.pnd"), "page A");
    if (caption == moved) WriteFileBytes(Path(moved + ".pnd"), "kept text");
    const std::string tabList = "A\r\n" + caption + "\r\n";
    Create(tabList.c_str());
    Show();
    // The tab is too wide to click beside the first: Ctrl+Tab turns to the other.
    auto turn = [&] { KeyThroughLoop(VK_TAB, {VK_CONTROL}, Page()); };
    turn();
    const std::string told = caption == tooLong ? "The page of the tab \"" + tooLong.substr(0, 80) + "...\" cannot be stored"
                             : caption == moved ? "The page of the tab \"" + moved.substr(0, 80) + "...\" is shown read-only"
                                                : "Cannot create file " + Utf8FromCodePage(Path(unmade + ".pnd")) + ".";
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].text.rfind(told, 0), 0u) << Dialogs().shown[0].text;
    EXPECT_EQ(notebook->PageFile(), std::nullopt);
    EXPECT_TRUE(ReadOnly());
    TypeUnicode(Page(), L'\x0416');  // outside the code page, and nothing typed
    EXPECT_EQ(PageText(), caption == moved ? "kept text" : "");
    turn();
    EXPECT_EQ(PageText(), "page A");
    turn();
    ToolbarClick(P::btnEditTabs);
    EXPECT_TRUE(dialog->Visible());
    MenuCommand(dialog->Handle(), D::btnCancel);
    turn();
    notebook->Close();
    EXPECT_FALSE(notebook->Visible());

    // Shown again on that tab, and closed as the exit closes it.
    Show();
    EXPECT_EQ(notebook->ActiveTab(), 1);
    notebook->Close();
    for (const ShownMessage& m : Dialogs().Errors()) EXPECT_EQ(m.text, told);
    // Tabs.lst, A.pnd and the two pictures: no page, no temporary file.
    EXPECT_EQ(Snapshot().size(), caption == moved ? 5u : 4u);
    EXPECT_EQ(File("Tabs.lst") + File("A.pnd"), tabList + "page A");
    if (caption == moved) EXPECT_EQ(File(moved + ".pnd"), "kept text");
  }
}

// Tab names in any script, in every code page (1252, and 932 and 65001 in
// their passes): each names its page file by its wide name and shows whole,
// Tabs.lst names them in UTF-8, and a name that is no file name is refused
// with the reason.
TEST_F(NotebookTest, TabNamesInAnyScriptNameTheirOwnPageFilesAlsoInJapaneseAndUtf8CodePage) {
  const std::string cjk = "日本語のメモ", emoji = "नमस्ते 😀", polish = "Zadzwoń Вася";
  Create(("\xEF\xBB\xBF" + cjk + "\r\n" + emoji + "\r\n").c_str());
  Show();
  Type("memo");
  ClickTab(1);
  Type("two");
  ClickTab(0);
  const std::string folder = Utf8FromCodePage(TestEnv().folder);
  EXPECT_EQ(ReadWholeFile(folder + cjk + ".pnd") + ReadWholeFile(folder + emoji + ".pnd"), "memotwo");
  wchar_t shown[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = shown;
  item.cchTextMax = 64;
  SendMessageW(notebook->tbcPendra(), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Utf8OfWide(shown), emoji);

  ToolbarClick(P::btnEditTabs);
  Dialogs().inputAnswers = {cjk + ":1", polish};
  MenuCommand(dialog->Handle(), D::btnAdd);
  MenuCommand(dialog->Handle(), D::btnAdd);
  ASSERT_EQ(Dialogs().shown.size(), 1u);
  EXPECT_EQ(Dialogs().shown[0].text, "The tab \"" + cjk +
                                         ":1\" cannot be added. A tab name may not hold \\ / : * ? \" < > | or "
                                         "control characters.");
  MenuCommand(dialog->Handle(), D::btnOK);
  EXPECT_EQ(File("Tabs.lst"), "\xEF\xBB\xBF" + cjk + "\r\n" + emoji + "\r\n" + polish + "\r\n");
  ClickTab(2);
  EXPECT_EQ(notebook->PageFile(), folder + polish + ".pnd");
  EXPECT_TRUE(FileExists(folder + polish + ".pnd"));
}

// Runs in the Japanese pass (code page 932): 予定表, ソ, ポ, 能 and 十 end in
// a byte that is '\' or '|' on its own.
TEST_F(NotebookTest, JapaneseTabNamesNameTheirOwnPageFiles) {
  if (GetACP() != 932) GTEST_SKIP() << "not code page 932 (run with LC_ALL=ja_JP.UTF-8)";
  const std::string yoteihyo = "\x97\x5C\x92\xE8\x95\x5C", others = "\x83\x5C\x83\x7C\x94\x5C\x8F\x5C";
  // What a save ended by a kill left behind is taken away at the next save.
  WriteFileBytes(Path(yoteihyo + ".pnd.1234-1.tmp"), "left over");
  Create((yoteihyo + "\r\n" + others + "\r\n").c_str());
  Show();
  // Pendra holds the captions and the path in UTF-8.
  EXPECT_EQ(notebook->PageFile(), Utf8FromCodePage(Path(yoteihyo + ".pnd")));
  Type("memo");
  ClickTab(1);
  // Found under its own name: Wine keeps it as UTF-8 on the Linux side.
  EXPECT_EQ(Snapshot(), (Files{{yoteihyo + ".pnd", "memo"}, {others + ".pnd", ""}, {"Tabs.lst", File("Tabs.lst")},
                               {"check.bmp", File("check.bmp")}, {"undo.bmp", File("undo.bmp")}}));
  // The tab list takes such a name (表, given in UTF-8) and refuses a real
  // separator after it.
  ToolbarClick(P::btnEditTabs);
  Dialogs().inputAnswers = {"\xE8\xA1\xA8", "\xE8\xA1\xA8/x"};
  MenuCommand(dialog->Handle(), D::btnAdd);
  MenuCommand(dialog->Handle(), D::btnAdd);
  EXPECT_EQ(dialog->WorkingList(), (Lines{Utf8FromCodePage(yoteihyo), Utf8FromCodePage(others), "\xE8\xA1\xA8"}));
  EXPECT_EQ(Dialogs().shown.size(), 1u);
  EXPECT_TRUE(Dialogs().Errors().empty());
}

TEST_F(NotebookTest, ItsCommandsReachTheOtherWindowsTheHelpTheShellAndTheFontStore) {
  Create();
  Show();
  PlaceholderForm editor("TNotebookTestForm", "Editor", ApplicationWindow());
  PlaceholderForm about("TNotebookTestForm", "About", ApplicationWindow());
  Forms().frmEditor = &editor;
  Forms().AboutBox = &about;
  ToolbarClick(P::btnEditor);
  MenuCommand(notebook->Handle(), P::About2);
  EXPECT_TRUE(editor.Visible() && about.Visible());

  ToolbarClick(P::btnHelp);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], notebook->PopupMenuHelp());
  // Help: neither help file nor guide does nothing; the guide opens at the
  // notebook's page where it has one; the help file goes first.
  MenuCommand(notebook->Handle(), P::Contents2);
  const std::string section = Path("Pendra Guide files\\notebook.html");
  WriteFileBytes(Path("Pendra Guide.html"), "guide");
  MenuCommand(notebook->Handle(), P::Contents2);
  CreateDirectoryA(Path("Pendra Guide files").c_str(), nullptr);
  WriteFileBytes(section, "section");
  MenuCommand(notebook->Handle(), P::Contents1);
  WriteFileBytes(Path("Pendra.hlp"), "help");
  MenuCommand(notebook->Handle(), P::Contents1);
  EXPECT_EQ(TestEnv().help.shown, (std::vector<std::string>{Path("Pendra.hlp")}));
  EXPECT_EQ(TestEnv().shell.opened, (std::vector<std::string>{Path("Pendra Guide.html"), section}));
  EXPECT_EQ(TestEnv().shell.owners, (std::vector<NativeWindow>(2, notebook->Handle())));
  TestEnv().shell = FakeShell{};

  SendMessageA(Page(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  ASSERT_EQ(popups.size(), 2u);
  EXPECT_EQ(popups[1], notebook->PopupMenuNotes());

  // A click on a link goes to the shell, with the notebook as its owner.
  const std::string url = "http://example.com/notes";
  notebook->redtPendra().SetText(url + " ");
  PumpMessages();
  POINTL at{};
  SendMessageA(Page(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 3);
  SendMessageA(Page(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x + 2, at.y + 4));
  SendMessageA(Page(), WM_LBUTTONUP, 0, MAKELPARAM(at.x + 2, at.y + 4));
  PumpMessages();
  EXPECT_EQ(TestEnv().shell.opened, (std::vector<std::string>{url}));
  EXPECT_EQ(TestEnv().shell.owners.at(0), notebook->Handle());

  // The font dialog cancelled on first use stores the font the page has.
  ToolbarClick(P::btnFonts);
  EXPECT_EQ(TestEnv().dialogs.fontRequests.size(), 1u);
  TRegIniFile ini(*Svc().registry, kNotebookKey);
  EXPECT_EQ(ini.ReadString("Fonts", "Font Name", "-") + "/" + ini.ReadString("Fonts", "Font BoldItalic", "-") +
                ini.ReadString("Fonts", "Font Bold", "-"),
            "MS Sans Serif/10");
}

// The menus' shortcuts act wherever in the window the keyboard is, once.
TEST_F(NotebookTest, MenuShortcutsWorkFromEveryControlOnce) {
  Create();
  Show();
  auto ctrlKey = [](HWND to, WPARAM vk) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SetFocus(to);
    PostMessageA(to, WM_KEYDOWN, vk, 1);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchProgramMessage(msg);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    PumpMessages();
  };
  ctrlKey(FindWindowExA(notebook->Handle(), nullptr, WC_TABCONTROLA, nullptr), 'F');
  EXPECT_EQ(TestEnv().dialogs.fontRequests.size(), 1u);
  ctrlKey(Page(), 'F');
  EXPECT_EQ(TestEnv().dialogs.fontRequests.size(), 2u);
}

// Pages as other programs write them: in UTF-8 with and without the mark, in
// UTF-16, in the code page (1252, or 932 in the Japanese pass, second bytes
// '\' included), with lone CRs and LFs.
TEST_F(NotebookTest, PagesWrittenElsewhereKeepTheirBytesUntilEditedAndTheirEncodingAfterAlsoInJapaneseAndUtf8CodePage) {
  const bool japanese = GetACP() == 932, utf8 = GetACP() == CP_UTF8;
  if (!japanese && !utf8 && GetACP() != 1252) GTEST_SKIP() << "neither code page 1252, 932 nor 65001";
  // Characters code page 932 lacks too.
  const std::string mixed = "Café au lait €3\r\nПривет, мир\r\n日本語のメモ";
  const std::string sjis = "\x97\x5C\x92\xE8\x95\x5C\r\n\x83\x5C\x83\x74\x83\x67";
  // Longer than a piece the control reads at a time, a piece ending between
  // the two bytes of a character (in 932; in 1252 between two characters).
  std::string longSjis = "a", longShown = "a";
  for (int i = 0; i < 2500; ++i) longSjis += "\x97\x5C\x92\xE8", longShown += japanese ? "予定" : "\u2014\\\u2019\u00E8";
  struct Case {
    const char* tab;
    std::string bytes, shown, edited;  // edited: after an "x" typed at the start
    bool readOnly = false;               // no save could give the bytes back
  };
  std::vector<Case> cases = {
      {"Mark", "\xEF\xBB\xBF" + mixed, mixed, "\xEF\xBB\xBFx" + mixed},
      {"NoMark", mixed, mixed, "x" + mixed},
      {"MarkAscii", "\xEF\xBB\xBFplain", "plain", "\xEF\xBB\xBFxplain"},
      japanese ? Case{"ShiftJis", sjis, "予定表\r\nソフト", "x" + sjis}
               : Case{"Ansi", "Caf\xE9 au lait \x80" "3\r\n\x81\x8D\xFF", "Café au lait €3\r\n\u0081\u008Dÿ",
                      "xCaf\xE9 au lait \x80" "3\r\n\x81\x8D\xFF"},
      {"BareCr", "one\rtwo\r\r\nthree\nfour", "one\r\ntwo\r\n\r\nthree\r\nfour", "xone\r\ntwo\r\n\r\nthree\r\nfour"},
      {"Long", longSjis, longShown, "x" + longSjis},
      {"Utf16Le", Utf16File(mixed, TextEncoding::Utf16Le), mixed, Utf16File("x" + mixed, TextEncoding::Utf16Le)},
      {"Utf16Be", Utf16File("one\ntwo", TextEncoding::Utf16Be), "one\r\ntwo",
       Utf16File("xone\r\ntwo", TextEncoding::Utf16Be)},
      {"U32", std::string("\xFF\xFE\0\0\x16\x04\0\0\0\xF6\x01\0z\0\0\0", 16), "Ж😀z",
       std::string("\xFF\xFE\0\0\x16\x04\0\0\0\xF6\x01\0z\0\0\0", 16), true},
  };
  // Not UTF-8 after its mark: every byte kept in the code page (1252, where
  // the mark's bytes are characters).
  if (!japanese) cases.push_back({"BadMark", "\xEF\xBB\xBF\x41\xE9", "ï»¿Aé", "x\xEF\xBB\xBF\x41\xE9"});
  // Under UTF-8 as the code page, bytes of another code page are no text of it.
  if (utf8) std::erase_if(cases, [](const Case& c) { return std::string_view("Ansi Long BadMark").find(c.tab) != std::string_view::npos; });
  std::string tabs;
  for (const auto& c : cases) {
    WriteFileBytes(Path(std::string(c.tab) + ".pnd"), c.bytes);
    tabs += std::string(c.tab) + "\r\n";
  }
  Create((tabs + "Other\r\n").c_str());
  const int other = static_cast<int>(std::size(cases));
  Show();
  // Every tab in sight, none scrolled away from the clicks.
  SetWindowPos(notebook->Handle(), nullptr, 0, 0, 1000, 400, SWP_NOZORDER);
  ClickTab(other);
  const Files stored = Snapshot();
  for (int i = 0; i < other; ++i) {
    SCOPED_TRACE(cases[i].tab);
    const std::size_t told = TestEnv().dialogs.shown.size();
    ClickTab(i);
    EXPECT_EQ(PageWide(), Utf8ToWide(cases[i].shown));
    EXPECT_EQ(TestEnv().dialogs.shown.size() - told, cases[i].readOnly ? 1u : 0u);
    ClickTab(other);
    ClickTab(i);
  }
  notebook->Close();
  EXPECT_EQ(Snapshot(), stored);  // viewed only: every byte as it was

  Show();
  for (int i = 0; i < other; ++i) {
    SCOPED_TRACE(cases[i].tab);
    ClickTab(i);
    Type("x");
    ClickTab(other);
    EXPECT_EQ(File(std::string(cases[i].tab) + ".pnd"), cases[i].edited);
    ClickTab(i);
    EXPECT_EQ(PageWide(), Utf8ToWide((cases[i].readOnly ? "" : "x") + cases[i].shown));
  }
}

TEST_F(NotebookTest, ACharacterTheCodePageCannotHoldTurnsThePageToUtf8WithTheMark) {
  WriteFileBytes(Path("A.pnd"), "Caf\xE9 \x80");
  Create("A\r\nB\r\n");
  Show();
  // Typed on a keyboard of another language, then pasted.
  TypeUnicode(Page(), L'\x0416');
  SetClipboardUnicode(L"\x65E5 ");
  ToolbarClick(P::btnPaste);
  const std::string utf8 = "\xEF\xBB\xBF" "Ж日 Café €";
  // The text-file export writes what the page would store.
  Dialogs().saveAnswers.push_back(Path("out.txt"));
  MenuCommand(notebook->Handle(), P::SaveasTextFile1);
  EXPECT_EQ(File("out.txt"), utf8);
  ClickTab(1);
  EXPECT_EQ(File("A.pnd"), utf8);
  ClickTab(0);
  EXPECT_EQ(PageWide(), Utf8ToWide("Ж日 Café €"));
  // From then on the page stays UTF-8, also without such a character.
  MenuCommand(notebook->Handle(), P::ClearAll1);
  Type("plain");
  ClickTab(1);
  EXPECT_EQ(File("A.pnd"), "\xEF\xBB\xBFplain");
  // In overtype (Insert) such a character takes the place of the one after
  // the caret, as the control's own typing does.
  ClickTab(0);
  notebook->redtPendra().Select(0, 0);
  KeyThroughLoop(VK_INSERT, {}, Page());
  TypeUnicode(Page(), L'\x0416');
  KeyThroughLoop(VK_INSERT, {}, Page());
  EXPECT_EQ(PageWide(), L"\x0416lain");
  SetClipboardText(nullptr);
}

}  // namespace
}  // namespace pendra::test
