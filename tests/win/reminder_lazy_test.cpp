// Windows whose controls wait for the first show: what runs before it, and
// what the user meets when the window finally appears.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/application_win.h"
#include "platform/message_loop_win.h"
#include "tests/win/placeholder_form_win.h"
#include "tests/win/reminder_window_fixture.h"

namespace pendra::test {
namespace {

using LazyWindowTest = ReminderWindowTest;

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

std::string Slot(Kind kind) { return std::to_string(Info(kind).soundSlot); }

std::string PickerDate(HWND picker) {
  SYSTEMTIME st{};
  SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}

// Everything of the window the user can see or that is stored from it, one
// "name=value" line each, so two windows can be compared line by line.
std::vector<std::string> Snapshot(TfrmMain& frm) {
  std::vector<std::string> out;
  auto add = [&](const std::string& name, const std::string& value) { out.push_back(name + "=" + value); };
  auto on = [](HWND h) { return std::string(IsWindowEnabled(h) ? "enabled" : "disabled"); };
  add("interval", std::to_string(frm.ReminderInterval()));
  add("period", std::to_string(frm.EventPeriodMs()));
  add("hours", GetText(frm.spneditHours()));
  add("minutes", GetText(frm.spneditMinutes()));
  add("page", std::to_string(Index(frm.ActivePage())));
  for (Kind k : kAllKinds) {
    const ReminderPage& p = frm.PageOf(k);
    const std::string n = Info(k).pageCaption + std::string(".");
    for (int i = 0; i < p.list->Count(); ++i) add(n + "row", p.list->Item(i));
    add(n + "selected", std::to_string(p.list->ItemIndex()));
    add(n + "message", GetText(p.editMessage));
    if (p.cbSchedule) add(n + "schedule", GetText(p.cbSchedule));
    if (p.editRef) add(n + "ref", GetText(p.editRef));
    add(n + "sound", GetText(p.edtSound));
    add(n + "date", PickerDate(p.dtpSchedule ? p.dtpSchedule : p.dtpCalendar));
    add(n + "panel", IsWindowVisible(p.panel) ? "shown" : "hidden");
    const HWND buttons[] = {p.btnOK,   p.btnCancel,  p.btnRemove,     p.btnEdit,
                            p.btnClearAll, p.btnUp, p.btnDown, p.btnMoveTop,
                            p.btnMoveBottom, p.btnSound, p.btnPlay};
    for (HWND b : buttons) add(n + GetText(b), on(b));
    for (int item = static_cast<int>(Mnu::GoPageA); item <= static_cast<int>(Mnu::Close); ++item) {
      const int id = MenuId(k, static_cast<Mnu>(item));
      add(n + "menu" + std::to_string(item), std::string(MenuItemEnabled(p.popup, id) ? "on" : "off") +
                                                 (MenuItemChecked(p.popup, id) ? ",checked" : ""));
    }
  }
  return out;
}

TEST_F(LazyWindowTest, TimersSoundsRepeatsAndTheCatchUpWorkOnAWindowNeverShown) {
  Clock().Set(2000, 6, 19, 8, 0, 0);
  Events().WriteString("Last Boot", " Date", "6/18/2000");
  // The parts win over a stored total that disagrees with them.
  Events().WriteInteger("Time", "Interval", 5);
  Events().WriteInteger("Time", "MinuteInterval", 15);
  Events().WriteString("Alarm Sound", "WaveFileName" + Slot(Kind::Daily), "C:\\bell.wav");
  Events().WriteString("Alarm Sound", "WaveFileName" + Slot(Kind::Weekly), "C:\\gong.wav");
  Events().WriteBool("Play Sound" + Slot(Kind::Weekly), "Play", false);
  WriteList(Kind::OneTime, {"7:00:00 AM-6/19/2000--one-time past"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--daily past", "8:00:05 AM-6/1/2000--daily soon"});
  WriteList(Kind::Weekly, {"8:00:07 AM-Monday--weekly soon"});
  CreateUnshown();
  ASSERT_FALSE(Frm().ControlsBuilt());
  EXPECT_EQ(Frm().ReminderInterval(), 15);
  EXPECT_EQ(Frm().EventPeriodMs(), 15u * 60000u);
  EXPECT_EQ(Frm().Refs().dayStr, "Monday");
  EXPECT_EQ(Frm().Refs().monthStr, "19");

  TBootCode boot(Frm());
  ASSERT_EQ(Announcements().size(), 1u);
  EXPECT_NE(Announcements()[0].find("daily past"), std::string::npos);

  RunSeconds(10);
  Tick(TfrmMain::tmrEvent);
  const auto shown = Announcements();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_NE(shown[1].find("daily soon"), std::string::npos);
  EXPECT_NE(shown[2].find("weekly soon"), std::string::npos);
  EXPECT_NE(shown[3].find("one-time past"), std::string::npos);
  // The daily slot plays its sound; the weekly one's switch is off.
  EXPECT_EQ(E().sound.played, (std::vector<std::string>{"C:\\bell.wav", "C:\\bell.wav"}));
  EXPECT_TRUE(ErrorTexts().empty());
  EXPECT_FALSE(Frm().ControlsBuilt());
  EXPECT_TRUE(KillTimer(Frm().ClockWindow(), TfrmMain::tmrDayEvent));  // still running
}

// The same steps on a window whose controls are built right after creation
// and on one whose controls wait for its first show must leave the user the
// same window.
TEST_F(LazyWindowTest, AWindowFirstShownAfterAnExitCancelAndAMidnightMatchesOneBuiltAtOnce) {
  Clock().Set(2000, 6, 19, 23, 59, 50);
  Events().WriteInteger("Time", "Interval", 90);
  Events().WriteInteger("Time", "HourInterval", 1);
  Events().WriteInteger("Time", "MinuteInterval", 30);
  Events().WriteString("Alarm Sound", "WaveFileName" + Slot(Kind::Monthly), "C:\\m.wav");
  Events().WriteBool("Play Sound" + Slot(Kind::OneTime), "Play", false);
  WriteList(Kind::OneTime, {"9:00:00 AM-6/25/2000--dentist"});
  WriteList(Kind::Weekly, {"9:00:00 AM-Friday--review"});
  WriteList(Kind::Monthly, {"9:00:00 AM-1--rent"});

  // Two windows of one run would share what is known of each file: the
  // eager one reads the folder as a run of its own.
  DataFolder eagerData(E().folder, [] { return Svc().clock->Now(); });
  DataFolder* const data = std::exchange(Svc().data, &eagerData);
  auto eager = std::make_unique<TfrmMain>();
  Svc().data = data;
  eager->EnsureControls();
  CreateUnshown();
  auto both = [&](auto step) {
    step(*eager);
    step(Frm());
  };

  // Midnight passes while both windows are hidden.
  for (int i = 0; i < 15; ++i) {
    Clock().AdvanceSeconds(1);
    both([](TfrmMain& f) {
      for (UINT_PTR t : {TfrmMain::tmrTime, TfrmMain::tmrDayEvent, TfrmMain::tmrDailyEvent,
                         TfrmMain::tmrMonth})
        SendMessageA(f.ClockWindow(), WM_TIMER, t, 0);
    });
  }
  // Another program changed two lists; an exit that went no further cancels
  // the entry panels, which reloads them.
  WriteList(Kind::Weekly, {"9:00:00 AM-Friday--review", "10:00:00 AM-Tuesday--gym"});
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--vitamins"});
  both([](TfrmMain& f) { f.CancelPanelsForExit(); });
  EXPECT_FALSE(Frm().ControlsBuilt());

  both([](TfrmMain& f) { f.Show(); });
  PumpMessages();
  const auto expected = Snapshot(*eager);
  const auto actual = Snapshot(Frm());
  EXPECT_EQ(actual, expected);

  // Spot checks, so that both being wrong alike cannot pass.
  EXPECT_EQ(GetText(P(Kind::Weekly).cbSchedule), "Tuesday");
  EXPECT_EQ(GetText(P(Kind::Monthly).cbSchedule), "20");
  EXPECT_EQ(PickerDate(P(Kind::OneTime).dtpSchedule), "2000-6-20");
  EXPECT_EQ(Rows(Kind::Weekly),
            (Lines{"9:00:00 AM-Friday--review", "10:00:00 AM-Tuesday--gym"}));
  EXPECT_EQ(Rows(Kind::Daily).size(), 1u);
  EXPECT_EQ(GetText(Frm().spneditHours()), "1");
  EXPECT_EQ(GetText(Frm().spneditMinutes()), "30");
  EXPECT_EQ(Frm().EventPeriodMs(), 90u * 60000u);
  // Lists another program changed are taken as at creation: Remove All
  // follows their rows.
  EXPECT_TRUE(Enabled(P(Kind::Weekly).btnClearAll));
  EXPECT_TRUE(Enabled(P(Kind::Daily).btnClearAll));
  EXPECT_TRUE(Enabled(P(Kind::Monthly).btnPlay));
  EXPECT_FALSE(Enabled(P(Kind::OneTime).btnPlay));
  EXPECT_FALSE(Enabled(P(Kind::Weekly).btnRemove));
  EXPECT_EQ(Frm().HintOf(P(Kind::Weekly).btnSound), "Choose Alarm Sound");
  EXPECT_TRUE(ErrorTexts().empty());
  eager.reset();
}

TEST_F(LazyWindowTest, TheFirstShowBuildsTheControlsOnceAndLaterShowsReuseThem) {
  WriteList(Kind::Daily, {"7:00:00 AM-6/1/2000--vitamins"});
  CreateUnshown();
  EXPECT_FALSE(Frm().ControlsBuilt());
  EXPECT_EQ(Frm().PageControl1(), nullptr);
  EXPECT_EQ(Frm().spneditHours(), nullptr);
  // Until then not even the window exists: the timers run on the clock window.
  EXPECT_EQ(Frm().Handle(), nullptr);

  Frm().Show();
  ASSERT_TRUE(Frm().ControlsBuilt());
  const HWND tabs = Frm().PageControl1();
  const HWND list = P(Kind::Daily).list->Handle();
  EXPECT_TRUE(IsWindowVisible(P(Kind::OneTime).page));
  auto childCount = [&] {
    int n = 0;
    EnumChildWindows(Wnd(), &CountOne, reinterpret_cast<LPARAM>(&n));
    return n;
  };
  const int children = childCount();

  Frm().Hide();
  Frm().EnsureControls();
  Frm().Show();
  EXPECT_EQ(Frm().PageControl1(), tabs);
  EXPECT_EQ(P(Kind::Daily).list->Handle(), list);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(childCount(), children);
  EXPECT_EQ(Rows(Kind::Daily).size(), 1u);
}

TEST(LazyPlaceholderTest, AFormIsCreatedOnItsFirstShowAndHarmlessBefore) {
  PlaceholderForm form("TLazyPlaceholder", "Quick Notes", ApplicationWindow());
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_FALSE(form.Visible());
  form.Hide();
  EXPECT_TRUE(form.Close());
  EXPECT_EQ(form.Handle(), nullptr);
  EXPECT_EQ(FindWindowA("TLazyPlaceholder", nullptr), nullptr);

  form.Show();
  const HWND first = form.Handle();
  ASSERT_TRUE(first);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(GetText(first), "Quick Notes");
  EXPECT_EQ(GetWindow(first, GW_OWNER), ApplicationWindow());
  char cls[64] = "";
  GetClassNameA(first, cls, sizeof cls);
  EXPECT_STREQ(cls, "TLazyPlaceholder");
  form.Hide();
  EXPECT_FALSE(form.Visible());
  form.Show();
  EXPECT_EQ(form.Handle(), first);
}

// Shown from the tray while a box is up, the window made then waits for the
// box like every other window, even when boxes nest.
TEST_F(LazyWindowTest, AWindowFirstShownUnderABoxIsDisabledUntilTheLastBoxEnds) {
  CreateUnshown();
  {
    ModalScope outer;
    {
      ModalScope inner;
      Frm().Show();
      EXPECT_TRUE(IsWindowVisible(Wnd()));
      EXPECT_FALSE(IsWindowEnabled(Wnd()));
    }
    EXPECT_FALSE(IsWindowEnabled(Wnd()));
  }
  EXPECT_TRUE(IsWindowEnabled(Wnd()));
}

}  // namespace
}  // namespace pendra::test

