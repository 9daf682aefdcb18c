// Quick notes driven by real messages: the note file created at start and
// written at each close, never over a note that could not be read; the
// window's place; the context menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "notes/quick_notes_win.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

using Q = TfrmQuickie;

class QuickNotesTest : public ::testing::Test {
 protected:
  void SetUp() override { TestEnv().Reset(); }

  Q& Create() {
    quickie = std::make_unique<Q>();
    quickie->popupMenu = [this](HWND, HMENU menu, POINT at) {
      menus.push_back(menu);
      popups.push_back(at);
    };
    return *quickie;
  }
  HWND Note() const { return quickie->RichEditQuick().Handle(); }
  void Type(const std::string& chars) {
    for (char c : chars) PressKey(Note(), static_cast<WPARAM>(VkKeyScanA(c) & 0xFF), c);
  }
  std::string NotePath() const { return TestEnv().folder + "Quick.qnf"; }
  static bool Stored(const char* section) {
    return Svc().registry->KeyExists(std::string(kQuicknotesKey) + "\\" + section);
  }

  std::unique_ptr<Q> quickie;
  std::vector<HMENU> menus;
  std::vector<POINT> popups;
};

TEST_F(QuickNotesTest, TheNoteFileIsCreatedAtStartAndWrittenOnlyAtClose) {
  Create();
  EXPECT_EQ(quickie->Handle(), nullptr);  // nothing built before the first show
  ASSERT_TRUE(FileExists(NotePath()));
  EXPECT_EQ(ReadFileBytes(NotePath()), "");

  quickie->Show();
  const RECT r = WindowRectOf(quickie->Handle());
  EXPECT_EQ(r.left, 330);
  EXPECT_EQ(r.top, 245);
  EXPECT_EQ(r.right - r.left, 359);
  EXPECT_EQ(r.bottom - r.top, 185);
  const LONG ex = GetWindowLongA(quickie->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE((ex & WS_EX_TOPMOST) && (ex & WS_EX_TOOLWINDOW));
  RECT client{};
  GetClientRect(quickie->Handle(), &client);
  const RECT note = WindowRectOf(Note());
  EXPECT_EQ(note.right - note.left, client.right);  // the note fills the window
  EXPECT_EQ(note.bottom - note.top, client.bottom);

  Type("hello");
  EXPECT_EQ(ReadFileBytes(NotePath()), "");
  MenuCommand(quickie->Handle(), Q::Exit1);
  EXPECT_FALSE(IsWindowVisible(quickie->Handle()));
  EXPECT_EQ(ReadFileBytes(NotePath()), "hello");
  EXPECT_EQ(TRegIniFile(*Svc().registry, kQuicknotesKey).ReadInteger("Size", "Width", 0), 359);
}

TEST_F(QuickNotesTest, ClosingWhileHiddenWritesAChangedNoteButNotTheBounds) {
  WriteFileBytes(NotePath(), "stored\r\nnote");
  Create();
  WriteFileBytes(NotePath(), "changed by someone else");
  quickie->Close();  // nothing changed: the file stays as it is
  EXPECT_EQ(ReadFileBytes(NotePath()), "changed by someone else");
  quickie->RichEditQuick().SetText("stored\r\nnote, changed");
  quickie->Close();
  EXPECT_EQ(ReadFileBytes(NotePath()), "stored\r\nnote, changed");
  EXPECT_FALSE(Stored("Position"));
  EXPECT_FALSE(Stored("Size"));
  quickie->Show();
  EXPECT_EQ(quickie->RichEditQuick().Text(), "stored\r\nnote, changed");
}

// Notes as other programs write them: read before the window exists, left as
// they are until edited, then saved in the encoding they came in.
TEST_F(QuickNotesTest, ANoteWrittenElsewhereKeepsItsBytesUntilEditedAndItsEncodingAfterAlsoInUtf8CodePage) {
  const std::string mixed = "Café au lait €3\r\nПривет\r\n日本語";
  struct Case {
    std::string bytes, shown, edited;
    bool readOnly = false;  // no save could give the bytes back: told, never written
  };
  std::vector<Case> cases = {
      {"\xEF\xBB\xBF" + mixed, mixed, "\xEF\xBB\xBFx" + mixed},
      {mixed, mixed, "x" + mixed},
      {Utf16File(mixed, TextEncoding::Utf16Be), mixed, Utf16File("x" + mixed, TextEncoding::Utf16Be)},
      {"one\rtwo\r\r\nthree", "one\r\ntwo\r\n\r\nthree", "xone\r\ntwo\r\n\r\nthree"},
      {std::string("\0\0\xFE\xFF\0\0\x04\x16", 8), "Ж", std::string("\0\0\xFE\xFF\0\0\x04\x16", 8), true},
      {Utf16File("one", TextEncoding::Utf16Le) + "!", "one", Utf16File("one", TextEncoding::Utf16Le) + "!", true},
  };
  // Bytes of code page 1252, which UTF-8 as the code page does not read so.
  if (GetACP() == 1252) cases.push_back({"Caf\xE9 \x80" "3", "Café €3", "xCaf\xE9 \x80" "3"});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    WriteFileBytes(NotePath(), c.bytes);
    Create();
    quickie->Close();  // the exit, never shown
    const std::size_t told = TestEnv().dialogs.shown.size();
    quickie->Show();
    EXPECT_EQ(TestEnv().dialogs.shown.size() - told, c.readOnly ? 1u : 0u);
    EXPECT_EQ(quickie->RichEditQuick().WideText(), Utf8ToWide(c.shown));
    MenuCommand(quickie->Handle(), Q::Exit1);
    EXPECT_EQ(ReadFileBytes(NotePath()), c.bytes);
    quickie->Show();
    Type("x");
    MenuCommand(quickie->Handle(), Q::Exit1);
    EXPECT_EQ(ReadFileBytes(NotePath()), c.edited);
  }

  // A character the code page cannot hold, pasted from the menu.
  WriteFileBytes(NotePath(), "milk");
  Create().Show();
  SetClipboardUnicode(L"\x0416 ");
  quickie->RichEditQuick().Select(0, 0);
  MenuCommand(quickie->Handle(), Q::Paste1);
  MenuCommand(quickie->Handle(), Q::Exit1);
  EXPECT_EQ(ReadFileBytes(NotePath()), GetACP() == CP_UTF8 ? "Ж milk" : "\xEF\xBB\xBFЖ milk");
}

TEST_F(QuickNotesTest, ANoteChangedElsewhereIsShownOnActivationOrKeptBesideItsOwnEdit) {
  WriteFileBytes(NotePath(), "mine");
  Create().Show();
  auto activate = [&] { SendMessageA(quickie->Handle(), WM_ACTIVATE, WA_ACTIVE, 0); };
  WriteFileBytes(NotePath(), "them");  // another program, the same size
  activate();
  EXPECT_EQ(quickie->RichEditQuick().Text(), "them");
  Type("x");
  WriteFileBytes(NotePath(), "a third program");
  activate();  // the edit is not dropped
  MenuCommand(quickie->Handle(), Q::Exit1);
  const std::string copy = TestEnv().folder + "Backup\\Quick 2000-06-19 13-05-00 from another program.qnf";
  EXPECT_EQ(ReadFileBytes(NotePath()) + "|" + ReadFileBytes(copy), "xthem|a third program");
  EXPECT_NE(TestEnv().dialogs.shown.at(0).text.find(" is kept as " + copy + "."), std::string::npos);
}

TEST_F(QuickNotesTest, F10OpensTheMenuAtTheSamePlaceWhereverTheWindowIs) {
  Create().Show();
  for (POINT at : {POINT{0, 0}, POINT{700, 600}}) {
    SetWindowPos(quickie->Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(Note(), WM_SYSKEYDOWN, VK_F10, 1);
    SendMessageA(Note(), WM_KEYDOWN, VK_F10, 1);
  }
  ASSERT_EQ(popups.size(), 4u);
  for (POINT p : popups) EXPECT_TRUE(p.x == 125 && p.y == 50) << p.x << "," << p.y;
  EXPECT_EQ(menus[0], quickie->PopupMenu1());

  SendMessageA(Note(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
  POINT expected{10, 20};
  ClientToScreen(Note(), &expected);
  ASSERT_EQ(popups.size(), 5u);
  EXPECT_TRUE(popups[4].x == expected.x && popups[4].y == expected.y);
}

TEST_F(QuickNotesTest, ANoteThatCouldNotBeReadIsNeverWrittenOver) {
  // A folder in the note's place.
  CreateDirectoryA(NotePath().c_str(), nullptr);
  Create();
  quickie->Close();  // hidden, nothing typed
  quickie->Show();
  ASSERT_EQ(TestEnv().dialogs.Errors().size(), 1u);
  EXPECT_EQ(TestEnv().dialogs.Errors()[0].text, "Cannot open file " + NotePath() + ".");
  Type("new");
  MenuCommand(quickie->Handle(), Q::Exit1);
  EXPECT_EQ(TestEnv().dialogs.Errors().size(), 2u);
  EXPECT_TRUE(IsWindowVisible(quickie->Handle()));  // the note stays, unsaved
  EXPECT_TRUE(GetFileAttributesA(NotePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryA(NotePath().c_str());

  // A locked file: once it can be read, the note is read before the user types.
  TestEnv().Reset();
  WriteFileBytes(NotePath(), "locked note");
  HANDLE lock = CreateFileA(NotePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Create();
  quickie->Close();
  EXPECT_FALSE(quickie->NoteRead());
  CloseHandle(lock);
  EXPECT_EQ(ReadFileBytes(NotePath()), "locked note");
  quickie->Show();
  EXPECT_TRUE(quickie->NoteRead());
  EXPECT_EQ(quickie->RichEditQuick().Text(), "locked note");
  EXPECT_TRUE(TestEnv().dialogs.Errors().empty());
}

TEST_F(QuickNotesTest, TheFontIsRestoredOnceAtCreationAndACancelledChoiceStoresNothing) {
  TRegIniFile ini(*Svc().registry, kQuicknotesKey);
  ini.WriteString("Fonts", "Font Name", "Courier New");
  ini.WriteInteger("Fonts", "Font Size", 14);
  Create();
  ini.WriteString("Fonts", "Font Name", "Arial");
  quickie->Show();
  EXPECT_EQ(quickie->RichEditQuick().Font().name, "Courier New");
  EXPECT_EQ(quickie->RichEditQuick().Font().size, 14);

  Svc().registry->DeleteTree(std::string(kQuicknotesKey) + "\\Fonts");
  MenuCommand(quickie->Handle(), Q::Fonts1);  // cancelled
  ASSERT_EQ(TestEnv().dialogs.fontRequests.size(), 1u);
  EXPECT_FALSE(Stored("Fonts"));
}

}  // namespace
}  // namespace pendra::test
