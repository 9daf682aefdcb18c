// The reminder window: its controls as the user meets them, and what it
// stores when it is created, shown, hidden and closed.
#include <windows.h>
#include <commctrl.h>

#include "platform/application_win.h"
#include "platform/monitor_win.h"
#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

using WindowTest = ReminderWindowTest;

RECT Rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

TEST_F(WindowTest, FirstRunOpensAtTheDesignPlaceOnTheReminderPage) {
  Create();
  EXPECT_FALSE(IsWindowVisible(Wnd()));
  EXPECT_EQ(GetText(Wnd()), "Reminder");
  EXPECT_EQ(GetWindow(Wnd(), GW_OWNER), ApplicationWindow());
  const LONG style = GetWindowLongA(Wnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);

  Frm().Show();
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  const RECT r = Rect(Wnd());
  EXPECT_EQ(r.left, 80);
  EXPECT_EQ(r.top, 114);
  EXPECT_EQ(r.right - r.left, 775);
  EXPECT_EQ(r.bottom - r.top, 506);
  EXPECT_EQ(Frm().ActivePage(), Kind::OneTime);
  EXPECT_TRUE(IsWindowVisible(P(Kind::OneTime).page));
  EXPECT_FALSE(IsWindowVisible(P(Kind::Weekly).page));
  EXPECT_TRUE(Frm().TabHighlighted(Kind::OneTime));
  EXPECT_FALSE(Frm().TabHighlighted(Kind::Daily));
  for (Kind k : kAllKinds) EXPECT_EQ(P(k).list->Count(), 0);
  EXPECT_EQ(Frm().ReminderInterval(), 0);
  EXPECT_EQ(GetText(Frm().spneditHours()), "0");
  EXPECT_TRUE(ErrorTexts().empty());

  MINMAXINFO info{};
  SendMessageA(Wnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 600);
  EXPECT_EQ(info.ptMinTrackSize.y, 470);
}

TEST_F(WindowTest, ItComesBackWhereItWasMovedAlsoAfterARestart) {
  Create();
  Frm().Show();
  SetWindowPos(Wnd(), nullptr, 200, 150, 700, 480, SWP_NOZORDER);
  Frm().Hide();
  EXPECT_EQ(EventsValue("Position", "Left"), "200");
  EXPECT_EQ(EventsValue("Position", "Top"), "150");
  EXPECT_EQ(EventsValue("Size", "Width"), "700");
  EXPECT_EQ(EventsValue("Size", "Height"), "480");
  Frm().Show();
  RECT r = Rect(Wnd());
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);

  Restart();
  Frm().Show();
  r = Rect(Wnd());
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 480);
}

TEST_F(WindowTest, APlaceOffEveryMonitorIsBroughtBack) {
  Events().WriteInteger("Position", "Left", -5000);
  Events().WriteInteger("Position", "Top", -5000);
  Create();
  Frm().Show();
  RECT r = Rect(Wnd());
  RECT overlap{};
  RECT screen{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  EXPECT_TRUE(IntersectRect(&overlap, &r, &screen));
  EXPECT_EQ(r.right - r.left, 775);
}

TEST_F(WindowTest, HidingStoresTheIntervalPageAndSoundsAndARestartReadsThem) {
  Create();
  Frm().Show();
  Type(Frm().spneditHours(), "1");
  Type(Frm().spneditMinutes(), "30");
  Type(P(Kind::Daily).edtSound, "C:\\bell.wav");
  CheckMenuItemById(P(Kind::Weekly).popup, MenuId(Kind::Weekly, Mnu::PlaySounds), false);
  Frm().GoToPage(Kind::Daily);
  EXPECT_TRUE(Frm().TabHighlighted(Kind::Daily));
  EXPECT_FALSE(Frm().TabHighlighted(Kind::OneTime));
  Frm().Hide();
  EXPECT_EQ(EventsValue("Time", "Interval"), "90");
  EXPECT_EQ(EventsValue("Time", "HourInterval"), "1");
  EXPECT_EQ(EventsValue("Time", "MinuteInterval"), "30");
  EXPECT_EQ(EventsValue("Page", "Active Page"), "2");
  EXPECT_EQ(EventsValue("Alarm Sound", "WaveFileName3"), "C:\\bell.wav");
  EXPECT_EQ(EventsValue("Alarm Sound", "WaveFileName1"), "");
  EXPECT_EQ(EventsValue("Play Sound2", "Play"), "0");
  EXPECT_EQ(EventsValue("Play Sound3", "Play"), "1");
  EXPECT_EQ(Frm().EventPeriodMs(), 90u * 60000u);

  Restart();
  EXPECT_EQ(GetText(Frm().spneditHours()), "1");
  EXPECT_EQ(GetText(Frm().spneditMinutes()), "30");
  EXPECT_EQ(Frm().EventPeriodMs(), 90u * 60000u);
  EXPECT_EQ(GetText(P(Kind::Daily).edtSound), "C:\\bell.wav");
  // A stored path enables the slot's play controls; the others stay disabled.
  EXPECT_TRUE(Enabled(P(Kind::Daily).btnPlay));
  EXPECT_TRUE(ItemEnabled(Kind::Daily, Mnu::PlaySounds));
  EXPECT_FALSE(Enabled(P(Kind::OneTime).btnPlay));
  EXPECT_FALSE(ItemChecked(Kind::Weekly, Mnu::PlaySounds));
  EXPECT_TRUE(ItemChecked(Kind::Monthly, Mnu::PlaySounds));
  Frm().Show();
  EXPECT_EQ(Frm().ActivePage(), Kind::Daily);
  EXPECT_TRUE(Frm().TabHighlighted(Kind::Daily));
  EXPECT_TRUE(IsWindowVisible(P(Kind::Daily).page));
}

TEST_F(WindowTest, StoredSpinValuesStayWithinTheirRanges) {
  Events().WriteInteger("Time", "HourInterval", 99);
  Events().WriteInteger("Time", "MinuteInterval", -3);
  Events().WriteInteger("Page", "Active Page", 7);
  // Times 60000 this would overflow to a repeat every 13 seconds.
  Events().WriteInteger("Time", "Interval", 71583);
  Create();
  EXPECT_EQ(GetText(Frm().spneditHours()), "24");
  EXPECT_EQ(GetText(Frm().spneditMinutes()), "0");
  EXPECT_EQ(Frm().EventPeriodMs(), 1440u * 60000u);  // from the parts as read
  Frm().Show();
  EXPECT_EQ(Frm().ActivePage(), Kind::OneTime);

  Events().WriteString("Time", "HourInterval", "0");
  for (const char* stored : {"71583", "-5"}) {
    Events().WriteString("Time", "Interval", stored);
    Restart();
    EXPECT_EQ(Frm().EventPeriodMs(), stored[0] == '-' ? 0u : 1500u * 60000u) << stored;
  }
}

TEST_F(WindowTest, TheCloseBoxWritesTheDateAndLeavesUnchangedListsAlone) {
  // LF line ends: a rewrite would turn them into CR LF.
  WriteFileBytes(PathOf(Kind::Monthly), "9:00:00 AM-1--rent\n");
  Create();
  Frm().Show();
  Click(P(Kind::OneTime).btnHide);  // "&Close" only hides
  EXPECT_FALSE(IsWindowVisible(Wnd()));
  EXPECT_EQ(EventsValue("Last Boot", " Date"), "<missing>");
  EXPECT_EQ(EventsValue("Time", "Interval"), "0");  // hiding stores the settings

  Frm().Show();
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Wnd()));
  EXPECT_EQ(EventsValue("Last Boot", " Date"), "6/19/2000");
  EXPECT_EQ(ReadFileBytes(PathOf(Kind::Monthly)), "9:00:00 AM-1--rent\n");
  EXPECT_FALSE(FileExists(PathOf(Kind::OneTime)));
  EXPECT_TRUE(IsWindow(Wnd()));
  EXPECT_TRUE(ErrorTexts().empty());
}

TEST_F(WindowTest, ASettingOfTheWrongTypeIsReportedAndTheTimersStillRun) {
  WriteDword("Time", "Interval", 15);
  WriteDword("Alarm Sound", "WaveFileName1", 1);
  Events().WriteString("Alarm Sound", "WaveFileName2", "C:\\gong.wav");
  WriteList(Kind::Weekly, {"1:05:02 PM-Monday--still announced"});
  Create();
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Invalid data type for 'Interval'",
                                                    "Invalid data type for 'WaveFileName1'"}));
  EXPECT_TRUE(IsWindow(Wnd()));
  // Everything else was still read, the lists first of all.
  EXPECT_EQ(Rows(Kind::Weekly), Lines{"1:05:02 PM-Monday--still announced"});
  RunSeconds(3);
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("still announced"), std::string::npos);
  EXPECT_EQ(E().sound.played, std::vector<std::string>{"C:\\gong.wav"});
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FileLines(Kind::Weekly), Lines{"1:05:02 PM-Monday--still announced"});
  EXPECT_EQ(ErrorTexts().size(), 2u);
  // The path that could not be read is the user's: it stays as stored.
  std::string path;
  EXPECT_EQ(Svc().registry->Read(std::string(kReminderEventsKey) + "\\Alarm Sound", "WaveFileName1", path),
            ValueKind::Other);
  EXPECT_EQ(EventsValue("Alarm Sound", "WaveFileName2"), "C:\\gong.wav");
}

TEST_F(WindowTest, AMaximisedWindowStoresThePlaceItComesBackTo) {
  Create();
  Frm().Show();
  SetWindowPos(Wnd(), nullptr, 120, 130, 640, 480, SWP_NOZORDER);
  ShowWindow(Wnd(), SW_MAXIMIZE);
  Frm().Hide();
  EXPECT_EQ(EventsValue("Position", "Left"), "120");
  EXPECT_EQ(EventsValue("Size", "Width"), "640");
  EXPECT_EQ(EventsValue("Size", "Height"), "480");

  // Shown again it is still maximised, over the whole work area, and is
  // restored to its place; closed maximised, it stores that place too.
  Frm().Show();
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_TRUE(IsZoomed(Wnd()));
  EXPECT_GE(Rect(Wnd()).right - Rect(Wnd()).left, work.right - work.left);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(EventsValue("Position", "Top"), "130");
  Frm().Show();
  ShowWindow(Wnd(), SW_RESTORE);
  RECT r = Rect(Wnd());
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 130);
  EXPECT_EQ(r.right - r.left, 640);
  // After a restart it opens at that place, not maximised.
  ShowWindow(Wnd(), SW_MAXIMIZE);
  SendMessageA(Wnd(), WM_CLOSE, 0, 0);
  Restart();
  Frm().Show();
  r = Rect(Wnd());
  EXPECT_FALSE(IsZoomed(Wnd()));
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 480);
}

TEST(WorkspaceTest, ANormalPlaceIsOffsetByTheRoomOfATaskbarAtTheTopOrLeft) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  info.rcMonitor = {0, 0, 1280, 1024};
  info.rcWork = {60, 40, 1280, 1024};
  const RECT place{200, 150, 900, 630};
  const RECT workspace = ScreenToWorkspace(place, info);
  EXPECT_EQ(workspace.left, 140);
  EXPECT_EQ(workspace.top, 110);
  const RECT back = WorkspaceToScreen(workspace, info);
  EXPECT_TRUE(EqualRect(&back, &place));
}

TEST_F(WindowTest, SettingsAreNotWrittenWhenTheWindowWasNeverShown) {
  Create();
  Frm().Hide();
  EXPECT_FALSE(Svc().registry->KeyExists(std::string(kReminderEventsKey) + "\\Time"));
}

TEST_F(WindowTest, RemoveAllIsEnabledOnlyForListsWithRows) {
  WriteList(Kind::Weekly, {"9:00:00 AM-Monday--a"});
  Create();
  for (Kind k : kAllKinds) {
    const bool rows = k == Kind::Weekly;
    EXPECT_EQ(Enabled(P(k).btnClearAll), rows) << Index(k);
    EXPECT_EQ(ItemEnabled(k, Mnu::RemoveAll), rows) << Index(k);
  }
  EXPECT_EQ(Rows(Kind::Weekly), Lines{"9:00:00 AM-Monday--a"});
}

TEST_F(WindowTest, ControlsStartInTheirDesignStates) {
  Create();
  for (Kind k : kAllKinds) {
    const ReminderPage& p = P(k);
    for (HWND off : {p.btnRemove, p.btnEdit, p.btnUp, p.btnDown, p.btnMoveTop, p.btnMoveBottom,
                     p.btnPlay, p.btnOK, p.btnCancel})
      EXPECT_FALSE(Enabled(off)) << Index(k);
    EXPECT_TRUE(Enabled(p.btnTest));
    EXPECT_FALSE(ItemEnabled(k, Mnu::DeleteMessage));
    EXPECT_FALSE(ItemEnabled(k, Mnu::EditMessage));
    for (Mnu on : {Mnu::MoveUp, Mnu::MoveDown, Mnu::MoveToTop, Mnu::MoveToBottom})
      EXPECT_TRUE(ItemEnabled(k, on));
    EXPECT_FALSE(ItemEnabled(k, Mnu::PlaySounds));
    EXPECT_TRUE(ItemChecked(k, Mnu::PlaySounds));
    EXPECT_EQ(ItemEnabled(k, Mnu::HideButtons), k != Kind::Weekly);
    EXPECT_FALSE(ItemEnabled(k, Mnu::ShowButtons));
    EXPECT_EQ(GetMenuItemCount(p.popup), 19);
    // The design width at least; wider where the font in use needs it.
    EXPECT_GE(Rect(p.panel).right - Rect(p.panel).left, k == Kind::Monthly ? 98 : 97);
    EXPECT_EQ(Frm().HintOf(p.list->Handle()), "Right Click for Context Menu");
    EXPECT_EQ(Frm().HintOf(p.btnPlay), "");  // the window shows no hint for it
  }
  EXPECT_EQ(GetText(P(Kind::Weekly).cbSchedule), "Monday");
  EXPECT_EQ(GetText(P(Kind::Weekly).editRef), "Monday");
  EXPECT_EQ(GetText(P(Kind::Monthly).cbSchedule), "19");
  EXPECT_EQ(GetText(P(Kind::Monthly).editRef), "19");
}

TEST_F(WindowTest, PlaySoundTakesNoFocusButStillClicks) {
  Create();
  Frm().Show();
  const ReminderPage& p = P(Kind::OneTime);
  Type(p.edtSound, "C:\\a.wav");
  SetFocus(p.editMessage);
  ASSERT_TRUE(ItemChecked(Kind::OneTime, Mnu::PlaySounds));
  SendMessageA(p.btnPlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), p.editMessage);
  SendMessageA(p.btnPlay, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpMessages();
  EXPECT_FALSE(ItemChecked(Kind::OneTime, Mnu::PlaySounds));
  // Released outside the button: no click.
  SendMessageA(p.btnPlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(p.btnPlay, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));
  EXPECT_FALSE(ItemChecked(Kind::OneTime, Mnu::PlaySounds));
  Click(p.btnPlay);
  EXPECT_TRUE(ItemChecked(Kind::OneTime, Mnu::PlaySounds));
}

TEST_F(WindowTest, TheListTakesTheFullWidthWhileTheButtonPanelIsHidden) {
  Create();
  Frm().Show();
  const ReminderPage& p = P(Kind::OneTime);
  const int pageWidth = static_cast<int>(Rect(p.page).right - Rect(p.page).left);
  const int panelWidth = static_cast<int>(Rect(p.panel).right - Rect(p.panel).left);
  EXPECT_EQ(Rect(p.list->Handle()).right - Rect(p.list->Handle()).left, pageWidth - panelWidth);
  Click(p.btnHideButtons);
  PumpMessages();
  EXPECT_FALSE(IsWindowVisible(p.panel));
  EXPECT_EQ(Rect(p.list->Handle()).right - Rect(p.list->Handle()).left, pageWidth);
  SetWindowPos(Wnd(), nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
  const int wider = static_cast<int>(Rect(p.page).right - Rect(p.page).left);
  EXPECT_EQ(Rect(p.list->Handle()).right - Rect(p.list->Handle()).left, wider);
}

TEST_F(WindowTest, AMissingPictureEndsTheShowStepsButTheWindowAppears) {
  Events();
  TRegIniFile(*Svc().registry, kReminderButtonsKey).WriteBool("Button2", "Visible", false);
  DeleteFileA((E().folder + "check.bmp").c_str());
  Create();
  Frm().Show();
  EXPECT_TRUE(IsWindowVisible(Wnd()));
  ASSERT_EQ(ErrorTexts().size(), 1u);
  EXPECT_EQ(ErrorTexts()[0], "Cannot open file " + E().folder + "check.bmp.");
  // The panels were not restored.
  EXPECT_TRUE(GetWindowLongA(P(Kind::Weekly).panel, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowTest, OnlyTheDailyFirstHeadingCanBeResizedWithinItsBounds) {
  Create();
  for (Kind k : kAllKinds) {
    for (int section = 0; section < 2; ++section) {
      NMHEADERA nm{};
      nm.hdr = {P(k).header, static_cast<UINT_PTR>(GetDlgCtrlID(P(k).header)), static_cast<UINT>(HDN_BEGINTRACKA)};
      nm.iItem = section;
      const LRESULT refused = SendMessageA(Wnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
      EXPECT_EQ(refused != 0, !(k == Kind::Daily && section == 0)) << Index(k) << " " << section;
    }
  }
  HDITEMA item{};
  item.mask = HDI_WIDTH;
  item.cxy = 500;
  NMHEADERA nm{};
  nm.hdr = {P(Kind::Daily).header, 0, static_cast<UINT>(HDN_ITEMCHANGINGA)};
  nm.iItem = 0;
  nm.pitem = &item;
  SendMessageA(Wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(item.cxy, 200);
  item.cxy = 50;
  SendMessageA(Wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(item.cxy, 120);
}

TEST_F(WindowTest, UserTabChangesMoveTheHighlight) {
  Create();
  Frm().Show();
  NMHDR hdr{Frm().PageControl1(), 1, static_cast<UINT>(TCN_SELCHANGING)};
  SendMessageA(Wnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr));
  SendMessageA(Frm().PageControl1(), TCM_SETCURSEL, 3, 0);
  hdr.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageA(Wnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(Frm().ActivePage(), Kind::Monthly);
  EXPECT_TRUE(IsWindowVisible(P(Kind::Monthly).page));
  EXPECT_FALSE(IsWindowVisible(P(Kind::OneTime).page));
  EXPECT_TRUE(Frm().TabHighlighted(Kind::Monthly));
  EXPECT_FALSE(Frm().TabHighlighted(Kind::OneTime));
}

}  // namespace
}  // namespace pendra::test
