// The entry panels of the reminder pages: OK, Enter, Cancel and the calendar
// close-ups, with the list file checked on disk.
#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

using PanelTest = ReminderWindowTest;

void CloseUp(HWND frm, HWND picker) {
  NMHDR hdr{picker, static_cast<UINT_PTR>(GetDlgCtrlID(picker)), static_cast<UINT>(DTN_CLOSEUP)};
  SendMessageA(frm, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
}

TEST_F(PanelTest, OkIsEnabledExactlyWhileTheMessageHoldsText) {
  Create();
  for (Kind k : kAllKinds) {
    EXPECT_FALSE(Enabled(P(k).btnOK));
    EXPECT_FALSE(Enabled(P(k).btnCancel));
    EXPECT_TRUE(Enabled(P(k).btnTest));
    Type(P(k).editMessage, "x");
    EXPECT_TRUE(Enabled(P(k).btnOK));
    Type(P(k).editMessage, "");
    EXPECT_FALSE(Enabled(P(k).btnOK));
  }
}

TEST_F(PanelTest, OkAppendsTheComposedEntrySelectsItAndSavesTheList) {
  WriteList(Kind::Weekly, {"8:00:00 AM-Friday--old"});
  Create();
  const ReminderPage& p = P(Kind::Weekly);
  Type(p.editMessage, "Team - meeting -- bring notes");
  SetPicker(p.dtpTime, 2000, 6, 19, 9, 30, 0);
  Type(p.cbSchedule, "Wednesday");
  Click(p.btnOK);

  const Lines expected = {"8:00:00 AM-Friday--old", "9:30:00 AM-Wednesday--Team - meeting -- bring notes"};
  EXPECT_EQ(Rows(Kind::Weekly), expected);
  EXPECT_EQ(FileLines(Kind::Weekly), expected);
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::Weekly)).back(), '\n');
  EXPECT_EQ(p.list->ItemIndex(), 1);
  EXPECT_EQ(GetText(p.editMessage), "");
  EXPECT_FALSE(Enabled(p.btnOK));
  EXPECT_EQ(GetText(p.cbSchedule), "Monday");  // reset to today
  const SYSTEMTIME time = PickerValue(p.dtpTime);
  EXPECT_EQ(time.wHour, 13);
  EXPECT_EQ(time.wMinute, 5);
  for (HWND b : {p.btnRemove, p.btnEdit, p.btnClearAll, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom})
    EXPECT_TRUE(Enabled(b));
  for (Mnu m : {Mnu::DeleteMessage, Mnu::EditMessage, Mnu::RemoveAll, Mnu::MoveUp, Mnu::MoveToBottom})
    EXPECT_TRUE(ItemEnabled(Kind::Weekly, m));
}

TEST_F(PanelTest, OkOnDatedPagesStoresTheDateTextAndSelectsTheFirstEqualRow) {
  WriteList(Kind::OneTime, {"9:00:00 AM-6/25/2000--dentist", "1:00:00 PM-6/1/2000--other"});
  Create();
  const ReminderPage& p = P(Kind::OneTime);
  Type(p.editMessage, "dentist");
  SetPicker(p.dtpTime, 2000, 6, 19, 9, 0, 0);
  SetPicker(p.dtpSchedule, 2000, 6, 25);
  Click(p.btnOK);
  EXPECT_EQ(Rows(Kind::OneTime).size(), 3u);
  EXPECT_EQ(Rows(Kind::OneTime)[2], "9:00:00 AM-6/25/2000--dentist");
  EXPECT_EQ(p.list->ItemIndex(), 0);  // the earlier equal row
  EXPECT_EQ(PickerValue(p.dtpSchedule).wDay, 19);

  LocaleFormats f;
  f.shortDate = "yyyy-MM-dd";
  f.longTime = "HH:mm:ss";
  E().locale.Change(f);
  const ReminderPage& d = P(Kind::Daily);
  Type(d.editMessage, "walk");
  SetPicker(d.dtpTime, 2000, 6, 19, 7, 15, 30);
  SetPicker(d.dtpSchedule, 2000, 7, 2);
  Click(d.btnOK);
  EXPECT_EQ(FileLines(Kind::Daily), Lines{"07:15:30-2000-07-02--walk"});
}

TEST_F(PanelTest, EnterOnAnEmptyMessageAddsNothingButSaves) {
  Create();
  const ReminderPage& p = P(Kind::Daily);
  ASSERT_FALSE(FileExists(PathOf(Kind::Daily)));
  PressKey(p.editMessage, VK_RETURN, '\r');
  EXPECT_TRUE(FileExists(PathOf(Kind::Daily)));
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::Daily)), "");
  EXPECT_EQ(P(Kind::Daily).list->Count(), 0);
  EXPECT_TRUE(ErrorTexts().empty());

  // Enter with text adds the entry though OK was never clicked.
  SendMessageA(p.editMessage, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
  PressKey(p.editMessage, VK_RETURN, '\r');
  EXPECT_EQ(P(Kind::Daily).list->Count(), 1);
}

TEST_F(PanelTest, MonthlyOkEnablesRemoveOnlyWithASelectedRow) {
  Create();
  const ReminderPage& p = P(Kind::Monthly);
  Click(p.btnOK);  // nothing typed, no row selected
  EXPECT_FALSE(Enabled(p.btnRemove));
  EXPECT_TRUE(Enabled(p.btnEdit));
  EXPECT_TRUE(Enabled(p.btnClearAll));
  Type(p.editMessage, "rent");
  Type(p.cbSchedule, "1");
  Click(p.btnOK);
  EXPECT_TRUE(Enabled(p.btnRemove));
  EXPECT_EQ(GetText(p.cbSchedule), "19");
  EXPECT_NE(Rows(Kind::Monthly)[0].find("-1--rent"), std::string::npos);
}

TEST_F(PanelTest, CancelReloadsTheListAndResetsThePanel) {
  const Lines lines = {"9:00:00 AM-6/19/2000--a", "10:00:00 AM-6/19/2000--b", "11:00:00 AM-6/19/2000--c"};
  WriteList(Kind::OneTime, lines);
  Create();
  const ReminderPage& p = P(Kind::OneTime);
  p.list->SetItemIndex(1);
  MenuCommand(Wnd(), ControlId(Kind::OneTime, Ctl::btnEdit));  // takes "b" out into the panel
  ASSERT_EQ(Rows(Kind::OneTime).size(), 2u);
  ASSERT_EQ(GetText(p.editMessage), "b");
  EXPECT_TRUE(Enabled(p.btnCancel));
  SetPicker(p.dtpSchedule, 2000, 1, 1);

  Click(p.btnCancel);
  EXPECT_EQ(Rows(Kind::OneTime), lines);
  EXPECT_EQ(FileLines(Kind::OneTime), lines);
  EXPECT_EQ(GetText(p.editMessage), "");
  EXPECT_EQ(PickerValue(p.dtpSchedule).wDay, 19);
  EXPECT_FALSE(Enabled(p.btnRemove));
  EXPECT_FALSE(Enabled(p.btnEdit));
  EXPECT_FALSE(ItemEnabled(Kind::OneTime, Mnu::DeleteMessage));
  EXPECT_FALSE(ItemEnabled(Kind::OneTime, Mnu::EditMessage));
  EXPECT_TRUE(Enabled(p.btnCancel));  // nothing disables it again
}

TEST_F(PanelTest, CancelDisablesWhatEachPageNames) {
  Create();
  for (Kind k : kAllKinds) Click(P(k).btnOK);  // enables every entry control
  for (Kind k : kAllKinds) Click(P(k).btnCancel);
  for (Kind k : kAllKinds) {
    const bool movesOff = k == Kind::Weekly || k == Kind::Daily;
    EXPECT_FALSE(Enabled(P(k).btnRemove)) << Index(k);
    EXPECT_EQ(Enabled(P(k).btnUp), !movesOff) << Index(k);
    EXPECT_EQ(Enabled(P(k).btnMoveBottom), !movesOff) << Index(k);
    EXPECT_EQ(ItemEnabled(k, Mnu::MoveDown), !movesOff) << Index(k);
    EXPECT_TRUE(Enabled(P(k).btnClearAll)) << Index(k);
  }
  // OK enables them again, menu items too.
  for (Kind k : kAllKinds) {
    Click(P(k).btnOK);
    for (Mnu m : {Mnu::DeleteMessage, Mnu::EditMessage, Mnu::MoveUp, Mnu::MoveDown,
                  Mnu::MoveToTop, Mnu::MoveToBottom})
      EXPECT_TRUE(ItemEnabled(k, m)) << Index(k) << " " << static_cast<int>(m);
  }
}

TEST_F(PanelTest, MonthlyCancelTakesTheDayFromTheCalendarBeforeItsReset) {
  Create();
  const ReminderPage& p = P(Kind::Monthly);
  SetPicker(p.dtpCalendar, 2000, 6, 7);
  Type(p.cbSchedule, "25");
  Click(p.btnCancel);
  EXPECT_EQ(GetText(p.cbSchedule), "7");
  EXPECT_EQ(PickerValue(p.dtpCalendar).wDay, 19);
}

TEST_F(PanelTest, CalendarCloseUpsFillTheComboBoxesAndTypedDatesDoNot) {
  Create();
  const ReminderPage& w = P(Kind::Weekly);
  SetPicker(w.dtpCalendar, 2000, 6, 22);  // a Thursday
  EXPECT_EQ(GetText(w.cbSchedule), "Monday");
  CloseUp(Wnd(), w.dtpCalendar);
  EXPECT_EQ(GetText(w.cbSchedule), "Thursday");

  const ReminderPage& m = P(Kind::Monthly);
  SetPicker(m.dtpCalendar, 2000, 2, 29);
  CloseUp(Wnd(), m.dtpCalendar);
  EXPECT_EQ(GetText(m.cbSchedule), "29");
}

TEST_F(PanelTest, ATypedWeekdayIsStoredAsTypedAndNeverFallsDue) {
  Create();
  const ReminderPage& p = P(Kind::Weekly);
  Type(p.editMessage, "gym");
  Type(p.cbSchedule, "Mondy");
  SetPicker(p.dtpTime, 2000, 6, 19, 13, 5, 5);
  Click(p.btnOK);
  EXPECT_EQ(FileLines(Kind::Weekly), Lines{"1:05:05 PM-Mondy--gym"});
  RunSeconds(10);
  EXPECT_TRUE(Announcements().empty());
}

TEST_F(PanelTest, AnEntryTakenOutByEditSurvivesTheCloseBox) {
  const Lines lines = {"9:00:00 AM-Monday--a", "10:00:00 AM-Monday--b"};
  WriteList(Kind::Weekly, lines);
  Create();
  Frm().Show();
  P(Kind::Weekly).list->SetItemIndex(0);
  MenuCommand(Wnd(), ControlId(Kind::Weekly, Ctl::btnEdit));
  ASSERT_EQ(Rows(Kind::Weekly).size(), 1u);
  ASSERT_TRUE(Frm().Book().EditInProgress(Kind::Weekly));
  ASSERT_EQ(Frm().Book().LinesToSave(Kind::Weekly), lines);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FileLines(Kind::Weekly), lines);
  EXPECT_TRUE(ErrorTexts().empty());

  // Ending the edit with OK replaces the entry, now at the end.
  Click(P(Kind::Weekly).btnOK);
  EXPECT_EQ(FileLines(Kind::Weekly).size(), 2u);
  EXPECT_EQ(FileLines(Kind::Weekly)[0], "10:00:00 AM-Monday--b");
}

TEST_F(PanelTest, OkWithTheEditedMessageClearedPutsTheEntryBack) {
  const Lines lines = {"9:00:00 AM-6/1/2000--a", "10:00:00 AM-6/1/2000--b", "11:00:00 AM-6/1/2000--c"};
  WriteList(Kind::Daily, lines);
  Create();
  const ReminderPage& p = P(Kind::Daily);
  p.list->SetItemIndex(1);
  MenuCommand(Wnd(), ControlId(Kind::Daily, Ctl::btnEdit));
  Type(p.editMessage, "");
  Click(p.btnOK);
  EXPECT_EQ(Rows(Kind::Daily), lines);
  EXPECT_EQ(FileLines(Kind::Daily), lines);
  // A new entry afterwards is added beside it, not in its place.
  Type(p.editMessage, "d");
  Click(p.btnOK);
  EXPECT_EQ(FileLines(Kind::Daily).size(), 4u);
  EXPECT_EQ(FileLines(Kind::Daily)[1], "10:00:00 AM-6/1/2000--b");
}

TEST_F(PanelTest, ExitCancelsEveryEditBeforeTheListsAreSaved) {
  WriteList(Kind::Daily, {"9:00:00 AM-6/1/2000--a", "10:00:00 AM-6/1/2000--b"});
  Create();
  P(Kind::Daily).list->SetItemIndex(1);
  MenuCommand(Wnd(), ControlId(Kind::Daily, Ctl::btnEdit));
  Frm().CancelPanelsForExit();
  EXPECT_EQ(Rows(Kind::Daily).size(), 2u);
  EXPECT_EQ(GetText(P(Kind::Daily).editMessage), "");
  EXPECT_TRUE(Frm().Close());
  EXPECT_EQ(FileLines(Kind::Daily).size(), 2u);
}

}  // namespace
}  // namespace pendra::test
