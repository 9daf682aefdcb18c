#include <gtest/gtest.h>

#include "settings/errors.h"

namespace pendra {

TEST(ErrorText, FullStopAddedOnlyAfterCharactersSortingAfterDot) {
  EXPECT_EQ(WithFullStop("Cannot open file C:\\a.lst"), "Cannot open file C:\\a.lst.");
  EXPECT_EQ(WithFullStop("List index out of bounds (-1)"), "List index out of bounds (-1)");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("Really?"), "Really?.");
  EXPECT_EQ(WithFullStop("dash -"), "dash -");
  EXPECT_EQ(WithFullStop(""), "");
  EXPECT_EQ(WithFullStop("caf\xE9"), "caf\xE9.");
}

}  // namespace pendra
