// The system's colours, by real messages: under high contrast the text
// windows, the clocks and the reminder pages paint in them, a text whose
// colour was never stored follows them too, and WM_SETTINGCHANGE and
// WM_SYSCOLORCHANGE take them again. The stored colour stays as stored.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "reminders/reminder_window_win.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

// Grey on light grey stands apart from the program's own black; High
// Contrast Black gives white on black.
constexpr SystemColors kGrey{false, 0x202020, 0xE0E0E0};
constexpr SystemColors kHigh{true, 0xFFFFFF, 0x000000};
constexpr ColorPair kWhiteOnBlack{0xFFFFFF, 0x000000};

ColorPair ShownBy(HWND edit) {
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  // A new background is answered with the one the control had.
  const auto background = static_cast<int>(SendMessageA(edit, EM_SETBKGNDCOLOR, 0, 0));
  SendMessageA(edit, EM_SETBKGNDCOLOR, 0, background);
  return {static_cast<int>(cf.crTextColor), background};
}

// The colours a static control is painted in, as its parent answers.
ColorPair AnsweredFor(HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  LOGBRUSH fill{};
  GetObjectA(reinterpret_cast<HBRUSH>(SendMessageA(GetParent(control), WM_CTLCOLORSTATIC,
                                                   reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(control))),
             sizeof fill, &fill);
  const ColorPair colors{static_cast<int>(GetTextColor(dc)), static_cast<int>(fill.lbColor)};
  DeleteDC(dc);
  return colors;
}

// The colour a pane fills its background with.
int ErasedIn(HWND pane) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(pane, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const auto color = static_cast<int>(GetPixel(dc, 1, 1));
  DeleteObject(SelectObject(dc, old));
  DeleteDC(dc);
  return color;
}

void Switch(const SystemColors& colors, UINT message, std::initializer_list<HWND> windows) {
  TestEnv().display.colors = colors;
  for (HWND w : windows) SendMessageA(w, message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
}

TEST(HighContrast, TheTextWindowsFollowTheSystemUnlessTheUserChoseAColour) {
  const struct {
    const char* key;
    std::unique_ptr<Form> (*make)();
    HWND (*text)(Form&);
  } windows[] = {
      {kNotebookKey, [] { return std::unique_ptr<Form>(new TfrmPendra); },
       [](Form& f) { return static_cast<TfrmPendra&>(f).redtPendra().Handle(); }},
      {kEditorKey, [] { return std::unique_ptr<Form>(new TfrmEditor); },
       [](Form& f) { return static_cast<TfrmEditor&>(f).redtEditor().Handle(); }},
      {kQuicknotesKey, [] { return std::unique_ptr<Form>(new TfrmQuickie); },
       [](Form& f) { return static_cast<TfrmQuickie&>(f).RichEditQuick().Handle(); }},
  };
  // None stored (first use), a chosen black, a chosen green.
  for (const auto& w : windows) {
    for (std::optional<int> stored : {std::optional<int>(), std::optional<int>(0), std::optional<int>(0x8000)}) {
      SCOPED_TRACE(std::string(w.key) + ", stored " + (stored ? std::to_string(*stored) : "none"));
      TestEnv().Reset();
      TestEnv().display.colors = kGrey;
      TRegIniFile ini(*Svc().registry, w.key);
      if (stored) ini.WriteInteger("Fonts", "Font Color", *stored);
      const std::unique_ptr<Form> form = w.make();
      form->Show();
      const HWND text = w.text(*form);
      // Never stored: the system's text colour, or black on quick notes' own background.
      const bool own = w.key == kQuicknotesKey;
      const ColorPair plain{stored.value_or(own ? 0 : kGrey.windowText), own ? 0xFFFF00 : kGrey.window};
      EXPECT_EQ(ShownBy(text), plain);
      Switch(kHigh, WM_SETTINGCHANGE, {form->Handle()});
      EXPECT_EQ(ShownBy(text), kWhiteOnBlack);
      Switch(kGrey, WM_SYSCOLORCHANGE, {form->Handle()});
      EXPECT_EQ(ShownBy(text), plain);
      EXPECT_EQ(ini.ReadString("Fonts", "Font Color", "none"), stored ? std::to_string(*stored) : "none");
    }
  }
}

TEST(HighContrast, TheReminderPagesAndTheClocksTakeTheSystemsColours) {
  TestEnv().Reset();
  TestEnv().display.colors = kGrey;
  TfrmMain reminders;
  reminders.EnsureControls();
  const ReminderPage& page = reminders.PageOf(Kind::OneTime);
  const HWND panel = GetParent(page.editMessage);
  const HWND label = FindWindowExA(panel, nullptr, "STATIC", "Message");
  ASSERT_TRUE(label);
  TfrmPendra notebook;
  notebook.Show();
  const HWND clocks[] = {page.stxtClock, notebook.StaticText1()};
  constexpr int kTeal = 0x808000;
  for (UINT message : {WM_SETTINGCHANGE, WM_SYSCOLORCHANGE}) {
    EXPECT_EQ(AnsweredFor(label), (ColorPair{0, kTeal}));
    EXPECT_EQ(ErasedIn(panel), kTeal);
    for (HWND clock : clocks) EXPECT_EQ(AnsweredFor(clock), (ColorPair{0x0000FF, 0}));  // red on black
    Switch(kHigh, message, {reminders.Handle(), notebook.Handle()});
    EXPECT_EQ(AnsweredFor(label), kWhiteOnBlack);
    EXPECT_EQ(ErasedIn(panel), kWhiteOnBlack.background);
    for (HWND clock : clocks) EXPECT_EQ(AnsweredFor(clock), kWhiteOnBlack);
    Switch(kGrey, message, {reminders.Handle(), notebook.Handle()});
  }
}

}  // namespace
}  // namespace pendra::test
