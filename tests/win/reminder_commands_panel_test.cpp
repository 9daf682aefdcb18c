// Hiding and showing the button panels of the real reminder window.
#include "tests/win/reminder_commands_fixture.h"

namespace pendra::test {
namespace {

class ButtonPanelTest : public ReminderCommandsTest {
 protected:
  bool PanelShown(Kind k) { return (GetWindowLongA(P(k).panel, GWL_STYLE) & WS_VISIBLE) != 0; }
  int ListWidth(Kind k) { return WindowRectOf(P(k).list->Handle()).right - WindowRectOf(P(k).list->Handle()).left; }
  int PageWidth(Kind k) {
    RECT r{};
    GetClientRect(P(k).page, &r);
    return r.right;
  }
  // Exactly one of the two items is enabled: the one that changes the state.
  void ExpectItemsFollow(Kind k) {
    EXPECT_EQ(ItemOn(k, Mnu::HideButtons), PanelShown(k)) << Index(k);
    EXPECT_EQ(ItemOn(k, Mnu::ShowButtons), !PanelShown(k)) << Index(k);
  }
  static std::string Stored(int n) {
    return RegistryText(std::string(kReminderButtonsKey) + "\\Button" + std::to_string(n), "Visible");
  }
};

TEST_F(ButtonPanelTest, AHiddenPanelIsStoredAtOnceAndComesBackHiddenAfterARestart) {
  Open().Show();
  for (Kind k : kAllKinds) {
    EXPECT_TRUE(PanelShown(k));
    ExpectItemsFollow(k);  // the weekly page's design state is replaced too
  }

  Click(P(Kind::Weekly).btnHideButtons);
  EXPECT_FALSE(PanelShown(Kind::Weekly));
  EXPECT_EQ(ListWidth(Kind::Weekly), PageWidth(Kind::Weekly));
  EXPECT_EQ(Stored(2), "0");
  ExpectItemsFollow(Kind::Weekly);

  Frm().Hide();
  Frm().Show();
  EXPECT_FALSE(PanelShown(Kind::Weekly));
  ExpectItemsFollow(Kind::Weekly);
  for (Kind k : {Kind::OneTime, Kind::Daily, Kind::Monthly}) {
    EXPECT_TRUE(PanelShown(k));
    ExpectItemsFollow(k);
  }
  EXPECT_EQ(Stored(1), "<missing>");  // restoring writes nothing

  Open().Show();
  EXPECT_FALSE(PanelShown(Kind::Weekly));
  ExpectItemsFollow(Kind::Weekly);

  // The Delete key still works on a page without its panel.
  WriteList(Kind::Weekly, {"A", "B"});
  Frm().LoadList(Kind::Weekly);
  Choose(Kind::Weekly, 0);
  DeleteKey(Kind::Weekly);
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf({"B"}));

  Menu(Kind::Weekly, Mnu::ShowButtons);
  EXPECT_TRUE(PanelShown(Kind::Weekly));
  EXPECT_EQ(Stored(2), "1");
  RECT panel{};
  GetWindowRect(P(Kind::Weekly).panel, &panel);
  EXPECT_EQ(ListWidth(Kind::Weekly), PageWidth(Kind::Weekly) - (panel.right - panel.left));
  ExpectItemsFollow(Kind::Weekly);

  Menu(Kind::Monthly, Mnu::HideButtons);
  EXPECT_EQ(Stored(4), "0");
  EXPECT_EQ(ListWidth(Kind::Monthly), PageWidth(Kind::Monthly));
}

}  // namespace
}  // namespace pendra::test
