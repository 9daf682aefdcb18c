// The text editor's window driven by real messages: the modified flag and the
// save-changes question, files opened and saved byte for byte, the recent
// files, and the program's exit while the editor holds unsaved text.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/tray_window_win.h"
#include "notes/editor_window_win.h"
#include "notes/text_document_win.h"
#include "settings/reg_ini.h"
#include "tests/win/fresh_forms_test_win.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

using E = TfrmEditor;

class EditorTest : public FreshFormsTest {
 protected:
  void TearDown() override {
    editor.reset();
    FreshFormsTest::TearDown();
  }

  E& Editor() {
    if (!editor) {
      editor = std::make_unique<E>();
      editor->popupMenu = [this](HWND, HMENU menu, POINT at) { popups.push_back({menu, at}); };
    }
    return *editor;
  }
  void Show() {
    Editor().Show();
    PumpMessages();
  }
  HWND Text() { return Editor().redtEditor().Handle(); }
  void Type(const std::string& chars) {
    for (char c : chars) PressKey(Text(), static_cast<WPARAM>(VkKeyScanA(c) & 0xFF), c);
  }
  void Command(int id) { MenuCommand(Editor().Handle(), id); }
  std::string Caption() { return GetText(Editor().Handle()); }
  RECT RectOf() { return WindowRectOf(Editor().Handle()); }
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path = TestEnv().folder + name;
    WriteFileBytes(path, bytes);
    return path;
  }
  void Open(const std::string& path) {
    Dialogs().openAnswers.push_back(path);
    Command(E::btnOpen);
  }
  static FakeDialogs& Dialogs() { return TestEnv().dialogs; }
  static std::string Mru(int n) {
    std::string value;
    return Svc().registry->Read(kEditorKey, "MRU" + std::to_string(n), value) == ValueKind::Text
               ? value
               : "-";
  }
  static void StoreMru(const RecentFiles& list) {
    for (int i = 0; i < kRecentSlots; ++i)
      Svc().registry->WriteText(kEditorKey, "MRU" + std::to_string(i + 1), list[i]);
  }
  static void StoreDword(const char* name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kEditorKey, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD value = 7;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  std::string MenuText(int id) {
    char text[MAX_PATH] = {};
    return GetMenuStringA(Editor().mnuFile(), static_cast<UINT>(id), text, sizeof text,
                          MF_BYCOMMAND) > 0
               ? text
               : "-";
  }

  std::unique_ptr<E> editor;
  std::vector<std::pair<HMENU, POINT>> popups;
};

TEST_F(EditorTest, TheFlagSurvivesDeletingAllAndTheQuestionForAnUntitledTextHasTwoBlanks) {
  Show();
  EXPECT_EQ(Caption(), "Editor");
  // The right button opens the text's context menu.
  SendMessageA(Text(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  SendMessageA(Text(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0].first, Editor().PopupMenuNotes());
  Type("abc");
  EXPECT_TRUE(Editor().Modified());
  SendMessageA(Text(), EM_SETSEL, 0, -1);
  PressKey(Text(), VK_DELETE);
  ASSERT_EQ(Editor().redtEditor().TextLength(), 0);
  EXPECT_TRUE(Editor().Modified());

  Command(E::btnNew);  // Cancel
  ASSERT_EQ(Dialogs().questions.size(), 1u);
  EXPECT_EQ(Dialogs().questions[0],
            "The document  has changed.\r\rDo you want to save the changes?");
  EXPECT_EQ(Dialogs().questionOwners[0], Editor().Handle());
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Caption(), "Editor");

  Dialogs().questionAnswers.push_back(YesNoCancel::No);
  Command(E::New1);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(Caption(), "Editor  - [Untitled]");
  Command(E::New1);  // clean: no question
  EXPECT_EQ(Dialogs().questions.size(), 2u);

  // Yes on an untitled text runs Save As; its cancel cancels the New.
  Type("x");
  Dialogs().questionAnswers.push_back(YesNoCancel::Yes);
  Command(E::New1);
  EXPECT_EQ(Dialogs().saveRequests.size(), 1u);
  EXPECT_EQ(Editor().redtEditor().Text(), "x");
  EXPECT_TRUE(Editor().Modified());
}

TEST_F(EditorTest, AFileOfEveryByteComesBackByteForByteAndALargeOneIsReplacedWhole) {
  std::string bytes;
  for (int b = 1; b <= 255; ++b) {
    if (b == '\r' || b == '\n') continue;
    bytes += static_cast<char>(b);
    if (b % 16 == 0) bytes += "\r\n";
  }
  bytes += "\r\n\r\nlast line without an end";
  const std::string path = File("every byte.txt", bytes);
  std::string large;
  while (large.size() < 100000) large += "A line of a large file.\r\n";
  const std::string big = File("large.txt", large);

  Show();
  Open(big);
  const HWND first = Text();
  Open(path);
  EXPECT_NE(Text(), first);  // a new control window took the large text's place
  EXPECT_EQ(Caption(), "Editor - " + path);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_TRUE(Dialogs().shown.empty());

  // A change undone still counts as a change: Save writes the text as it is.
  SendMessageA(Text(), EM_SETSEL, 0, 0);
  Type("z");
  PressKey(Text(), VK_BACK);
  ASSERT_TRUE(Editor().Modified());
  WriteFileBytes(path, "changed meanwhile");
  Command(E::btnSave);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(ReadFileBytes(path), bytes);
  // Save on a clean text does nothing, whatever became of the file.
  WriteFileBytes(path, "changed again");
  Command(E::Save1);
  EXPECT_EQ(ReadFileBytes(path), "changed again");

  const std::string copy = TestEnv().folder + "copy.txt";
  Dialogs().saveAnswers.push_back(copy);
  Command(E::SaveAs1);
  ASSERT_FALSE(Dialogs().saveRequests.empty());
  EXPECT_EQ(Dialogs().saveRequests.back().initialFile, path);
  EXPECT_EQ(ReadFileBytes(copy), bytes);
  EXPECT_EQ(Caption(), "Editor - " + copy);
}

TEST_F(EditorTest, RecentFilesMoveUpDropTheOldestAndAreStoredAtOnce) {
  RecentFiles paths;
  for (int i = 0; i < kRecentSlots; ++i)
    paths[i] = File("f" + std::to_string(i + 1) + ".txt", "file " + std::to_string(i + 1));
  StoreMru(paths);
  Show();
  EXPECT_EQ(Editor().Recent(), paths);

  Open(paths[2]);  // slot 3 to slot 1
  EXPECT_EQ(Editor().Recent(), (RecentFiles{paths[2], paths[0], paths[1], paths[3], paths[4]}));
  EXPECT_EQ(Mru(1), paths[2]);  // stored at once, not only at close
  const std::string sixth = File("f6.txt", "six");
  Open(sixth);
  EXPECT_EQ(Editor().Recent(), (RecentFiles{sixth, paths[2], paths[0], paths[1], paths[3]}));
  std::string upper = sixth;
  upper.replace(upper.size() - 6, 6, "F6.TXT");
  Open(upper);  // the same file under another letter case takes a slot of its own
  EXPECT_EQ(Editor().Recent()[0], upper);
  EXPECT_EQ(Editor().Recent()[1], sixth);

  const RecentFiles before = Editor().Recent();
  const std::string caption = Caption();
  Type("x");
  Command(E::SaveAs1);  // cancelled
  EXPECT_EQ(Editor().Recent(), before);
  EXPECT_EQ(Caption(), caption);

  SendMessageA(Editor().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Editor().mnuFile()), 0);
  EXPECT_EQ(GetMenuItemCount(Editor().mnuFile()), 9 + 1 + kRecentSlots);
  EXPECT_EQ(MenuText(E::MRU1), upper);
  EXPECT_EQ(MenuText(E::MRU5), paths[1]);

  // A recent file asks before dropping the unsaved text; Cancel keeps all.
  Command(E::MRU4);
  ASSERT_EQ(Dialogs().questions.size(), 1u);
  EXPECT_EQ(Editor().redtEditor().Text(), "xsix");
  EXPECT_EQ(Editor().Recent(), before);
  Dialogs().questionAnswers.push_back(YesNoCancel::No);
  Command(E::MRU4);
  EXPECT_EQ(Editor().redtEditor().Text(), "file 1");
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(Caption(), "Editor - " + paths[0]);
  EXPECT_EQ(Editor().Recent(), (RecentFiles{paths[0], upper, sixth, paths[2], paths[1]}));
  EXPECT_EQ(Mru(1), paths[0]);

  // A file that cannot be read changes nothing.
  DeleteFileA(paths[2].c_str());
  Command(E::MRU4);
  ASSERT_EQ(Dialogs().Errors().size(), 1u);
  EXPECT_EQ(Dialogs().Errors()[0].text, "Cannot open file " + paths[2] + ".");
  EXPECT_EQ(Caption(), "Editor - " + paths[0]);
  EXPECT_EQ(Editor().Recent()[0], paths[0]);
}

TEST_F(EditorTest, AFailedSaveKeepsTheFlagAndTheQuestionComesAgain) {
  Show();
  Type("keep me");
  const std::string nowhere = TestEnv().folder + "no such folder\\a.txt";
  Dialogs().saveAnswers.push_back(nowhere);
  Command(E::btnSave);
  ASSERT_EQ(Dialogs().Errors().size(), 1u);
  EXPECT_EQ(Dialogs().Errors()[0].text, "Cannot create file " + nowhere + ".");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Editor().FileName(), "");
  EXPECT_EQ(Caption(), "Editor");
  EXPECT_EQ(Mru(1), "");

  // The close box asks; Yes asks for the name again, as the failed one was
  // not taken, and the window stays.
  Dialogs().questionAnswers.push_back(YesNoCancel::Yes);
  Dialogs().saveAnswers.push_back(nowhere);
  SendMessageA(Editor().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Dialogs().Errors().size(), 2u);
  EXPECT_TRUE(IsWindowVisible(Editor().Handle()));
  EXPECT_TRUE(Editor().Modified());

  // A failed Save As of a file keeps its name: the next Save writes the file
  // that the caption and the recent files name.
  const std::string file = File("a.txt", "old");
  Dialogs().questionAnswers.push_back(YesNoCancel::No);
  Open(file);
  Type("new ");
  Dialogs().saveAnswers.push_back(nowhere);
  Command(E::SaveAs1);
  EXPECT_EQ(Dialogs().Errors().size(), 3u);
  EXPECT_EQ(Editor().FileName(), file);
  Command(E::btnSave);
  EXPECT_EQ(Dialogs().Errors().size(), 3u);
  EXPECT_EQ(ReadFileBytes(file), "new old");
  EXPECT_EQ(Caption(), "Editor - " + file);
  EXPECT_EQ(Mru(1), file);
  EXPECT_FALSE(Editor().Modified());
}

TEST_F(EditorTest, CloseStoresTheWindowOnlyWhenShownAndAWronglyTypedRecentFileIsKept) {
  Editor().Close();  // never shown: nothing asked, nothing written
  EXPECT_FALSE(Svc().registry->KeyExists(kEditorKey));

  StoreMru({"a", "b", "", "", ""});
  StoreDword("MRU3");
  Show();
  ASSERT_EQ(Dialogs().Errors().size(), 1u);
  EXPECT_EQ(Dialogs().Errors()[0].text, "Invalid data type for 'MRU3'");
  EXPECT_TRUE(IsWindowVisible(Editor().Handle()));
  EXPECT_EQ(Editor().Recent()[1], "b");
  const std::string path = File("x.txt", "x");
  Open(path);
  EXPECT_EQ(Editor().Recent()[0], path);
  SetWindowPos(Editor().Handle(), nullptr, 100, 120, 500, 300, SWP_NOZORDER);
  Command(E::btnExit);
  EXPECT_FALSE(IsWindowVisible(Editor().Handle()));
  EXPECT_EQ(Mru(1), "a");  // the list was not written over the value it could not read
  EXPECT_EQ(Mru(3), "-");
  const TRegIniFile ini(*Svc().registry, kEditorKey);
  EXPECT_EQ(ini.ReadInteger("Position", "Left", 0), 100);
  EXPECT_EQ(ini.ReadInteger("Size", "Height", 0), 300);

  // The text stays for the next show; the list is read again.
  Svc().registry->DeleteTree(kEditorKey);
  Show();
  EXPECT_EQ(Editor().redtEditor().Text(), "x");
  EXPECT_EQ(Editor().Recent(), RecentFiles{});
  EXPECT_EQ(Mru(5), "");  // a missing key is created with five empty values
  EXPECT_EQ(RectOf().left, 100);
}

class UnkeptLoadEditor : public TfrmEditor {
 protected:
  TextLoad LoadText(const std::string& path) override {
    TfrmEditor::LoadText(path);
    return {false};
  }
};

// Recent files that name no file the editor can read, as a hand-edited
// registry can hold them: each click says so once and changes nothing.
TEST_F(EditorTest, ARecentFileThatNamesNoFileIsToldOnceAndChangesNothing) {
  const std::string path = File("kept.txt", "kept");
  const RecentFiles bad{"CON", "\\\\.\\COM1", "C:\\a<b>|c.txt\x01", std::string(100000, 'x'), ""};
  StoreMru(bad);
  Show();
  Open(path);
  const RecentFiles before = Editor().Recent();
  const int items = GetMenuItemCount(Editor().mnuFile());
  SendMessageA(Editor().Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Editor().mnuFile()), 0);
  EXPECT_EQ(GetMenuItemCount(Editor().mnuFile()), items + 6);  // a separator and the five files
  for (int slot = 1; slot < kRecentSlots; ++slot) {
    SCOPED_TRACE(before[static_cast<std::size_t>(slot)]);
    Dialogs().Clear();
    Command(E::MRU1 + slot);
    ASSERT_EQ(Dialogs().Errors().size(), 1u);
    EXPECT_EQ(Dialogs().Errors()[0].text.find("Cannot open file "), 0u) << Dialogs().Errors()[0].text;
    EXPECT_EQ(Editor().FileName(), path);
    EXPECT_EQ(Editor().Recent(), before);
  }
}

TEST_F(EditorTest, AFileTheControlCouldNotKeepIsToldAndSavingOverItAsks) {
  editor = std::make_unique<UnkeptLoadEditor>();
  Show();
  const std::string path = File("zero.txt", "text");
  Open(path);
  ASSERT_EQ(Dialogs().shown.size(), 1u);
  EXPECT_EQ(Dialogs().shown[0].icon, MsgIcon::Warning);
  EXPECT_NE(Dialogs().shown[0].text.find(path), std::string::npos);
  EXPECT_FALSE(Editor().Modified());

  Type("!");
  Command(E::btnSave);  // No
  ASSERT_EQ(Dialogs().confirmations.size(), 1u);
  EXPECT_EQ(ReadFileBytes(path), "text");
  EXPECT_TRUE(Editor().Modified());
  Dialogs().confirmAnswers.push_back(true);
  Command(E::btnSave);
  EXPECT_EQ(ReadFileBytes(path), "!text");
  Type("?");
  Command(E::btnSave);  // the file now holds what the user saw: no question
  EXPECT_EQ(Dialogs().confirmations.size(), 2u);
  EXPECT_EQ(ReadFileBytes(path), "!?text");
}

// A file over the 32 MB a text control takes is refused whole, by its size,
// and kept. (The notebook's and quick notes' refusal: the hostile walk.)
TEST_F(EditorTest, AFileOver32MbIsRefusedAndKept) {
  Show();
  const std::string path = TestEnv().folder + "big.txt";
  testing_files::WriteSparseFile(path, kMaxTextFileBytes + 1);
  Open(path);
  EXPECT_EQ(Editor().redtEditor().TextLength(), 0);
  ASSERT_EQ(Dialogs().Errors().size(), 1u);
  EXPECT_EQ(Dialogs().Errors()[0].text, "Cannot open file " + path + ". It is larger than 32 MB, more than Pendra can show.");
  Guarded([&] { Editor().Close(); });
  EXPECT_EQ(ReadFileBytes(path).size(), kMaxTextFileBytes + 1);
}

// The editor's control holds the code page only: a UTF-8 or UTF-16 file is
// told (UTF-16 shown as text), and saving over it asks; a code-page file is
// neither, also one longer than a piece of the control's read, of double-byte
// characters in the Japanese pass. A file no save could give back is shown
// read-only and told; it is never written, and the text saved elsewhere can
// be edited.
TEST_F(EditorTest, AUnicodeFileIsToldAndSavingOverItAsksAlsoInJapanese) {
  Show();
  std::string longText = "a";
  for (int i = 0; i < 2500; ++i) longText += "\x97\x5C\x92\xE8";  // 予定 in 932
  const struct {
    const char* name;
    std::string bytes;
    const char* told;  // nullptr: nothing
    bool readOnly = false;
  } files[] = {{"mark.txt", "\xEF\xBB\xBFplain", "stored as UTF-8"},
               {"cyrillic.txt", "Привет, Café €3", "stored as UTF-8"},
               {"utf16.txt", Utf16File("plain\r\ntext", TextEncoding::Utf16Le), "stored as UTF-16"},
               {"utf32.txt", std::string("\0\0\xFE\xFF\0\0\0o\0\0\0k", 12), "shown read-only: it is stored as UTF-32", true},
               {"odd.txt", Utf16File("ok", TextEncoding::Utf16Be) + "!", "shown read-only: it is stored as UTF-16 but", true},
               {"ansi.txt", GetACP() == 932 ? "\x97\x5C\x92\xE8\x95\x5C" : "Caf\xE9 \x80" "3", nullptr},
               {"long.txt", longText, nullptr}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    Dialogs().Clear();
    Dialogs().questionAnswers.push_back(YesNoCancel::No);  // the changes of the file before
    const std::string path = File(f.name, f.bytes);
    Open(path);
    ASSERT_EQ(Dialogs().shown.size(), f.told ? 1u : 0u);
    if (f.told) EXPECT_EQ(Dialogs().shown[0].text.find(path + " is " + f.told), 0u);
    if (f.told && std::string_view(f.told) == "stored as UTF-16") EXPECT_EQ(Editor().redtEditor().Text(), "plain\r\ntext");
    Type("!");
    Command(E::btnSave);  // No, where it asks
    EXPECT_EQ(Dialogs().confirmations.size(), f.told && !f.readOnly ? 1u : 0u);
    EXPECT_EQ(ReadFileBytes(path), f.told ? f.bytes : "!" + f.bytes);
    if (!f.readOnly) continue;
    Dialogs().saveAnswers = {path, path + ".txt"};
    Command(E::SaveAs1);  // refused
    Command(E::SaveAs1);
    EXPECT_EQ(ReadFileBytes(path) + "|" + ReadFileBytes(path + ".txt"), f.bytes + "|ok");
    EXPECT_FALSE(Editor().redtEditor().ReadOnly());
  }
}

TEST_F(EditorTest, ExitPendraAsksForAModifiedVisibleEditorAndCancelKeepsTheProgramRunning) {
  std::vector<int> quits;
  TrayApi().notifyIcon = [](DWORD, NOTIFYICONDATAA*) { return TRUE; };
  TrayApi().postQuit = [&](int code) { quits.push_back(code); };
  Forms().frmEditor = &Editor();
  Forms().editorQuery = &Editor();
  {
    TfrmTray tray;
    Show();
    Type("unsaved");
    MenuCommand(tray.Handle(), kMnuClose);  // Cancel
    ASSERT_EQ(Dialogs().questions.size(), 1u);
    EXPECT_TRUE(quits.empty());
    EXPECT_TRUE(IsWindowVisible(Editor().Handle()));
    EXPECT_TRUE(Editor().Modified());

    EXPECT_EQ(SendMessageA(tray.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(Dialogs().questions.size(), 2u);

    Dialogs().questionAnswers.push_back(YesNoCancel::No);
    MenuCommand(tray.Handle(), kMnuClose);
    EXPECT_EQ(Dialogs().questions.size(), 3u);  // asked once, not again by the editor's close
    EXPECT_EQ(quits, std::vector<int>{0});
    EXPECT_FALSE(IsWindowVisible(Editor().Handle()));
    EXPECT_FALSE(Editor().Modified());
  }
  TrayApi() = TrayPlatform{};
}

}  // namespace
}  // namespace pendra::test
