// The tabbed list box on a real list box window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "reminders/tabbed_list_win.h"
#include "tests/win/test_env_win.h"

namespace pendra {
namespace {

constexpr const char* kDefaults = "0;100;200;300;400;500;600;700;800;900;";

class TabbedListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent_);
  }
  void TearDown() override {
    list_.reset();
    DestroyWindow(parent_);
    if (font_) DeleteObject(font_);
  }
  TMd4TabbedList& List() {
    if (!list_) list_ = std::make_unique<TMd4TabbedList>(parent_, 7);
    return *list_;
  }
  HFONT BoldFont() {
    if (!font_)
      font_ = CreateFontA(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                          "MS Sans Serif");
    return font_;
  }
  static int LettersWidth(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return static_cast<int>(size.cx);
  }

  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<TMd4TabbedList> list_;
};

TEST_F(TabbedListTest, PositionsAreZeroBeforeTheWindowAndDefaultsOnceItExists) {
  EXPECT_EQ(List().TabsString(), "0;0;0;0;0;0;0;0;0;0;");
  EXPECT_EQ(List().Handle(), nullptr);
  HWND hwnd = List().HandleNeeded();
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(List().TabsString(), kDefaults);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & LBS_USETABSTOPS);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & LBS_NOTIFY);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

TEST_F(TabbedListTest, WritingBeforeTheWindowCreatesItAndTheDefaultsStand) {
  List().SetTabsString("10;20;30;");
  EXPECT_TRUE(List().Handle());
  EXPECT_EQ(List().TabsString(), kDefaults);
}

TEST_F(TabbedListTest, WrittenPositionsReadBackAndDoNotSurviveARecreation) {
  List().HandleNeeded();
  List().SetTabsString("10;20;30;40;50;60;70;80;90;100;");
  EXPECT_EQ(List().TabsString(), "10;20;30;40;50;60;70;80;90;100;");

  List().SetTabsString("0;100");
  EXPECT_EQ(List().TabsString(), "0;0;0;0;0;0;0;0;0;0;");

  List().SetTabsString("-5;abc;7;");
  EXPECT_EQ(List().TabsString(), "-5;0;7;0;0;0;0;0;0;0;");

  List().SetItems({"one", "two"});
  List().SetItemIndex(1);
  HWND before = List().Handle();
  List().RecreateWnd();
  EXPECT_NE(List().Handle(), nullptr);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(List().TabsString(), kDefaults);
  // Rows and selection come through the re-creation.
  EXPECT_EQ(List().Count(), 2);
  EXPECT_EQ(List().Item(1), "two");
  EXPECT_EQ(List().ItemIndex(), 1);
}

TEST_F(TabbedListTest, StopsAreMeasuredInTheListsOwnFont) {
  List().SetFont(BoldFont());
  List().HandleNeeded();
  const int average = LettersWidth(List().Handle(), BoldFont()) / 52;
  ASSERT_GT(average, 0);
  const TabStops& units = List().AppliedUnits();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(units[static_cast<size_t>(i)], i * 100 * 4 / average) << i;
  // In order as given, not sorted.
  List().SetTabsString("300;100;");
  EXPECT_EQ(List().AppliedUnits()[0], 300 * 4 / average);
  EXPECT_EQ(List().AppliedUnits()[1], 100 * 4 / average);
}

TEST_F(TabbedListTest, AListDestroyedWithItsParentHasNoWindowAndIsCreatedAnew) {
  List().HandleNeeded();
  DestroyWindow(parent_);
  EXPECT_EQ(List().Handle(), nullptr);
  EXPECT_EQ(List().Count(), 0);
  parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  list_ = std::make_unique<TMd4TabbedList>(parent_, 7);
  EXPECT_TRUE(List().HandleNeeded());
}

TEST_F(TabbedListTest, KeyDownReachesTheHandlerBeforeTheListMovesTheSelection) {
  List().SetItems({"a", "b"});
  std::vector<WPARAM> keys;
  List().onKeyDown = [&](WPARAM key) { keys.push_back(key); };
  test::PressKey(List().Handle(), VK_DELETE);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0], static_cast<WPARAM>(VK_DELETE));
}

}  // namespace
}  // namespace pendra
