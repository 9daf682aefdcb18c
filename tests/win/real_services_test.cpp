// The real seams: the boxes are answered from a timer, the way a user would,
// since their own modal loops keep dispatching this thread's timer ticks.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>

#include "platform/application_win.h"
#include "tests/win/placeholder_form_win.h"
#include "platform/real_services_win.h"
#include "platform/sound_player_win.h"
#include "platform/services.h"
#include "platform/window_win.h"
#include "settings/list_file.h"
#include "tests/common/file_bytes.h"

namespace pendra::test {
namespace {

struct OpenBox {
  HWND hwnd = nullptr;
  std::string caption;
  HWND owner = nullptr;
};

// What the timer does with the first dialog it finds; the box's facts are
// recorded for the test to check afterwards.
std::function<void(HWND)> g_answer;
OpenBox g_seen;
int g_ticks = 0;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  if (!g_seen.hwnd) {
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof caption);
    g_seen = {box, caption, GetWindow(box, GW_OWNER)};
    g_answer(box);
  } else if (++g_ticks > 100) {
    // The answer did not close it (or opened another box): cancel whatever is
    // open so the run goes on and the test fails instead of hanging.
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  }
}

template <class F>
auto WithAnswer(std::function<void(HWND)> answer, F&& openBox) {
  g_answer = std::move(answer);
  g_seen = {};
  g_ticks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerTick);
  auto result = openBox();
  KillTimer(nullptr, timer);
  return result;
}

std::string TextOf(HWND box, int id) {
  char text[256] = {};
  GetDlgItemTextA(box, id, text, sizeof text);
  return text;
}

void PressKey(HWND box, WPARAM vk) {
  HWND focus = GetFocus();
  PostMessageA(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN, vk, 1);
}

TEST(RealDialogsTest, ConfirmAsksWithYesAsDefaultAndEscAnswersNo) {
  RealDialogs dialogs;
  std::string yes, no, question;
  LONG yesStyle = 0;
  bool focusOnYes = false;
  const bool escAnswer = WithAnswer(
      [&](HWND box) {
        yes = TextOf(box, IDYES);
        no = TextOf(box, IDNO);
        question = TextOf(box, 101);
        yesStyle = GetWindowLongA(GetDlgItem(box, IDYES), GWL_STYLE);
        focusOnYes = GetFocus() == GetDlgItem(box, IDYES);
        PressKey(box, VK_ESCAPE);
      },
      [&] { return dialogs.Confirm("Remove all the reminders of this page?"); });
  EXPECT_FALSE(escAnswer);
  EXPECT_EQ(g_seen.caption, "Confirm");
  EXPECT_EQ(g_seen.owner, ApplicationWindow());
  EXPECT_EQ(yes, "&Yes");
  EXPECT_EQ(no, "&No");
  EXPECT_EQ(question, "Remove all the reminders of this page?");
  EXPECT_EQ(yesStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(focusOnYes);

  EXPECT_TRUE(WithAnswer([](HWND box) { PressKey(box, VK_RETURN); },
                         [&] { return dialogs.Confirm("Enter?"); }));
  EXPECT_FALSE(WithAnswer([](HWND box) { SendMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0); },
                          [&] { return dialogs.Confirm("No?"); }));
}

TEST(RealDialogsTest, InputBoxGivesTheTypedTextOnOkAndTheDefaultOnCancel) {
  RealDialogs dialogs;
  std::string prompt;
  LONG okStyle = 0;
  LRESULT limit = 0;
  const std::string typed = WithAnswer(
      [&](HWND box) {
        prompt = TextOf(box, 102);
        okStyle = GetWindowLongA(GetDlgItem(box, IDOK), GWL_STYLE);
        limit = SendMessageA(GetDlgItem(box, 103), EM_GETLIMITTEXT, 0, 0);
        SetDlgItemTextA(box, 103, "Recipes");
        PressKey(box, VK_RETURN);
      },
      [&] { return dialogs.InputBox(nullptr, "Add New Tab", "New Tab Name", "", 255); });
  EXPECT_EQ(typed, "Recipes");
  EXPECT_EQ(g_seen.caption, "Add New Tab");
  EXPECT_EQ(g_seen.owner, ApplicationWindow());
  EXPECT_EQ(prompt, "New Tab Name");
  EXPECT_EQ(okStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(limit, 255);
  EXPECT_EQ(WithAnswer(
                [](HWND box) {
                  SetDlgItemTextA(box, 103, "thrown away");
                  PressKey(box, VK_ESCAPE);
                },
                [&] { return dialogs.InputBox(nullptr, "Add New Tab", "New Tab Name", "", 255); }),
            "");
}

TEST(RealDialogsTest, MessageBoxIsOwnedByTheApplicationWindow) {
  RealDialogs dialogs;
  std::string text;
  WithAnswer(
      [&](HWND box) {
        text = TextOf(box, 0xFFFF);  // the message box's text control
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      [&] {
        dialogs.ShowMessage("Cannot open file C:\\x.lst.", "Pendra", MsgIcon::Stop);
        return 0;
      });
  EXPECT_EQ(g_seen.caption, "Pendra");
  EXPECT_EQ(g_seen.owner, ApplicationWindow());
  EXPECT_EQ(text, "Cannot open file C:\\x.lst.");
}

TEST(RealDialogsTest, OpenDialogTakesANameOfAFileNotYetThere) {
  RealDialogs dialogs;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string wanted = std::string(temp) + "pendra-no-such-sound.wav";
  FileDialogRequest request{"Wave files (*.wav)|*.wav", std::string(temp) + "old.wav",
                            "Choose a sound", "wav"};
  std::string chosen;
  std::string shownName;
  const bool ok = WithAnswer(
      [&](HWND box) {
        char name[MAX_PATH] = {};
        GetDlgItemTextA(box, cmb13, name, sizeof name);
        if (!*name) GetDlgItemTextA(box, edt1, name, sizeof name);
        shownName = name;
        SetDlgItemTextA(box, cmb13, wanted.c_str());
        SetDlgItemTextA(box, edt1, wanted.c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      [&] { return dialogs.OpenFile(request, chosen); });
  EXPECT_TRUE(ok);
  EXPECT_EQ(chosen, wanted);
  EXPECT_EQ(g_seen.caption, "Choose a sound");
  EXPECT_EQ(shownName, "old.wav");

  EXPECT_FALSE(WithAnswer([](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); },
                          [&] { return dialogs.OpenFile(request, chosen); }));
  EXPECT_EQ(chosen, wanted);  // untouched when cancelled
}

TEST(RealDialogsTest, TheYesNoCancelQuestionIsOwnedByItsWindowAndEscCancels) {
  RealDialogs dialogs;
  Window owner;
  owner.CreateWnd("PendraQuestionOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 100,
                  nullptr);
  std::string no;
  const YesNoCancel esc = WithAnswer(
      [&](HWND box) {
        no = TextOf(box, IDNO);
        PressKey(box, VK_ESCAPE);
      },
      [&] { return dialogs.AskYesNoCancel(owner.Handle(), "Save?"); });
  EXPECT_EQ(esc, YesNoCancel::Cancel);
  EXPECT_EQ(g_seen.caption, "Confirm");
  EXPECT_EQ(g_seen.owner, owner.Handle());
  EXPECT_EQ(no, "&No");
  EXPECT_EQ(WithAnswer([](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); },
                       [&] { return dialogs.AskYesNoCancel(owner.Handle(), "Save?"); }),
            YesNoCancel::No);
}

TEST(RealDialogsTest, AnOpenDialogOfSeveralFilesGivesTheFirst) {
  RealDialogs dialogs;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "pendra-multi\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"one.txt", "two.txt"}) {
    HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    CloseHandle(f);
  }
  FileDialogRequest request;
  request.filter = "All files (*.*)|*.*";
  request.initialFile = folder + "one.txt";
  request.allowMultiSelect = true;
  request.fileMustExist = true;
  std::string chosen;
  EXPECT_TRUE(WithAnswer(
      [&](HWND box) {
        const std::string names = "\"one.txt\" \"two.txt\"";
        SetDlgItemTextA(box, cmb13, names.c_str());
        SetDlgItemTextA(box, edt1, names.c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      },
      [&] { return dialogs.OpenFile(request, chosen); }));
  EXPECT_EQ(chosen, folder + "one.txt");
  for (const char* name : {"one.txt", "two.txt"}) DeleteFileA((folder + name).c_str());
  RemoveDirectoryA(folder.c_str());
}

int CALLBACK TakeTrueTypeFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM face) {
  if (!(type & TRUETYPE_FONTTYPE) || lf->lfFaceName[0] == '@') return 1;
  *reinterpret_cast<std::string*>(face) = lf->lfFaceName;
  return 0;
}

TEST(RealDialogsTest, FontDialogGivesBackTheFontItOpenedOn) {
  std::string face;
  HDC screen = GetDC(nullptr);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(screen, &all, TakeTrueTypeFace, reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, screen);
  ASSERT_FALSE(face.empty());
  RealDialogs dialogs;
  const FontSpec start{face, 14, 0x0000FF, {true, true, true, true}};
  FontSpec font = start;
  EXPECT_TRUE(WithAnswer([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); },
                         [&] { return dialogs.PickFont(nullptr, font); }));
  EXPECT_EQ(font, start);
  EXPECT_EQ(g_seen.owner, ApplicationWindow());
  font.size = 99;
  EXPECT_FALSE(WithAnswer([](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); },
                          [&] { return dialogs.PickFont(nullptr, font); }));
  EXPECT_EQ(font.size, 99);
}

// The editor's Save As, to a new file in the temporary folder and in a folder
// named outside the code page (reached by its short name): the default
// extension added, and the text saved where the user chose.
TEST(RealDialogsTest, SaveDialogAddsTheDefaultExtensionAlsoInAFolderNamedOutsideTheCodePage) {
  RealDialogs dialogs;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring outside = std::wstring(temp) + L"pendra-\u0141\u0928\\";
  CreateDirectoryW(outside.c_str(), nullptr);
  FileDialogRequest request{"Text(*.txt)|*.txt|All Files(*.*)|*.*", "", "", "txt"};
  for (const std::wstring& folder : {std::wstring(temp), outside}) {
    std::string chosen;
    EXPECT_TRUE(WithAnswer(
        [&](HWND box) {
          SetDlgItemTextW(box, cmb13, (folder + L"pendra-export").c_str());
          SetDlgItemTextW(box, edt1, (folder + L"pendra-export").c_str());
          PostMessageA(box, WM_COMMAND, IDOK, 0);
        },
        [&] { return dialogs.SaveFile(request, chosen); }));
    WriteWholeFile(chosen, "saved");
    EXPECT_TRUE(DeleteFileW((folder + L"pendra-export.txt").c_str())) << chosen;
  }
  RemoveDirectoryW(outside.c_str());
}

// The modeless find dialog: only the search text and Find Next, whose press
// reaches the owner as the find message.
TEST(RealDialogsTest, FindDialogHidesItsOptionsAndSendsFindNextToItsOwner) {
  struct Owner : Window {
    std::string found;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
      if (msg == RegisterWindowMessageA(FINDMSGSTRINGA)) {
        const auto* find = reinterpret_cast<const FINDREPLACEA*>(lp);
        if (find->Flags & FR_FINDNEXT) found = find->lpstrFindWhat;
        return 0;
      }
      return Window::HandleMessage(msg, wp, lp);
    }
  } owner;
  owner.CreateWnd("PendraFindOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, ApplicationWindow());
  RealDialogs dialogs;
  dialogs.ShowFind(owner.Handle(), "needle");
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&box));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box, edt1), "needle");
  for (int hidden : {chx1, chx2, rad1, rad2, grp1})
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, hidden))) << hidden;
  SendMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(owner.found, "needle");
  // A second Find command reuses the open dialog with the new text.
  dialogs.ShowFind(owner.Handle(), "pin");
  EXPECT_EQ(TextOf(box, edt1), "pin");
  SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindow(box));
}

TEST(RealDialogsTest, EveryBoxDisablesTheProgramsWindowsWhileOpen) {
  RealDialogs dialogs;
  PlaceholderForm window("TModalTestForm", "Working", ApplicationWindow());
  window.Show();
  PlaceholderForm hidden("TModalTestForm", "Not shown yet", ApplicationWindow());
  hidden.Show();
  hidden.Hide();
  const std::pair<const char*, std::function<void()>> boxes[] = {
      {"message", [&] { dialogs.ShowMessage("Cannot open file x.", "Pendra", MsgIcon::Stop); }},
      {"confirm", [&] { dialogs.Confirm("Sure?"); }},
      {"announcement", [&] { dialogs.Announce("REMINDER"); }},
      {"save question", [&] { dialogs.AskYesNoCancel(window.Handle(), "Save?"); }},
      {"open dialog", [&] {
         std::string chosen;
         dialogs.OpenFile({"Wave files (*.wav)|*.wav", "", "", ""}, chosen);
       }},
  };
  for (const auto& [name, open] : boxes) {
    bool windowEnabled = true, hiddenEnabled = true;
    WithAnswer(
        [&](HWND box) {
          windowEnabled = IsWindowEnabled(window.Handle());
          hiddenEnabled = IsWindowEnabled(hidden.Handle());
          PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        },
        [&] {
          open();
          return 0;
        });
    EXPECT_TRUE(g_seen.hwnd) << name;
    EXPECT_FALSE(windowEnabled) << name;
    EXPECT_FALSE(hiddenEnabled) << name;
    EXPECT_TRUE(IsWindowEnabled(window.Handle())) << name;
    EXPECT_TRUE(IsWindowEnabled(hidden.Handle())) << name;
    EXPECT_TRUE(IsWindowEnabled(ApplicationWindow())) << name;
  }
}

// The announcement box on the real seam, with the texts a reminder can hold
// (of up to four bytes a character under UTF-8 as the code page).
TEST(RealDialogsTest, AnnouncementLiesInItsWorkAreaShowsTheWholeTextAndAnswersEnterAndEscAlsoInUtf8CodePage) {
  RealDialogs dialogs;
  auto words = [](std::size_t size) {
    std::string text;
    for (int i = 0; text.size() < size; ++i) text += "word" + std::to_string(i) + " ";
    return text;
  };
  // One word a line: taller than any screen in any font.
  auto lines = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line" + std::to_string(i) + "\r\n";
    return text;
  };
  auto joined = [](std::string t) {  // the text without its line breaks
    t.erase(std::remove_if(t.begin(), t.end(), [](char ch) { return ch == '\r' || ch == '\n'; }),
            t.end());
    return t;
  };
  const std::string head = "                  WEEKLY REMINDER                  \r\rToday is... "
                           "Monday, June 19, 2000,\r The Time is... 1:05 PM\r\r";
  struct Case {
    const char* name;
    std::string text;
    const char* control;  // class of the text control; nullptr: either
    WPARAM key;
  };
  const Case cases[] = {
      {"fits", head + "Call the bank & the office", "Static", VK_RETURN},
      {"CJK", head + "銀行に電話 😀 नमस्ते", "Static", VK_RETURN},
      {"5,000 characters", head + words(5000), nullptr, VK_ESCAPE},
      {"taller than the screen", head + lines(400), "Edit", VK_RETURN},
      {"10 MB", head + std::string(10 * 1024 * 1024, 'x'), "Edit", VK_ESCAPE},
  };
  for (const Case& c : cases) {
    bool inWorkArea = false, topmost = false, scrolls = false;
    std::string cls, shown;
    int buttons = 0;
    WithAnswer(
        [&](HWND box) {
          RECT r{}, inside{};
          GetWindowRect(box, &r);
          MONITORINFO info{};
          info.cbSize = sizeof info;
          GetMonitorInfoA(MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &info);
          inWorkArea = IntersectRect(&inside, &r, &info.rcWork) && EqualRect(&inside, &r);
          topmost = GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
          HWND text = GetDlgItem(box, 0xFFFF);
          char name[32] = {};
          GetClassNameA(text, name, sizeof name);
          cls = name;
          shown = GetTextUtf8(text);
          scrolls = GetWindowLongA(text, GWL_STYLE) & WS_VSCROLL;
          for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameA(child, name, sizeof name);
            buttons += std::string(name) == "Button";
          }
          PressKey(box, c.key);
        },
        [&] {
          dialogs.Announce(c.text);
          return 0;
        });
    EXPECT_EQ(g_seen.caption, "Pendra") << c.name;
    EXPECT_EQ(g_ticks, 0) << c.name << ": the key did not answer the box";
    EXPECT_TRUE(inWorkArea) << c.name;
    EXPECT_TRUE(topmost) << c.name;
    EXPECT_EQ(buttons, 1) << c.name;
    if (c.control) EXPECT_EQ(cls, c.control) << c.name;
    // A text that fits is shown as given; a scrolling one is broken into the
    // edit's lines, with nothing left out.
    EXPECT_EQ(scrolls, cls == "Edit") << c.name;
    if (cls == "Static") EXPECT_EQ(shown, c.text) << c.name;
    else EXPECT_TRUE(joined(shown) == joined(c.text)) << c.name << ": " << shown.size();
  }
}

// A wave file's header for `data` bytes of sound: PCM, mono, 8000 one-byte
// samples a second.
std::string WaveHeader(DWORD data) {
  static const unsigned char format[] = {16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
  const DWORD riff = data + 36;
  return "RIFF" + std::string(reinterpret_cast<const char*>(&riff), 4) + "WAVEfmt " +
         std::string(reinterpret_cast<const char*>(format), sizeof format) + "data" +
         std::string(reinterpret_cast<const char*>(&data), 4);
}

// PlaySoundA as the player's thread calls it: whether a sound plays now, and
// how it was handed over (SND_MEMORY or SND_FILENAME).
std::atomic<bool> g_playing{false};
std::atomic<DWORD> g_playedBy{0};
BOOL WatchedPlay(const char* sound, HMODULE, DWORD flags) {
  g_playing = sound != nullptr;
  g_playedBy = flags & (SND_MEMORY | SND_FILENAME);
  return sound != nullptr;
}

TEST(RealServicesTest, InstalledServicesKnowTheProgramFolder) {
  const Services saved = Svc();
  InstallRealServices();
  const Services real = Svc();
  Svc() = saved;

  ASSERT_TRUE(real.clock && real.locale && real.dialogs && real.sound && real.shell &&
              real.help && real.printer && real.registry);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(real.exePath, path);
  ASSERT_FALSE(real.programFolder.empty());
  EXPECT_EQ(real.programFolder.back(), '\\');
  EXPECT_EQ(real.exePath.rfind(real.programFolder, 0), 0u);
  EXPECT_EQ(real.exePath.find('\\', real.programFolder.size()), std::string::npos);

}

// A sound of a minute plays and stops at once, from memory; a sound of 3 GB
// plays from its file; a missing file plays nothing; a device, a folder or a
// pipe that never delivers never holds the caller up.
TEST(RealServicesTest, TheAlarmSoundNeverWaitsForItsFile) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string minute = std::string(temp) + "pendra-minute.wav";
  testing_files::WriteFileBytes(minute, WaveHeader(60 * 8000) + std::string(60 * 8000, '\x80'));
  // No 32-bit process could read it whole.
  const std::string huge = std::string(temp) + "pendra-huge.wav";
  testing_files::WriteSparseFile(huge, 0xC0000000LL, WaveHeader(0xC0000000u - 44));
  const std::string pipe = "\\\\.\\pipe\\pendra-silent-" + std::to_string(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 4, 0, 0, 0,
                                   nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  struct Row {
    const char* lost;  // what the user would lose
    std::string path;
    std::optional<bool> plays;  // nullopt: still held up by its file
    DWORD how;
  };
  const Row rows[] = {{"the alarm stopped when an announcement is answered", minute, true, SND_MEMORY},
                      {"a WAV over the size limit", huge, true, SND_FILENAME},
                      {"silence for a missing file", std::string(temp) + "no-such-sound.wav", false, 0},
                      {"silence for a folder", temp, false, 0},
                      {"a program that answers", pipe, std::nullopt, 0}};
  SoundPlayer player(WatchedPlay);
  for (const Row& row : rows) {
    const DWORD start = GetTickCount();
    player.Start(row.path);
    EXPECT_EQ(player.Outcome(row.plays ? 5000 : 500), row.plays) << row.lost;
    if (row.plays == true) EXPECT_EQ(g_playedBy.load(), row.how) << row.lost;
    player.Stop();  // the announcement answered
    if (row.plays) EXPECT_TRUE(player.Outcome(5000) == false && !g_playing) << row.lost;
    player.Start(row.path);
    player.Stop();
    EXPECT_LT(GetTickCount() - start, 6000u) << row.lost;
  }
  SoundPlayer real;  // the system's own PlaySound takes a sound either way
  for (const std::string& path : {minute, huge}) {
    real.Start(path);
    EXPECT_EQ(real.Outcome(5000), true) << path;
  }
  real.Stop();
  EXPECT_EQ(real.Outcome(5000), false);
  for (const char* device : {"\\\\.\\COM1", "CON"}) {
    const DWORD start = GetTickCount();
    player.Start(device);
    player.Stop();
    EXPECT_LT(GetTickCount() - start, 2000u) << device;
  }
  CloseHandle(server);  // the pipe answers at last
  DeleteFileA(minute.c_str());
  DeleteFileA(huge.c_str());
}

}  // namespace
}  // namespace pendra::test
