#include <gtest/gtest.h>

#include "notes/tab_captions.h"

namespace pendra {
namespace {

TEST(TabCaptions, OnlyNamesThatStayAFileInTheProgramFolderArePages) {
  struct Case {
    std::string caption;
    CaptionFault fault;
  } cases[] = {
      {"ABC", CaptionFault::None},
      {"Ideas... and more", CaptionFault::None},  // dots inside a name are harmless
      {"", CaptionFault::None},                   // an empty line of Tabs.lst: ".pnd"
      {"Console", CaptionFault::None},
      {"COM10", CaptionFault::None},
      {"Caf\xE9 \xB9", CaptionFault::None},
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
      {"COM\xB9", CaptionFault::DeviceName},
      {"conout$", CaptionFault::DeviceName},
      {std::string(kMaxCaptionLength, 'x'), CaptionFault::None},
      {std::string(kMaxCaptionLength + 1, 'x'), CaptionFault::TooLong},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckTabCaption(c.caption), c.fault) << c.caption;
    const auto path = PagePath("C:\\Pendra\\", c.caption);
    EXPECT_EQ(path.has_value(), c.fault == CaptionFault::None) << c.caption;
    if (path) EXPECT_EQ(*path, "C:\\Pendra\\" + c.caption + ".pnd");
    EXPECT_EQ(CaptionFaultReason(c.fault).empty(), c.fault == CaptionFault::None);
  }
}

}  // namespace
}  // namespace pendra
