// Edit on the real reminder window, and that an entry taken out by Edit is
// never lost by a save before the edit ends.
#include "tests/win/reminder_commands_fixture.h"

namespace pendra::test {
namespace {

using EditCommandTest = ReminderCommandsTest;

TEST_F(EditCommandTest, EditingTheSecondOfThreeThenOkPutsItLast) {
  const Rows rows{"8:00:00 AM-6/1/2000--First", "7:30:15 PM-12/25/2000--Second - with--dashes",
                  "9:00:00 AM-6/19/2000--Third"};
  WriteList(Kind::Daily, rows);
  Open();
  const ReminderPage& p = P(Kind::Daily);
  Choose(Kind::Daily, 1);
  Click(p.btnEdit);

  EXPECT_EQ(GetText(p.editMessage), "Second - with--dashes");
  const SYSTEMTIME t = PickerValue(p.dtpTime);
  EXPECT_EQ((Rows{std::to_string(t.wHour), std::to_string(t.wMinute), std::to_string(t.wSecond)}),
            (Rows{"19", "30", "15"}));
  const SYSTEMTIME d = PickerValue(p.dtpSchedule);
  EXPECT_EQ(d.wYear * 10000 + d.wMonth * 100 + d.wDay, 20001225);
  EXPECT_EQ(Shown(Kind::Daily), (Rows{rows[0], rows[2]}));
  EXPECT_EQ(Selected(Kind::Daily), -1);
  EXPECT_EQ(FileOf(Kind::Daily), Crlf(rows));
  EXPECT_EQ(EntryControls(Kind::Daily), Entry::Off);
  EXPECT_TRUE(IsWindowEnabled(p.btnCancel));
  EXPECT_TRUE(IsWindowEnabled(p.btnOK));

  // Choosing another row during the edit offers no list operation.
  Choose(Kind::Daily, 0);
  EXPECT_EQ(EntryControls(Kind::Daily), Entry::Off);

  Click(p.btnOK);
  EXPECT_EQ(Shown(Kind::Daily), (Rows{rows[0], rows[2], rows[1]}));
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({rows[0], rows[2], rows[1]}));
}

// A message in any script, typed (a character beyond the Basic Multilingual
// Plane too) and pasted, goes whole into the list, its file, the announcement
// and back into the edit, and is whole after a restart; a pair the edit's
// limit cut is not kept half. In every code page's pass.
TEST_F(EditCommandTest, AMessageInAnyScriptStaysWholeAlsoInJapaneseAndUtf8CodePage) {
  Open().Show();
  const ReminderPage& p = P(Kind::Daily);
  for (wchar_t c : std::wstring(L"Zadzwo\u0144 \u0412\u0430\u0441\u044F \u4F1A\u8B70 \U0001F600"))
    TypeUnicode(p.editMessage, c);
  SetClipboardUnicode(L" \u0141ukasz");
  KeyThroughLoop('V', {VK_CONTROL}, p.editMessage);
  const std::string message = "Zadzwoń Вася 会議 😀 Łukasz";
  EXPECT_EQ(GetTextUtf8(p.editMessage), message);
  Click(p.btnOK);
  const std::string entry = "1:05:00 PM-6/19/2000--" + message;
  EXPECT_EQ(Shown(Kind::Daily), Rows{entry});
  EXPECT_EQ(FileOf(Kind::Daily), (GetACP() == CP_UTF8 ? "" : "\xEF\xBB\xBF") + entry + "\r\n");
  Click(p.btnTest);
  ASSERT_FALSE(TestEnv().dialogs.shown.empty());
  EXPECT_NE(TestEnv().dialogs.shown.back().text.find(message), std::string::npos);

  Choose(Kind::Daily, 0);
  Click(p.btnEdit);
  EXPECT_EQ(GetTextUtf8(p.editMessage), message);
  Click(p.btnCancel);
  SendMessageW(p.editMessage, EM_LIMITTEXT, 3, 0);
  SetClipboardUnicode(L"ab\U0001F600");
  SendMessageW(p.editMessage, WM_PASTE, 0, 0);
  Click(p.btnOK);
  Open();
  EXPECT_EQ(Shown(Kind::Daily), (Rows{entry, "1:05:00 PM-6/19/2000--ab"}));
}

TEST_F(EditCommandTest, CancelGivesBackTheListAndFileAndComboTextsGoInUnchecked) {
  const Rows rows{"9:00:00 AM-Monday--Gym", "9:00:00 AM-Mondya--Typo"};
  WriteList(Kind::Weekly, rows);
  Open();
  const ReminderPage& p = P(Kind::Weekly);
  Choose(Kind::Weekly, 1);
  Menu(Kind::Weekly, Mnu::EditMessage);
  EXPECT_EQ(GetText(p.cbSchedule), "Mondya");
  EXPECT_EQ(GetText(p.editMessage), "Typo");

  Click(p.btnCancel);
  EXPECT_EQ(Shown(Kind::Weekly), rows);
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf(rows));
  EXPECT_EQ(GetText(p.editMessage), "");
}

TEST_F(EditCommandTest, FieldsThatDoNotConvert) {
  WriteList(Kind::OneTime, {"xx-6/19/2000--Lunch", "1:00:00 PM-2000-07-04--Call", "Buy milk"});
  Open();
  const ReminderPage& p = P(Kind::OneTime);

  // A bad time stops the edit after the message; nothing else changes.
  Choose(Kind::OneTime, 0);
  Click(p.btnEdit);
  EXPECT_EQ(Errors(), (Rows{"'xx' is not a valid time."}));
  EXPECT_EQ(GetText(p.editMessage), "Lunch");
  EXPECT_EQ(Shown(Kind::OneTime).size(), 3u);
  EXPECT_EQ(Selected(Kind::OneTime), 0);
  EXPECT_FALSE(IsWindowEnabled(p.btnCancel));
  EXPECT_EQ(EntryControls(Kind::OneTime), Entry::On);
  Type(p.editMessage, "");

  // A date written under another locale gives today, silently.
  Choose(Kind::OneTime, 1);
  Click(p.btnEdit);
  const SYSTEMTIME d = PickerValue(p.dtpSchedule);
  EXPECT_EQ(d.wYear * 10000 + d.wMonth * 100 + d.wDay, 20000619);
  EXPECT_EQ(Errors().size(), 1u);
  Click(p.btnCancel);

  // A line without the separators is edited whole; OK stores a proper entry.
  Choose(Kind::OneTime, 2);
  Click(p.btnEdit);
  EXPECT_EQ(GetText(p.editMessage), "Buy milk");
  Click(p.btnOK);
  EXPECT_EQ(FileOf(Kind::OneTime),
            Crlf({"xx-6/19/2000--Lunch", "1:00:00 PM-2000-07-04--Call",
                  "1:05:00 PM-6/19/2000--Buy milk"}));
}

TEST_F(EditCommandTest, TheDeleteKeyDuringAnEditKeepsTheEntryForCancelAndOk) {
  const Rows rows{"1:00:00 AM-Monday--a", "2:00:00 AM-Monday--b", "3:00:00 AM-Monday--c",
                  "4:00:00 AM-Monday--d"};
  WriteList(Kind::Weekly, rows);
  Open();
  const ReminderPage& p = P(Kind::Weekly);

  Choose(Kind::Weekly, 2);
  Click(p.btnEdit);
  Choose(Kind::Weekly, 0);
  DeleteKey(Kind::Weekly);
  EXPECT_EQ(Shown(Kind::Weekly), (Rows{rows[1], rows[3]}));
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf({rows[1], rows[2], rows[3]}));
  Click(p.btnCancel);
  EXPECT_EQ(Shown(Kind::Weekly), (Rows{rows[1], rows[2], rows[3]}));

  // Again, ended by OK: the edited entry replaces the kept one.
  Choose(Kind::Weekly, 1);
  Click(p.btnEdit);
  Choose(Kind::Weekly, 0);
  DeleteKey(Kind::Weekly);
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf({rows[2], rows[3]}));
  Type(p.editMessage, "c2");
  Click(p.btnOK);
  EXPECT_EQ(FileOf(Kind::Weekly), Crlf({rows[3], "3:00:00 AM-Monday--c2"}));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(EditCommandTest, TheCloseBoxDuringAnEditKeepsTheEntryInTheFile) {
  const Rows daily{"8:00:00 AM-6/1/2000--A", "8:00:00 AM-6/1/2000--B", "8:00:00 AM-6/1/2000--C"};
  const Rows once{"8:00:00 AM-6/1/2000--X", "8:00:00 AM-6/1/2000--Y"};
  WriteList(Kind::Daily, daily);
  WriteList(Kind::OneTime, once);
  Open().Show();
  Choose(Kind::Daily, 1);
  Click(P(Kind::Daily).btnEdit);
  Choose(Kind::OneTime, 0);
  Click(P(Kind::OneTime).btnEdit);

  SendMessageA(Frm().Handle(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(Frm().Visible());
  EXPECT_EQ(FileOf(Kind::Daily), Crlf(daily));
  EXPECT_EQ(FileOf(Kind::OneTime), Crlf(once));

  Frm().Show();
  Click(P(Kind::OneTime).btnCancel);
  EXPECT_EQ(Shown(Kind::OneTime), once);
  // Showing the window reset the pickers to now and today.
  Click(P(Kind::Daily).btnOK);
  EXPECT_EQ(FileOf(Kind::Daily), Crlf({daily[0], daily[2], "1:05:00 PM-6/19/2000--B"}));
}

TEST_F(EditCommandTest, ASecondEditPutsTheFirstEntryBack) {
  const Rows rows{"1:00:00 AM-1--A", "2:00:00 AM-2--B", "3:00:00 AM-3--C"};
  WriteList(Kind::Monthly, rows);
  Open();
  const ReminderPage& p = P(Kind::Monthly);
  Choose(Kind::Monthly, 0);
  Click(p.btnEdit);
  Type(p.editMessage, "");  // the user empties the panel and edits another row
  Choose(Kind::Monthly, 1);
  Click(p.btnEdit);
  EXPECT_EQ(GetText(p.editMessage), "C");
  EXPECT_EQ(GetText(p.cbSchedule), "3");
  EXPECT_EQ(Shown(Kind::Monthly), (Rows{rows[0], rows[1]}));

  Choose(Kind::Monthly, 0);
  DeleteKey(Kind::Monthly);
  EXPECT_EQ(FileOf(Kind::Monthly), Crlf({rows[1], rows[2]}));
}

}  // namespace
}  // namespace pendra::test
