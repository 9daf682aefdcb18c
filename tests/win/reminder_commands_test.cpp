// Remove, Remove All, the moves, the Delete key, page switching and Close on
// the real reminder window.
#include <functional>

#include "tests/win/reminder_commands_fixture.h"

namespace pendra::test {
namespace {

std::string W(const std::string& message) { return "9:00:00 AM-Monday--" + message; }

using ListCommandsTest = ReminderCommandsTest;

TEST_F(ListCommandsTest, MoveUpOnTheThirdOfFiveRowsSavesTheNewOrder) {
  WriteList(Kind::Weekly, {W("A"), W("B"), W("C"), W("D"), W("E")});
  Open();
  Choose(Kind::Weekly, 2);
  EXPECT_EQ(EntryControls(Kind::Weekly), Entry::On);
  Click(P(Kind::Weekly).btnUp);

  const Rows moved{W("A"), W("C"), W("B"), W("D"), W("E")};
  EXPECT_EQ(Shown(Kind::Weekly), moved);
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf(moved));
  EXPECT_EQ(Selected(Kind::Weekly), -1);
  EXPECT_EQ(EntryControls(Kind::Weekly), Entry::Off);
}

TEST_F(ListCommandsTest, MovesAndRemovesActOnTheChosenRowByPosition) {
  WriteList(Kind::Daily, {"A", "B", "C"});
  WriteList(Kind::OneTime, {"E", "F", "E"});
  WriteList(Kind::Monthly, {"E", "F", "E"});
  Open();

  Choose(Kind::Daily, 1);
  Menu(Kind::Daily, Mnu::MoveToBottom);
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({"A", "C", "B"}));

  // The second of two equal rows moves up; the first would not move at all.
  Choose(Kind::OneTime, 2);
  Click(P(Kind::OneTime).btnUp);
  EXPECT_EQ(FileOf(Kind::OneTime), Crlf({"E", "E", "F"}));

  Choose(Kind::Monthly, 2);
  Click(P(Kind::Monthly).btnRemove);
  EXPECT_EQ(Shown(Kind::Monthly), (Rows{"E", "F"}));
  EXPECT_EQ(FileOf(Kind::Monthly), Crlf({"E", "F"}));
  EXPECT_EQ(EntryControls(Kind::Monthly), Entry::Off);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ListCommandsTest, AMoveThatDoesNotActChangesAndWritesNothing) {
  // LF line ends: any rewrite of the file would turn them into CR LF.
  WriteFileBytes(ListPath(Kind::Daily), "A\nB\nC\n");
  Open();

  Choose(Kind::Daily, 0);
  Menu(Kind::Daily, Mnu::MoveUp);
  Click(P(Kind::Daily).btnMoveTop);
  EXPECT_EQ(Selected(Kind::Daily), 0);

  Choose(Kind::Daily, 2);
  Click(P(Kind::Daily).btnDown);
  Menu(Kind::Daily, Mnu::MoveToBottom);
  EXPECT_EQ(Selected(Kind::Daily), 2);
  EXPECT_EQ(EntryControls(Kind::Daily), Entry::On);

  EXPECT_EQ(Shown(Kind::Daily), (Rows{"A", "B", "C"}));
  EXPECT_EQ(FileOf(Kind::Daily), "A\nB\nC\n");
  EXPECT_TRUE(Errors().empty());
}

TEST_F(ListCommandsTest, AMoveBeforeAnyRowWasChosenShowsTheListIndexError) {
  WriteList(Kind::OneTime, {"A", "B"});
  Open();
  Menu(Kind::OneTime, Mnu::MoveUp);

  EXPECT_EQ(Errors(), (Rows{"List index out of bounds (-1)"}));
  EXPECT_EQ(Shown(Kind::OneTime), (Rows{"A", "B"}));
  EXPECT_EQ(FileOf(Kind::OneTime), Crlf({"A", "B"}));
  EXPECT_FALSE(IsWindowEnabled(P(Kind::OneTime).btnRemove));
  EXPECT_TRUE(ItemOn(Kind::OneTime, Mnu::MoveUp));

  // The Delete key with no row chosen does nothing and says nothing.
  DeleteKey(Kind::OneTime);
  EXPECT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Shown(Kind::OneTime), (Rows{"A", "B"}));
}

TEST_F(ListCommandsTest, TheDeleteKeyRemovesEvenWhileAMessageIsTyped) {
  WriteList(Kind::Daily, {"A", "B", "C"});
  Open();
  Type(P(Kind::Daily).editMessage, "typing");
  Choose(Kind::Daily, 1);
  EXPECT_EQ(EntryControls(Kind::Daily), Entry::Off);

  DeleteKey(Kind::Daily);
  EXPECT_EQ(Shown(Kind::Daily), (Rows{"A", "C"}));
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({"A", "C"}));
}

TEST_F(ListCommandsTest, TheDeleteKeyShowsAFailedWriteAndTheRowIsSavedLater) {
  WriteList(Kind::Daily, {"A", "B"});
  Open();
  SetFileAttributesA(ListPath(Kind::Daily).c_str(), FILE_ATTRIBUTE_READONLY);
  Choose(Kind::Daily, 1);
  DeleteKey(Kind::Daily);
  EXPECT_EQ(Errors(), (Rows{"Cannot create file " + ListPath(Kind::Daily) + "."}));
  EXPECT_EQ(Shown(Kind::Daily), (Rows{"A"}));
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({"A", "B"}));

  SetFileAttributesA(ListPath(Kind::Daily).c_str(), FILE_ATTRIBUTE_NORMAL);
  SendMessageA(Frm().Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({"A"}));
}

TEST_F(ListCommandsTest, RemoveAllAsksAndOnYesDeletesTheFile) {
  WriteList(Kind::OneTime, {"A", "B"});
  Open();
  auto& dialogs = TestEnv().dialogs;

  dialogs.confirmAnswers = {false};
  Click(P(Kind::OneTime).btnClearAll);
  EXPECT_EQ(dialogs.confirmations,
            (Rows{"Are you sure that you want to remove all your Reminders from this page?"}));
  EXPECT_EQ(Shown(Kind::OneTime), (Rows{"A", "B"}));
  EXPECT_EQ(FileOf(Kind::OneTime), Crlf({"A", "B"}));
  EXPECT_TRUE(IsWindowEnabled(P(Kind::OneTime).btnClearAll));

  dialogs.confirmAnswers = {true};
  Menu(Kind::OneTime, Mnu::RemoveAll);
  EXPECT_FALSE(FileExists(ListPath(Kind::OneTime)));
  EXPECT_TRUE(Shown(Kind::OneTime).empty());
  EXPECT_FALSE(IsWindowEnabled(P(Kind::OneTime).btnClearAll));
  EXPECT_TRUE(ItemOn(Kind::OneTime, Mnu::RemoveAll));

  // A later OK writes a new file.
  Type(P(Kind::OneTime).editMessage, "New");
  Click(P(Kind::OneTime).btnOK);
  EXPECT_EQ(FileOf(Kind::OneTime), Crlf({"1:05:00 PM-6/19/2000--New"}));
}

// The list control follows each command row by row; it must show what a fill
// from the book shows, with no row selected but where the command selects one.
TEST_F(ListCommandsTest, AfterEveryCommandTheListShowsTheBookRowForRow) {
  constexpr Kind k = Kind::Weekly;
  auto rows = [](const char* tag) {
    Rows r;
    for (int i = 0; i < 40; ++i) r.push_back(W(tag + std::to_string(i)));
    return r;
  };
  WriteList(k, rows("r"));
  Open();
  const ReminderPage& p = P(k);
  auto cancel = [&] { Frm().btnDayCancelClick(); };
  auto rewriteFile = [&](Rows file) {
    ASSERT_GE(file.size(), 5u);
    file[1] = W("changed");
    file.insert(file.begin() + 5, W("inserted"));
    WriteList(k, file);
  };
  TestEnv().dialogs.confirmAnswers = {true};
  struct Step {
    const char* what;
    int choose;  // the row chosen first; -1: none
    std::function<void()> command;
    int selected = -1;
  };
  const Step steps[] = {
      {"move to the bottom", 0, [&] { Click(p.btnMoveBottom); }},
      {"move to the top", 39, [&] { Menu(k, Mnu::MoveToTop); }},
      {"move up", 10, [&] { Click(p.btnUp); }},
      {"move down", 10, [&] { Menu(k, Mnu::MoveDown); }},
      {"remove", 5, [&] { Click(p.btnRemove); }},
      {"the Delete key", 5, [&] { DeleteKey(k); }},
      {"edit", 3, [&] { Click(p.btnEdit); }},
      {"a second edit", 7, [&] { Menu(k, Mnu::EditMessage); }},
      {"the Delete key during an edit", 2, [&] { DeleteKey(k); }},
      {"OK with the message emptied", -1, [&] {
         Type(p.editMessage, "");
         Frm().btnDayOKClick();
       }},
      {"OK", -1, [&] {
         Type(p.editMessage, "added");
         Click(p.btnOK);
       }, 37},
      {"edit and Cancel", 4, [&] {
         Click(p.btnEdit);
         cancel();
       }},
      {"Cancel after the file changed", -1, [&] {
         rewriteFile(Frm().Book().List(k));
         cancel();
       }},
      {"Cancel after the file was written anew", -1, [&] {
         WriteList(k, rows("new"));
         cancel();
       }},
      {"Remove All", -1, [&] { Click(p.btnClearAll); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.choose >= 0) Choose(k, step.choose);
    step.command();
    EXPECT_EQ(Shown(k), Frm().Book().List(k));
    EXPECT_EQ(Selected(k), step.selected);
  }
  EXPECT_TRUE(Shown(k).empty());
  EXPECT_TRUE(Errors().empty());

  // A command leaves the list scrolled where the user had it.
  WriteList(k, rows("s"));
  cancel();
  SendMessageA(p.list->Handle(), LB_SETTOPINDEX, 20, 0);
  Choose(k, 25);
  Click(p.btnUp);
  EXPECT_EQ(SendMessageA(p.list->Handle(), LB_GETTOPINDEX, 0, 0), 20);
  EXPECT_EQ(Shown(k), Frm().Book().List(k));
}

TEST_F(ListCommandsTest, PageMenusSwitchPagesAndCloseHidesTheWindow) {
  Open().Show();
  Menu(Kind::OneTime, Mnu::GoPageC);  // "Monthly Reminder"
  EXPECT_EQ(Frm().ActivePage(), Kind::Monthly);
  Menu(Kind::Monthly, Mnu::GoPageC);  // "Daily Reminder"
  EXPECT_EQ(Frm().ActivePage(), Kind::Daily);
  EXPECT_TRUE(Frm().TabHighlighted(Kind::Daily));
  EXPECT_FALSE(Frm().TabHighlighted(Kind::Monthly));
  Menu(Kind::Daily, Mnu::GoPageA);  // "Reminder"
  EXPECT_EQ(Frm().ActivePage(), Kind::OneTime);
  Menu(Kind::OneTime, Mnu::GoPageA);  // "Weekly Reminder"
  EXPECT_EQ(Frm().ActivePage(), Kind::Weekly);

  Click(P(Kind::Weekly).btnHide);
  EXPECT_FALSE(Frm().Visible());
  Frm().Show();
  Menu(Kind::Weekly, Mnu::Close);
  EXPECT_FALSE(Frm().Visible());
}

}  // namespace
}  // namespace pendra::test
