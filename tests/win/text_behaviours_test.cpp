// The shared text behaviours on the real rich edit controls, driven by real
// messages, with the dialogs, shell and printer faked.
#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "notes/text_document_win.h"
#include "settings/errors.h"
#include "settings/list_file.h"
#include "tests/win/test_env_win.h"
#include "tests/win/text_host_win.h"

namespace pendra::test {
namespace {

class TextBehavioursTest : public ::testing::Test {
 protected:
  void SetUp() override { TestEnv().Reset(); }
  static FakeDialogs& Dialogs() { return TestEnv().dialogs; }
  static std::string Fonts(const char* key, const char* ident) {
    return TRegIniFile(*Svc().registry, key).ReadString("Fonts", ident, "<missing>");
  }
  static CHARFORMATA ShownFormat(HWND edit) {
    CHARFORMATA cf{};
    cf.cbSize = sizeof cf;
    SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    return cf;
  }
  static std::string Selected(const RichTextControl& c) {
    return std::to_string(c.SelStart()) + "+" + std::to_string(c.SelLength());
  }
  // Find Next as the find dialog sends it to its owner.
  static void PressFindNext(HWND owner, const char* text) {
    static char buffer[256];
    lstrcpynA(buffer, text, sizeof buffer);
    FINDREPLACEA find{};
    find.lStructSize = sizeof find;
    find.hwndOwner = owner;
    find.Flags = FR_FINDNEXT | FR_DOWN;
    find.lpstrFindWhat = buffer;
    find.wFindWhatLen = sizeof buffer;
    SendMessageA(owner, RegisterWindowMessageA(FINDMSGSTRINGA), 0, reinterpret_cast<LPARAM>(&find));
  }
  static void SetClipboardText(const char* text) {
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
};

TEST_F(TextBehavioursTest, FirstUseIsBoldItalicAtSizeZeroInBlackAndACancelStoresItOnlyWhenAsked) {
  for (FontCancel cancel : {FontCancel::StoreCurrentFont, FontCancel::StoreNothing}) {
    TestEnv().Reset();
    TextHost host(cancel);
    int changes = 0;  // a font is no change of the text
    host.richText.afterChange = [&] { ++changes; };
    host.richText.FontRestore();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(host.rich.Font(), (FontSpec{"MS Sans Serif", 0, 0, {true, true, false, false}}));
    const CHARFORMATA shown = ShownFormat(host.rich.Handle());
    EXPECT_EQ(shown.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE), DWORD{CFE_BOLD | CFE_ITALIC});
    EXPECT_EQ(shown.crTextColor, 0u);
    EXPECT_EQ(shown.yHeight, 200);  // size 0 shows at the designed size
    EXPECT_EQ(std::string(shown.szFaceName), "MS Sans Serif");

    EXPECT_TRUE(host.richText.Run(TextCommand::Fonts));  // cancelled
    ASSERT_EQ(Dialogs().fontRequests.size(), 1u);
    EXPECT_EQ(Dialogs().fontRequests[0], host.rich.Font());
    if (cancel == FontCancel::StoreCurrentFont) {
      EXPECT_EQ(Fonts(kNotebookKey, "Font Name"), "MS Sans Serif");
      EXPECT_EQ(Fonts(kNotebookKey, "Font Size"), "0");
      EXPECT_EQ(Fonts(kNotebookKey, "Font Bold"), "0");
      EXPECT_EQ(Fonts(kNotebookKey, "Font Italic"), "0");
      EXPECT_EQ(Fonts(kNotebookKey, "Font BoldItalic"), "1");
      // The default colour stays unstored: it shows in the system's colours.
      EXPECT_EQ(Fonts(kNotebookKey, "Font Color"), "<missing>");
    } else {
      EXPECT_FALSE(Svc().registry->KeyExists(std::string(kNotebookKey) + "\\Fonts"));
    }
  }
}

TEST_F(TextBehavioursTest, ABoldUnderlineChoiceIsStoredAsThreeFalseFlagsAndComesBackInTheDesignedStyle) {
  const FontSpec chosen{"Courier New", 14, 0x008000, {true, false, true, false}};
  {
    TextHost host;
    Dialogs().fontAnswers.push_back(chosen);
    host.plainText.Run(TextCommand::Fonts);
    EXPECT_EQ(host.plain.Font(), chosen);
    EXPECT_EQ(ShownFormat(host.plain.Handle()).dwEffects & (CFE_BOLD | CFE_UNDERLINE),
              DWORD{CFE_BOLD | CFE_UNDERLINE});
    for (const char* flag : {"Font Bold", "Font Italic", "Font BoldItalic"})
      EXPECT_EQ(Fonts(kEditorKey, flag), "0") << flag;
    EXPECT_EQ(Fonts(kEditorKey, "Font Color"), "32768");
  }
  // The next run: fresh in-run copies, and a font given before the control exists.
  TextHost next(FontCancel::StoreCurrentFont, false);
  next.plainText.FontRestore();
  next.Build();
  EXPECT_EQ(next.plain.Font(), (FontSpec{"Courier New", 14, 0x008000, {}}));
  EXPECT_EQ(ShownFormat(next.plain.Handle()).yHeight, 14 * 20);

  // A hand-edited size far beyond any font shows at the control's largest.
  TRegIniFile(*Svc().registry, kEditorKey).WriteString("Fonts", "Font Size", "2000000000");
  TextHost huge;
  huge.plainText.FontRestore();
  EXPECT_EQ(huge.plain.Font().size, 2000000000);
  EXPECT_EQ(ShownFormat(huge.plain.Handle()).yHeight, 1638 * 20);
}

TEST_F(TextBehavioursTest, FindNextStartsAtTheBeginningIgnoresCaseAndWordsAndKeepsTheLastMatchAlsoInUtf8CodePage) {
  for (bool richControl : {true, false}) {
    TestEnv().Reset();
    TextHost host;
    host.findTarget = richControl ? &host.richText : &host.plainText;
    RichTextControl& edit = host.findTarget->Control();
    edit.SetText("Alpha beta ALPHA alphabet");
    edit.Select(9, 0);  // the caret alone does not count

    PressFindNext(host.Handle(), "alpha");
    EXPECT_EQ(Selected(edit), "0+5");
    EXPECT_EQ(GetFocus(), edit.Handle());
    PressFindNext(host.Handle(), "alpha");
    EXPECT_EQ(Selected(edit), "11+5");
    PressFindNext(host.Handle(), "alpha");
    EXPECT_EQ(Selected(edit), "17+5");  // inside a longer word
    EXPECT_TRUE(Dialogs().shown.empty());
    PressFindNext(host.Handle(), "alpha");
    ASSERT_EQ(Dialogs().shown.size(), 1u);
    EXPECT_EQ(Dialogs().shown[0].text, "Text not found");
    EXPECT_EQ(Dialogs().shown[0].caption, "Information");
    EXPECT_EQ(Dialogs().shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(Selected(edit), "17+5");

    // The find command offers the selected text.
    host.findTarget->Run(TextCommand::Find);
    ASSERT_EQ(Dialogs().findsShown.size(), 1u);
    EXPECT_EQ(Dialogs().findsShown[0].text, "alpha");
    EXPECT_EQ(Dialogs().findsShown[0].owner, host.Handle());
    // Under UTF-8 as the code page a character takes up to four bytes: a
    // whole CJK selection reaches Find and Print Selected Text.
    if (GetACP() != CP_UTF8) continue;
    std::string cjk;
    for (int i = 0; i < 60; ++i) cjk += "日本語のメモ 😀 नमस्ते ";
    edit.SetText(cjk);
    edit.Select(0, -1);
    host.findTarget->Run(TextCommand::Find);
    EXPECT_EQ(Dialogs().findsShown.back().text, cjk);
    host.findTarget->Run(TextCommand::PrintSelectedText);  // no printer: it says so
    EXPECT_EQ(Dialogs().Errors().back().text, "There is no default printer currently selected.");
  }
}

TEST_F(TextBehavioursTest, AClickOnAWebOrMailLinkOpensItAndOtherLinksOnlyTellWhyOnce) {
  TextHost host;
  ShowWindow(host.Handle(), SW_SHOWNOACTIVATE);
  // Each link on a line of its own, clicked on its third character.
  const struct {
    const char* link;
    const char* opens;  // nullptr: the shell is not called
  } links[] = {
      {"http://example.com/page", "http://example.com/page"},
      {"file:///C:/windows/system32/notepad.exe", nullptr},
      {"www.example.com", "http://www.example.com"},
      {"mailto:sam@example.com", "mailto:sam@example.com"},
      // Read wide: what the code page lacks goes as UTF-8, not as "?".
      {"http://example.com/Жук", "http://example.com/%D0%96%D1%83%D0%BA"},
  };
  std::string text;
  for (const auto& l : links) text += std::string(l.link) + " \r\n";
  host.rich.LoadText(text);  // UTF-8
  PumpMessages();
  auto click = [&](UINT down, UINT up, int line, int offsetX) {
    const LRESULT first = SendMessageA(host.rich.Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    POINTL at{};
    SendMessageA(host.rich.Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), first + 2);
    SendMessageA(host.rich.Handle(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON,
                 MAKELPARAM(at.x + 2, at.y + 4));
    SendMessageA(host.rich.Handle(), up, 0, MAKELPARAM(at.x + 2 + offsetX, at.y + 4));
    PumpMessages();
  };
  std::vector<std::string> expected;
  for (int line = 0; line < static_cast<int>(std::size(links)); ++line) {
    click(WM_LBUTTONDOWN, WM_LBUTTONUP, line, 0);
    if (links[line].opens) expected.push_back(links[line].opens);
  }
  click(WM_RBUTTONDOWN, WM_RBUTTONUP, 0, 0);
  click(WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 400);  // released elsewhere: no click
  click(WM_LBUTTONDOWN, WM_LBUTTONUP, 1, 0);    // refused again: told no more
  // A UNC path, which some controls mark as a link (Wine's does not).
  host.richText.OpenLink("\\\\server\\share\\setup.exe");
  expected.push_back(links[0].opens);
  EXPECT_EQ(TestEnv().shell.opened, expected);
  ASSERT_FALSE(TestEnv().shell.owners.empty());
  EXPECT_EQ(TestEnv().shell.owners[0], host.Handle());
  ASSERT_EQ(Dialogs().shown.size(), 1u);
  EXPECT_EQ(Dialogs().shown[0].caption, "Pendra");
  EXPECT_NE(Dialogs().shown[0].text.find("Pendra opens only web and mail links"), std::string::npos);
  ShowWindow(host.Handle(), SW_HIDE);
}

TEST_F(TextBehavioursTest, CommandStatesFollowChangesAndMouseMovesButNotAKeyboardSelection) {
  SetClipboardText(nullptr);
  TextHost host;
  RichTextControl& edit = host.rich;
  edit.SetText("some text");
  EXPECT_TRUE(host.ButtonEnabled(TextHost::btnPrint));
  EXPECT_FALSE(host.ItemEnabled(TextHost::Clear));  // the mouse-move row waits
  EXPECT_FALSE(host.ButtonEnabled(TextHost::btnCut));
  EXPECT_FALSE(host.ButtonEnabled(TextHost::btnPaste));

  // Shift+Right four times from the start.
  edit.Select(0, 0);
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  for (int i = 0; i < 4; ++i) PressKey(edit.Handle(), VK_RIGHT);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(edit.SelLength(), 4);
  EXPECT_FALSE(host.ButtonEnabled(TextHost::btnCut));
  EXPECT_FALSE(host.ItemEnabled(TextHost::Cut1));
  SetClipboardText("clip");
  SendMessageA(edit.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(host.ButtonEnabled(TextHost::btnCut));
  EXPECT_TRUE(host.ItemEnabled(TextHost::Cut1));
  EXPECT_TRUE(host.ItemEnabled(TextHost::Paste1));
  EXPECT_TRUE(host.ItemEnabled(TextHost::Clear));

  // Clear All; Select All on the empty text then selects nothing.
  host.richText.Run(TextCommand::ClearAll);
  host.richText.Run(TextCommand::SelectAll);
  SendMessageA(edit.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  EXPECT_FALSE(host.ButtonEnabled(TextHost::btnPrint));
  EXPECT_FALSE(host.ItemEnabled(TextHost::Clear));
  EXPECT_FALSE(host.ButtonEnabled(TextHost::btnCut));
  EXPECT_TRUE(host.ButtonEnabled(TextHost::btnPaste));
  PressKey(edit.Handle(), 'X', 'x');  // typing is a change
  EXPECT_TRUE(host.ButtonEnabled(TextHost::btnPrint));
}

TEST_F(TextBehavioursTest, EditCommandsWorkThroughTheClipboard) {
  TextHost host;
  for (RichTextControl* edit : {static_cast<RichTextControl*>(&host.rich),
                                static_cast<RichTextControl*>(&host.plain)}) {
    TextBehaviours& text = edit == &host.rich ? host.richText : host.plainText;
    edit->SetText("one two three");
    edit->Select(4, 4);
    int changes = 0;
    text.afterChange = [&] { ++changes; };
    text.Run(TextCommand::Cut);
    EXPECT_EQ(edit->Text(), "one three");
    EXPECT_EQ(changes, 1);
    edit->Select(0, 3);
    text.Run(TextCommand::Paste);
    EXPECT_EQ(edit->Text(), "two  three");
    text.Run(TextCommand::SelectAll);
    EXPECT_EQ(edit->SelText(), "two  three");
    edit->Select(3, 1);
    text.Run(TextCommand::DeleteSelectedText);
    EXPECT_EQ(edit->Text(), "two three");
    // The control's own paste, as another program sends it, pastes at the caret.
    edit->Select(3, 0);
    SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "twotwo  three");
  }
}

TEST_F(TextBehavioursTest, ExportPicksRichTextByExtensionAndReportsAFileItCannotCreate) {
  TextHost host;
  host.rich.SetText("line one\r\nline two\r\n");
  const std::string& dir = TestEnv().folder;
  for (const char* name : {"a.RTF", "b.rtf", "c.txt", "d.pnd", "e.doc"}) {
    Dialogs().saveAnswers.push_back(dir + name);
    ASSERT_TRUE(host.richText.Run(TextCommand::SaveAsTextFile));
    const std::string bytes = ReadFileBytes(dir + name);
    const bool rtf = name[2] == 'R' || name[2] == 'r';
    EXPECT_EQ(bytes.rfind("{\\rtf", 0) == 0, rtf) << name;
    if (!rtf) EXPECT_EQ(bytes, "line one\r\nline two\r\n") << name;
  }
  const FileDialogRequest& asked = Dialogs().saveRequests.at(0);
  EXPECT_EQ(asked.filter, "Text(*.txt)|*.txt|Pendra Files(*.pnd)|*.pnd|All Files(*.*)|*.*");
  EXPECT_EQ(asked.defaultExt, "txt");
  EXPECT_EQ(asked.owner, host.Handle());

  const std::string bad = dir + "no-such-folder\\x.txt";
  Dialogs().saveAnswers.push_back(bad);
  EXPECT_FALSE(host.richText.Run(TextCommand::SaveAsTextFile));
  ASSERT_EQ(Dialogs().Errors().size(), 1u);
  EXPECT_EQ(Dialogs().Errors()[0].text, "Cannot create file " + bad + ".");
  EXPECT_EQ(host.rich.Text(), "line one\r\nline two\r\n");
  // Nothing to print on: the printouts say so.
  EXPECT_FALSE(host.richText.Run(TextCommand::Print));
  EXPECT_EQ(Dialogs().Errors().back().text, "There is no default printer currently selected.");
}

TEST_F(TextBehavioursTest, LoadsKeepTheTextOnFailureAndTellWhichFilesWouldNotComeBackTheSame) {
  TextHost host;
  const std::string dir = TestEnv().folder;
  std::string everyByte;
  for (int b = 1; b < 256; ++b) {
    if (b == '\r' || b == '\n') continue;
    everyByte += static_cast<char>(b);
    if (b % 16 == 0) everyByte += "\r\n";
  }
  everyByte += "\r\n";
  // Read in pieces of 4,096 bytes: one CR LF falls across two of them.
  everyByte.append(4095 - everyByte.size() % 4096, 'x');
  everyByte += "\r\nthe next piece\r\n";
  WriteFileBytes(dir + "all.txt", everyByte);
  // The 2.0 control reads UTF-16 pieces of 2,048 characters.
  const std::string wideCut = std::string(2047, 'w') + "\r\n" + "\xD0\x96";
  for (RichTextControl* edit : {static_cast<RichTextControl*>(&host.rich),
                                static_cast<RichTextControl*>(&host.plain)}) {
    WriteFileBytes(dir + "cut.txt", wideCut);
    EXPECT_TRUE(LoadTextFile(*edit, dir + "cut.txt").faithful);
    SaveTextFile(*edit, dir + "copy.txt");
    EXPECT_EQ(ReadFileBytes(dir + "copy.txt"), wideCut);
    edit->SetText("kept");
    try {
      LoadTextFile(*edit, dir + "missing.txt");
      ADD_FAILURE() << "a missing file loaded";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir + "missing.txt");
    }
    EXPECT_EQ(edit->Text(), "kept");
    EXPECT_TRUE(LoadTextFile(*edit, dir + "all.txt").faithful);
    SaveTextFile(*edit, dir + "copy.txt");
    EXPECT_EQ(ReadFileBytes(dir + "copy.txt"), everyByte);
  }
  // What the controls keep: the 1.0 control every byte; the 2.0 control
  // makes every line end CR LF. A load says so, and a faithful load saves the
  // same bytes.
  struct Sample {
    std::string bytes;
    bool richKeeps, plainKeeps;
  } samples[] = {{std::string("a\0b\r\n", 5), true, true},
                 {"a\rb\r\n", false, true},
                 {"a\nb\r\n", false, true},
                 {"a\r\r\nb", false, true}};
  for (const Sample& sample : samples) {
    WriteFileBytes(dir + "s.txt", sample.bytes);
    EXPECT_EQ(LoadTextFile(host.rich, dir + "s.txt").faithful, sample.richKeeps) << sample.bytes;
    EXPECT_EQ(LoadTextFile(host.plain, dir + "s.txt").faithful, sample.plainKeeps) << sample.bytes;
    SaveTextFile(host.plain, dir + "s2.txt");
    EXPECT_EQ(ReadFileBytes(dir + "s2.txt"), sample.bytes);
  }
  // Without a window the text keeps its encoding and its mark.
  TextHost unbuilt(FontCancel::StoreCurrentFont, false);
  DataFile& stored = Svc().data->File("w.txt");
  DataDocument document(unbuilt.rich);
  for (const std::string& bytes : {std::string("\xEF\xBB\xBFmark"), Utf16File("wide", TextEncoding::Utf16Be)}) {
    unbuilt.rich.LoadText(bytes);
    (void)document.Create(stored);
    EXPECT_EQ(ReadFileBytes(stored.Path()), bytes);
  }
}

}  // namespace
}  // namespace pendra::test
