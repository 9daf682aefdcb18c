#include <gtest/gtest.h>

#include "notes/stored_font.h"
#include "notes/text_rules.h"
#include "settings/reg_ini.h"

namespace pendra {
namespace {

constexpr const char* kKey = "Software\\Tavrin Software\\Pendra\\Pendra";
const std::string kFonts = std::string(kKey) + "\\Fonts";

FontStyle Style(bool b, bool i, bool u = false, bool s = false) { return {b, i, u, s}; }

TEST(StoredFont, OnlyTheThreeExactStylesAreStored) {
  struct Case {
    FontStyle style;
    StoredStyle stored;
  } cases[] = {
      {Style(true, false), {true, false, false}},
      {Style(false, true), {false, true, false}},
      {Style(true, true), {false, false, true}},
      {Style(false, false), {false, false, false}},
      {Style(true, false, true), {false, false, false}},
      {Style(true, true, false, true), {false, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(StoredStyleOf(c.style), c.stored);
}

TEST(StoredFont, TheLastTrueFlagWinsAndThreeFalseFlagsKeepTheStyle) {
  EXPECT_EQ(StyleFromStored({true, true, true}), Style(true, true));
  EXPECT_EQ(StyleFromStored({true, true, false}), Style(false, true));
  EXPECT_EQ(StyleFromStored({true, false, false}), Style(true, false));
  EXPECT_FALSE(StyleFromStored({false, false, false}).has_value());
}

TEST(StoredFont, FirstUseIsBoldItalicInTheDesignedFaceAtSizeZeroInBlack) {
  MemoryRegistry reg;
  InRunFont inRun;
  const FontSpec designed{"MS Sans Serif", 10, 0xFF, Style(false, false, true)};
  const FontSpec font = RestoreFont(reg, kKey, inRun, designed);
  EXPECT_EQ(font, (FontSpec{"MS Sans Serif", 0, 0, Style(true, true)}));
  EXPECT_FALSE(reg.KeyExists(kFonts));  // a restore writes nothing
}

TEST(StoredFont, AStoredBoldUnderlineComesBackInTheControlsOwnStyle) {
  MemoryRegistry reg;
  InRunFont inRun;
  StoreFont(reg, kKey, inRun, {"Courier New", 14, 0x00FF00, Style(true, false, true)});
  std::string v;
  for (const char* ident : {"Font Bold", "Font Italic", "Font BoldItalic"}) {
    ASSERT_EQ(reg.Read(kFonts, ident, v), ValueKind::Text);
    EXPECT_EQ(v, "0") << ident;
  }
  reg.Read(kFonts, "Font Color", v);
  EXPECT_EQ(v, "65280");

  InRunFont nextRun;
  const FontSpec font = RestoreFont(reg, kKey, nextRun, {"Arial", 10, 0, Style(false, false)});
  EXPECT_EQ(font, (FontSpec{"Courier New", 14, 0x00FF00, Style(false, false)}));
  EXPECT_EQ(nextRun.name, "Courier New");
}

TEST(StoredFont, MissingValuesFallBackToTheInRunCopiesAndBadOnesReadAsMissing) {
  MemoryRegistry reg;
  InRunFont inRun{"Times New Roman", 12, 255};
  reg.WriteText(kFonts, "Font Size", "big");
  reg.WriteBinary(kFonts, "Font Name");
  reg.WriteText(kFonts, "Font Bold", "0");
  reg.WriteText(kFonts, "Font Italic", "0");
  reg.WriteText(kFonts, "Font BoldItalic", "0");
  const FontSpec font = RestoreFont(reg, kKey, inRun, {"Arial", 9, 0, Style(false, true)});
  EXPECT_EQ(font, (FontSpec{"Times New Roman", 12, 255, Style(false, true)}));
}

TEST(CommandStates, EachEventRefreshesItsOwnRowsUnderTheirRules) {
  enum { btnPaste = 1, Paste1, btnCut, Cut1, btnPrint, Clear };
  const CommandStateRow table[] = {
      {btnPaste, CommandRule::Clipboard, true, true}, {Paste1, CommandRule::Clipboard, false, true},
      {btnCut, CommandRule::Selection, true, true},   {Cut1, CommandRule::Selection, false, true},
      {btnPrint, CommandRule::Text, true, false},     {Clear, CommandRule::Text, false, true},
  };
  const TextFacts facts{true, 0, 5};
  using States = std::vector<std::pair<int, bool>>;
  EXPECT_EQ(CommandStates(table, TextEvent::Change, facts),
            (States{{btnPaste, true}, {btnCut, false}, {btnPrint, true}}));
  EXPECT_EQ(CommandStates(table, TextEvent::MouseMove, {false, 2, 0}),
            (States{{btnPaste, false}, {Paste1, false}, {btnCut, true}, {Cut1, true}, {Clear, false}}));
  EXPECT_TRUE(EventUsesRule(table, TextEvent::Change, CommandRule::Text));
  const CommandStateRow quiet[] = {{Paste1, CommandRule::Clipboard, false, true}};
  EXPECT_FALSE(EventUsesRule(quiet, TextEvent::Change, CommandRule::Clipboard));
}

TEST(FindNextRange, StartsAfterTheSelectionOrAtTheBeginning) {
  EXPECT_EQ(FindNextRange(7, 0, 20).start, 0);  // a caret alone is not used
  EXPECT_EQ(FindNextRange(7, 0, 20).length, 20);
  EXPECT_EQ(FindNextRange(7, 3, 20).start, 10);
  EXPECT_EQ(FindNextRange(7, 3, 20).length, 10);
  EXPECT_EQ(FindNextRange(18, 2, 20).length, 0);
}

TEST(RichTextFileName, TheExtensionRtfInAnyCaseOnly) {
  for (const char* yes : {"C:\\a\\notes.rtf", "NOTES.RTF", "x.Rtf", "a.b.rtf"})
    EXPECT_TRUE(IsRichTextFileName(yes)) << yes;
  for (const char* no : {"notes.txt", "notes.pnd", "rtf", "notes.rtf.txt", "C:\\a.rtf\\notes",
                         "notes.rtfx", "notes."})
    EXPECT_FALSE(IsRichTextFileName(no)) << no;
}

TEST(LinkToOpen, OnlyWebAndMailLinksOpenAndWwwGetsHttp) {
  const struct {
    const char* link;
    const char* opens;  // nullptr: not opened
  } cases[] = {
      {"http://example.com/a?b=c", "http://example.com/a?b=c"},
      {"HTTPS://Example.com", "HTTPS://Example.com"},
      {"ftp://files.example.com/x.zip", "ftp://files.example.com/x.zip"},
      {"MailTo:sam@example.com", "MailTo:sam@example.com"},
      {"www.example.com/page", "http://www.example.com/page"},
      {"WWW.example.com", "http://WWW.example.com"},
      {"file:///C:/windows/system32/notepad.exe", nullptr},
      {"FILE://server/share/run.exe", nullptr},
      {"\\\\server\\share\\setup.exe", nullptr},
      {"telnet://host", nullptr},
      {"news:comp.lang.c", nullptr},
      {"C:\\windows\\notepad.exe", nullptr},
      {"httpx://example.com", nullptr},
      {"http//example.com", nullptr},
      {" http://example.com", nullptr},
      {"wwwexample.com", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LinkToOpen(c.link), c.opens ? std::optional<std::string>(c.opens) : std::nullopt) << c.link;
  EXPECT_EQ(PercentEncoded("\xE6\x97\xA5\x0A"), "%E6%97%A5%0A");
}

}  // namespace
}  // namespace pendra
