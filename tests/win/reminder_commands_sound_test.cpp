// The alarm-sound slots and the Play Sound switch on the real reminder window.
#include "tests/win/reminder_commands_fixture.h"

namespace pendra::test {
namespace {

using AlarmSoundTest = ReminderCommandsTest;

// Whether the button's picture is the given file's bitmap, pixel for pixel.
bool GlyphIs(HBITMAP glyph, const std::string& file) {
  auto* expected = static_cast<HBITMAP>(
      LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  BITMAP a{}, b{};
  bool same = glyph && expected && GetObjectA(glyph, sizeof a, &a) && GetObjectA(expected, sizeof b, &b) &&
              a.bmWidth == b.bmWidth && a.bmHeight == b.bmHeight;
  if (same) {
    std::string bitsA(static_cast<size_t>(a.bmWidthBytes * a.bmHeight), '\0'), bitsB = bitsA;
    GetBitmapBits(glyph, static_cast<LONG>(bitsA.size()), bitsA.data());
    GetBitmapBits(expected, static_cast<LONG>(bitsB.size()), bitsB.data());
    same = bitsA == bitsB;
  }
  if (expected) DeleteObject(expected);
  return same;
}

std::string Check() { return TestEnv().folder + "check.bmp"; }
std::string Undo() { return TestEnv().folder + "undo.bmp"; }

TEST_F(AlarmSoundTest, ChoosingAFileEnablesOnlyThatSlotAndTheDialogIsShared) {
  Open();
  auto& dialogs = TestEnv().dialogs;
  dialogs.openAnswers = {"", "C:\\Sounds\\ding.wav", ""};

  Click(P(Kind::Weekly).btnSound);  // cancelled
  EXPECT_EQ(GetText(P(Kind::Weekly).edtSound), "");
  EXPECT_FALSE(IsWindowEnabled(P(Kind::Weekly).btnPlay));

  Click(P(Kind::Weekly).btnSound);
  EXPECT_EQ(GetText(P(Kind::Weekly).edtSound), "C:\\Sounds\\ding.wav");
  for (Kind k : kAllKinds) {
    EXPECT_EQ(IsWindowEnabled(P(k).btnPlay) != 0, k == Kind::Weekly) << Index(k);
    EXPECT_EQ(ItemOn(k, Mnu::PlaySounds), k == Kind::Weekly) << Index(k);
    EXPECT_TRUE(ItemChecked(k, Mnu::PlaySounds));
  }

  Menu(Kind::Monthly, Mnu::AlarmSound);  // cancelled, but opened on the weekly choice
  ASSERT_EQ(dialogs.openRequests.size(), 3u);
  const FileDialogRequest& last = dialogs.openRequests.back();
  EXPECT_EQ(last.filter, "Wave files (*.wav)|*.wav");
  EXPECT_EQ(last.initialFile, "C:\\Sounds\\ding.wav");
  EXPECT_EQ(last.title, "");
  EXPECT_EQ(GetText(P(Kind::Monthly).edtSound), "");
  EXPECT_FALSE(IsWindowEnabled(P(Kind::Monthly).btnPlay));
}

TEST_F(AlarmSoundTest, TheSwitchFlipsWithItsPictureAndSilencesTheSlot) {
  WriteList(Kind::Weekly, {"1:05:01 PM-Monday--Gym"});
  TestEnv().dialogs.openAnswers = {"C:\\Sounds\\ding.wav"};
  Open().Show();
  const ReminderPage& p = P(Kind::Weekly);
  EXPECT_TRUE(GlyphIs(p.playGlyph, Check()));
  Click(p.btnSound);

  Click(p.btnTest);
  EXPECT_EQ(TestEnv().sound.played, (Rows{"C:\\Sounds\\ding.wav"}));

  Click(p.btnPlay);
  EXPECT_FALSE(ItemChecked(Kind::Weekly, Mnu::PlaySounds));
  EXPECT_TRUE(GlyphIs(p.playGlyph, Undo()));
  EXPECT_EQ(Frm().ActivePage(), Kind::OneTime);  // no other slot touched
  EXPECT_TRUE(GlyphIs(P(Kind::OneTime).playGlyph, Check()));

  Click(p.btnTest);
  TestEnv().clock.Set(2000, 6, 19, 13, 5, 1);
  SendMessageA(Frm().ClockWindow(), WM_TIMER, TfrmMain::tmrDayEvent, 0);
  PumpMessages();
  EXPECT_EQ(TestEnv().sound.played.size(), 1u);
  EXPECT_EQ(TestEnv().dialogs.shown.size(), 3u);  // three announcements, two silent

  Menu(Kind::Weekly, Mnu::PlaySounds);
  EXPECT_TRUE(ItemChecked(Kind::Weekly, Mnu::PlaySounds));
  EXPECT_TRUE(GlyphIs(p.playGlyph, Check()));
  EXPECT_TRUE(Errors().empty());
}

TEST_F(AlarmSoundTest, AMissingPictureStopsTheToggleAndTheShowSteps) {
  Svc().registry->WriteText(std::string(kReminderButtonsKey) + "\\Button2", "Visible", "0");
  const std::string saved = TestEnv().folder + "check.saved";
  MoveFileA(Check().c_str(), saved.c_str());
  Open().Show();
  EXPECT_EQ(Errors(), (Rows{"Cannot open file " + Check() + "."}));
  // The panels were not restored: the weekly one is still shown as designed.
  EXPECT_TRUE(GetWindowLongA(P(Kind::Weekly).panel, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(ItemOn(Kind::Weekly, Mnu::HideButtons));

  // Switch on: "check.bmp" is loaded first, so the switch stays on.
  Menu(Kind::Daily, Mnu::PlaySounds);
  EXPECT_TRUE(ItemChecked(Kind::Daily, Mnu::PlaySounds));
  ASSERT_EQ(Errors().size(), 2u);

  // "undo.bmp" missing: the switch flips, the picture of the state left stays.
  MoveFileA(saved.c_str(), Check().c_str());
  WriteFileBytes(Undo(), "");  // there, but no bitmap
  Menu(Kind::Daily, Mnu::PlaySounds);
  EXPECT_EQ(Errors().back(), "Cannot open file " + Undo() + ".");
  EXPECT_FALSE(ItemChecked(Kind::Daily, Mnu::PlaySounds));
  EXPECT_TRUE(GlyphIs(P(Kind::Daily).playGlyph, Check()));
}

}  // namespace
}  // namespace pendra::test
