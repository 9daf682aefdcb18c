#include <gtest/gtest.h>

#include "notes/editor_rules.h"

namespace pendra {
namespace {

TEST(RecentFiles, TheOpenedPathGoesFirstAndAnOlderCopyLeavesItsPlace) {
  const RecentFiles five{"a", "b", "c", "d", "e"};
  struct Case {
    RecentFiles before;
    std::string path;
    RecentFiles after;
  } cases[] = {
      {five, "c", {"c", "a", "b", "d", "e"}},   // from slot 3; slots 4 and 5 keep theirs
      {five, "f", {"f", "a", "b", "c", "d"}},   // a sixth path drops slot 5
      {five, "e", {"e", "a", "b", "c", "d"}},   // from the last slot
      {five, "a", five},                        // already first
      {five, "C", {"C", "a", "b", "c", "d"}},   // letter case counts
      {{}, "x", {"x", "", "", "", ""}},
      {{"x", "", "", "", ""}, "y", {"y", "x", "", "", ""}},
      {{"", "x", "", "", ""}, "x", {"x", "", "", "", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(WithRecentFile(c.before, c.path), c.after) << c.path;
}

TEST(RecentFiles, ARecentFileMovesToSlotOneAndTheOnesBeforeItMoveDown) {
  const RecentFiles five{"a", "b", "c", "d", "e"};
  EXPECT_EQ(WithSlotFirst(five, 0), five);
  EXPECT_EQ(WithSlotFirst(five, 2), (RecentFiles{"c", "a", "b", "d", "e"}));
  EXPECT_EQ(WithSlotFirst(five, 4), (RecentFiles{"e", "a", "b", "c", "d"}));
}

TEST(EditorTexts, TheQuestionNamesTheFileAndAnUntitledTextLeavesTwoBlanks) {
  EXPECT_EQ(SaveChangesQuestion(""),
            "The document  has changed.\r\rDo you want to save the changes?");
  EXPECT_EQ(SaveChangesQuestion("C:\\a.txt"),
            "The document C:\\a.txt has changed.\r\rDo you want to save the changes?");
  EXPECT_EQ(TitledCaption("C:\\a.txt"), "Editor - C:\\a.txt");
  EXPECT_EQ(MenuCaptionOf("C:\\R&D\\x.txt"), "C:\\R&&D\\x.txt");
}

}  // namespace
}  // namespace pendra
