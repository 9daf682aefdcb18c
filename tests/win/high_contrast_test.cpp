// The system's colours, by real messages: under high contrast the text
// windows, the clocks and the reminder window paint in them, a text whose
// colour was never stored follows them too, and WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE take them again. The stored font colour stays as stored.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

#include "notes/editor_window_win.h"
#include "notes/notebook_window_win.h"
#include "notes/quick_notes_win.h"
#include "platform/application_win.h"
#include "reminders/reminder_window_win.h"
#include "settings/reg_ini.h"
#include "tests/win/test_env_win.h"

namespace pendra::test {
namespace {

// Grey letters on light grey, so the system's colours stand apart from the
// program's own black; High Contrast Black gives white on black.
constexpr SystemColors kGrey{false, 0x202020, 0xE0E0E0};
constexpr SystemColors kHighContrast{true, 0xFFFFFF, 0x000000};
constexpr ColorPair kWhiteOnBlack{0xFFFFFF, 0x000000};
constexpr int kAqua = 0xFFFF00, kGreen = 0x008000, kTeal = 0x808000;

// What a text control shows: the colour of its text and its background.
ColorPair ShownBy(HWND edit) {
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  // The control answers a new background with the one it had.
  const auto background = static_cast<int>(SendMessageA(edit, EM_SETBKGNDCOLOR, 0, 0));
  SendMessageA(edit, EM_SETBKGNDCOLOR, 0, background);
  return {static_cast<int>(cf.crTextColor), background};
}

// The colours a window answers when a static control of it is painted.
ColorPair AnsweredFor(HWND parent, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH fill{};
  GetObjectA(brush, sizeof fill, &fill);
  const ColorPair colors{static_cast<int>(GetTextColor(dc)), static_cast<int>(fill.lbColor)};
  DeleteDC(dc);
  return colors;
}

// The colour a pane paints its background in.
int ErasedIn(HWND pane) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(pane, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const auto color = static_cast<int>(GetPixel(dc, 1, 1));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return color;
}

// The system switches high contrast on or off, as Windows tells it.
void SwitchTo(HWND window, const SystemColors& colors, UINT message) {
  TestEnv().display.colors = colors;
  SendMessageA(window, message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
}

class HighContrastTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestEnv().Reset();
    TestEnv().display.colors = kGrey;
    saved_ = Forms();
    Forms() = AppForms{};
  }
  void TearDown() override { Forms() = saved_; }

 private:
  AppForms saved_;
};

TEST_F(HighContrastTest, TheTextWindowsFollowTheSystemUnlessTheUserChoseAColour) {
  struct Window {
    const char* key;
    std::optional<int> background;  // its own; nullopt: the system's
    // Creates and shows the window; gives the window and its text control.
    std::function<std::pair<HWND, HWND>(std::unique_ptr<Form>&)> open;
  };
  const Window windows[] = {
      {kNotebookKey, std::nullopt,
       [](std::unique_ptr<Form>& form) {
         auto notebook = std::make_unique<TfrmPendra>();
         notebook->Show();
         const std::pair<HWND, HWND> handles{notebook->Handle(), notebook->redtPendra().Handle()};
         form = std::move(notebook);
         return handles;
       }},
      {kEditorKey, std::nullopt,
       [](std::unique_ptr<Form>& form) {
         auto editor = std::make_unique<TfrmEditor>();
         editor->Show();
         const std::pair<HWND, HWND> handles{editor->Handle(), editor->redtEditor().Handle()};
         form = std::move(editor);
         return handles;
       }},
      {kQuicknotesKey, kAqua,
       [](std::unique_ptr<Form>& form) {
         auto quick = std::make_unique<TfrmQuickie>();
         quick->Show();
         const std::pair<HWND, HWND> handles{quick->Handle(), quick->RichEditQuick().Handle()};
         form = std::move(quick);
         return handles;
       }},
  };
  // The stored colour: none (first use), a chosen black, a chosen green.
  for (const Window& w : windows) {
    for (std::optional<int> stored : {std::optional<int>(), std::optional<int>(0), std::optional<int>(kGreen)}) {
      SCOPED_TRACE(std::string(w.key) + ", stored " + (stored ? std::to_string(*stored) : "none"));
      TestEnv().Reset();
      TestEnv().display.colors = kGrey;
      TRegIniFile ini(*Svc().registry, w.key);
      if (stored) ini.WriteInteger("Fonts", "Font Color", *stored);
      std::unique_ptr<Form> form;
      const auto [window, text] = w.open(form);
      ASSERT_TRUE(text);
      const ColorPair plain{stored.value_or(w.background ? 0 : kGrey.windowText),
                            w.background.value_or(kGrey.window)};
      EXPECT_EQ(ShownBy(text), plain);

      SwitchTo(window, kHighContrast, WM_SETTINGCHANGE);
      EXPECT_EQ(ShownBy(text), kWhiteOnBlack);
      SwitchTo(window, kGrey, WM_SYSCOLORCHANGE);
      EXPECT_EQ(ShownBy(text), plain);
      EXPECT_EQ(ini.ReadString("Fonts", "Font Color", "none"), stored ? std::to_string(*stored) : "none");
    }
  }
}

TEST_F(HighContrastTest, TheReminderWindowAndTheClocksTakeTheSystemsColoursUnderHighContrast) {
  TfrmMain reminders;
  reminders.EnsureControls();
  const ReminderPage& page = reminders.PageOf(Kind::OneTime);
  HWND panel = GetParent(page.editMessage);
  HWND label = FindWindowExA(panel, nullptr, "STATIC", "Message");
  ASSERT_TRUE(label);
  TfrmPendra notebook;
  notebook.Show();

  struct Look {
    ColorPair label, clock;
    int panel;
  };
  auto look = [&] {
    return Look{AnsweredFor(panel, label), AnsweredFor(GetParent(page.stxtClock), page.stxtClock),
                ErasedIn(panel)};
  };
  const ColorPair redOnBlack{0x0000FF, 0x000000};
  for (UINT message : {WM_SETTINGCHANGE, WM_SYSCOLORCHANGE}) {
    Look shown = look();
    EXPECT_EQ(shown.label, (ColorPair{0, kTeal}));
    EXPECT_EQ(shown.clock, redOnBlack);
    EXPECT_EQ(shown.panel, kTeal);
    EXPECT_EQ(AnsweredFor(notebook.tlbPendra(), notebook.StaticText1()), redOnBlack);

    SwitchTo(reminders.Handle(), kHighContrast, message);
    SwitchTo(notebook.Handle(), kHighContrast, message);
    shown = look();
    EXPECT_EQ(shown.label, kWhiteOnBlack);
    EXPECT_EQ(shown.clock, kWhiteOnBlack);
    EXPECT_EQ(shown.panel, kWhiteOnBlack.background);
    EXPECT_EQ(AnsweredFor(notebook.tlbPendra(), notebook.StaticText1()), kWhiteOnBlack);

    SwitchTo(reminders.Handle(), kGrey, message);
    SwitchTo(notebook.Handle(), kGrey, message);
  }
}

}  // namespace
}  // namespace pendra::test
