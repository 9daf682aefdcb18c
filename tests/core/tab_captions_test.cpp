#include <gtest/gtest.h>

#include <optional>

#include "notes/tab_captions.h"

namespace pendra {
namespace {

std::string Times(std::size_t n, std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += text;
  return out;
}

// Code page 932 bytes: 予定表, whose first and last characters end in '\',
// and ソ, ポ, 能, 十, ending in '\' or '|'.
const std::string kYoteihyo = "\x97\x5C\x92\xE8\x95\x5C";
const std::string kTrailSeparators = "\x83\x5C\x83\x7C\x94\x5C\x8F\x5C";
const std::string kTei = "\x92\xE8";  // 定, no separator byte in it

TEST(TabCaptions, OnlyNamesThatStayAFileInTheProgramFolderArePages) {
  const std::string deep = "C:\\" + std::string(196, 'd') + "\\";  // 200 characters: names up to 31
  const std::string japanese = "C:\\" + Times(100, kTei) + "\\";   // 104 characters in 932: up to 127
  struct Case {
    std::string caption;
    CaptionFault fault;  // in code page 1252
    std::optional<CaptionFault> in932;  // where it differs
    std::string folder = "C:\\Pendra\\";  // 10 characters: names up to 221 leave room for a save
  } cases[] = {
      {"ABC", CaptionFault::None},
      {"Ideas... and more", CaptionFault::None},  // dots inside a name are harmless
      {"", CaptionFault::None},                   // an empty line of Tabs.lst: ".pnd"
      {"Console", CaptionFault::None},
      {"COM10", CaptionFault::None},
      {"Caf\xE9 \xB9", CaptionFault::None},
      // A second byte that is '\' or '|' is no separator; a separator after a
      // character, or after a lead byte with no second byte, still is one.
      {kYoteihyo, CaptionFault::ForbiddenCharacter, CaptionFault::None},
      {kTrailSeparators, CaptionFault::ForbiddenCharacter, CaptionFault::None},
      {kYoteihyo + "\\x", CaptionFault::ForbiddenCharacter},
      {"\x95/..", CaptionFault::ForbiddenCharacter},
      {"..\\..\\Windows\\win", CaptionFault::ForbiddenCharacter},
      {"a/b", CaptionFault::ForbiddenCharacter},
      {"C:notes", CaptionFault::ForbiddenCharacter},
      {"what?", CaptionFault::ForbiddenCharacter},
      {"pipe|", CaptionFault::ForbiddenCharacter},
      {"tab\there", CaptionFault::ForbiddenCharacter},
      {std::string("nul\0l", 5), CaptionFault::ForbiddenCharacter},
      {"..", CaptionFault::ParentFolder},
      {"CON", CaptionFault::DeviceName},
      {"nul", CaptionFault::DeviceName},
      {"Aux.notes", CaptionFault::DeviceName},  // the system looks before the dot
      {"PRN  ", CaptionFault::DeviceName},
      {"com1", CaptionFault::DeviceName},
      {"LPT9", CaptionFault::DeviceName},
      {"COM\xB9", CaptionFault::DeviceName, CaptionFault::None},  // 0xB9: a superscript 1, a katakana in 932
      {"conout$", CaptionFault::DeviceName},
      // The length counts characters, the folder's too, and leaves room for
      // the temporary file a save writes beside the page.
      {std::string(221, 'x'), CaptionFault::None},
      {std::string(222, 'x'), CaptionFault::TooLong},
      {Times(221, kTei), CaptionFault::TooLong, CaptionFault::None},
      {Times(222, kTei), CaptionFault::TooLong},
      {std::string(227, 'x'), CaptionFault::None, {}, "C:\\"},
      {std::string(228, 'x'), CaptionFault::TooLong, {}, "C:\\"},
      {std::string(31, 'x'), CaptionFault::None, {}, deep},
      {std::string(32, 'x'), CaptionFault::TooLong, {}, deep},
      {std::string(127, 'x'), CaptionFault::TooLong, CaptionFault::None, japanese},
      {std::string(128, 'x'), CaptionFault::TooLong, {}, japanese},
      {"x", CaptionFault::TooLong, {}, std::string(240, 'd') + "\\"},
  };
  for (const Case& c : cases) {
    for (const auto& [codePage, fault] : {std::pair{CodePage(), c.fault}, std::pair{CodePage(932), c.in932.value_or(c.fault)}}) {
      SCOPED_TRACE(testing::Message() << codePage.Number() << " " << c.caption.substr(0, 40) << " ("
                                      << c.caption.size() << " bytes) in " << c.folder.size());
      EXPECT_EQ(CheckTabCaption(c.folder, c.caption, codePage), fault);
      const auto path = PagePath(c.folder, c.caption, codePage);
      EXPECT_EQ(path.has_value(), fault == CaptionFault::None);
      if (path) EXPECT_EQ(*path, c.folder + c.caption + ".pnd");
      EXPECT_EQ(CaptionFaultReason(fault, c.folder, codePage).empty(), fault == CaptionFault::None);
    }
  }
  EXPECT_EQ(CaptionFaultReason(CaptionFault::TooLong, "C:\\Pendra\\", CodePage()),
            "In the folder C:\\Pendra\\ a tab name may be at most 221 characters long.");
}

TEST(TabCaptions, CaptionsInUtf8AreCheckedByTheirCharactersAsTheSystemCountsThem) {
  const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
  const std::string kaigi = "\xE4\xBC\x9A\xE8\xAD\xB0";  // 会議
  const struct {
    std::string caption;
    CaptionFault fault;
  } cases[] = {
      {"Zadzwo\xC5\x84 \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F " + kaigi + " " + emoji, CaptionFault::None},
      {kaigi + ":1", CaptionFault::ForbiddenCharacter},
      {"\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F?", CaptionFault::ForbiddenCharacter},
      {"COM\xC2\xB9", CaptionFault::DeviceName},
      {"lpt\xC2\xB3.notes", CaptionFault::DeviceName},
      {"COM\xC2\xB9x", CaptionFault::None},
      {Times(110, emoji) + "x", CaptionFault::None},
      {Times(111, emoji), CaptionFault::TooLong},
      {Times(221, "\xE4\xBC\x9A"), CaptionFault::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption.substr(0, 40));
    EXPECT_EQ(CheckTabCaption("C:\\Pendra\\", c.caption, CodePage(CodePage::kUtf8)), c.fault);
  }
  EXPECT_EQ(QuotedCaption(Times(27, "\xE4\xBC\x9A"), CodePage(CodePage::kUtf8)),
            Times(26, "\xE4\xBC\x9A") + "...");
}

TEST(TabCaptions, ALongCaptionIsQuotedByItsBeginningWithoutCuttingACharacter) {
  EXPECT_EQ(QuotedCaption(std::string(80, 'x'), CodePage()), std::string(80, 'x'));
  EXPECT_EQ(QuotedCaption(std::string(81, 'x'), CodePage()), std::string(80, 'x') + "...");
  const std::string caption = "*" + Times(40, kTei);  // 81 bytes: byte 80 begins a character
  EXPECT_EQ(QuotedCaption(caption, CodePage(932)), "*" + Times(39, kTei) + "...");
  EXPECT_EQ(QuotedCaption(caption, CodePage()), caption.substr(0, 80) + "...");
}

}  // namespace
}  // namespace pendra
