#pragma once
// Fakes of the seams for the Win32 tests, and helpers to drive real windows.
#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "tests/common/file_bytes.h"
#include <vector>

#include "platform/services.h"
#include "settings/data_folder.h"
#include "settings/datetime.h"
#include "settings/reg_ini.h"
#include "settings/text_encoding.h"

namespace pendra::test {

class FakeClock : public IClock {
 public:
  DateTime Now() override;
  void Set(int y, int mo, int d, int h, int mi, int s);
  void AdvanceSeconds(int seconds);

 private:
  DateTime now_{{2000, 6, 19}, {13, 5, 0}};  // a Monday
};

class FakeLocale : public ILocale {
 public:
  LocaleFormats formats;  // en-US by default
  unsigned generation = 1;
  const LocaleFormats& Formats() override { return formats; }
  unsigned Generation() const override { return generation; }
  void Refresh() override {}
  void Change(const LocaleFormats& f) { formats = f; ++generation; }
};

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgIcon icon;
};

class FakeDialogs : public IDialogs {
 public:
  std::vector<ShownMessage> shown;
  std::vector<std::string> confirmations;  // texts asked
  std::deque<bool> confirmAnswers;         // default answer when empty: false (No)
  // The Yes/No/Cancel question: texts asked with their owners, and answers
  // (default when empty: Cancel).
  std::vector<std::string> questions;
  std::vector<NativeWindow> questionOwners;
  std::deque<YesNoCancel> questionAnswers;
  std::deque<std::string> openAnswers;     // "" = cancel; default when empty: cancel
  std::vector<FileDialogRequest> openRequests;
  std::deque<std::string> saveAnswers;  // "" = cancel; default when empty: cancel
  std::vector<FileDialogRequest> saveRequests;
  // The font dialog: each answer is the font chosen, nullopt a cancel
  // (default when empty: cancel). The fonts it was opened on are kept.
  std::deque<std::optional<FontSpec>> fontAnswers;
  std::vector<FontSpec> fontRequests;
  struct FindShown {
    NativeWindow owner;
    std::string text;
  };
  std::vector<FindShown> findsShown;
  // The input box: each answer is the text given with OK, nullopt a Cancel
  // (default when empty: Cancel).
  struct InputAsked {
    NativeWindow owner;
    std::string caption, prompt, text;
    int maxLength;
  };
  std::deque<std::optional<std::string>> inputAnswers;
  std::vector<InputAsked> inputsAsked;
  // Runs while a message box is "open" (before ShowMessage returns), so tests
  // can deliver timer ticks the way a real modal box's message loop would.
  std::function<void(const ShownMessage&)> duringBox;

  void ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) override;
  // Recorded as a box captioned "Pendra" without an icon.
  void Announce(const std::string& text) override { ShowMessage(text, kAppTitle, MsgIcon::None); }
  bool Confirm(const std::string& text) override;
  YesNoCancel AskYesNoCancel(NativeWindow owner, const std::string& text) override;
  bool OpenFile(const FileDialogRequest& request, std::string& chosenPath) override;
  bool SaveFile(const FileDialogRequest& request, std::string& chosenPath) override;
  bool PickFont(NativeWindow owner, FontSpec& font) override;
  void ShowFind(NativeWindow owner, const std::string& text) override {
    findsShown.push_back({owner, text});
  }
  std::string InputBox(NativeWindow owner, const std::string& caption, const std::string& prompt,
                       const std::string& text, int maxLength) override;
  std::vector<ShownMessage> Errors() const;  // the stop-icon boxes
  void Clear() { shown.clear(); confirmations.clear(); questions.clear(); }
};

// A sound that goes on until it is stopped, however long its file.
class FakeSound : public ISound {
 public:
  std::vector<std::string> played;  // every start
  bool playing = false;
  int stops = 0;
  bool Start(const std::string& path) override {
    played.push_back(path);
    playing = true;
    return true;
  }
  void Stop() override {
    ++stops;
    playing = false;
  }
};

class FakeShell : public IShell {
 public:
  std::vector<std::string> opened;
  std::vector<NativeWindow> owners;
  void Open(NativeWindow owner, const std::string& target) override {
    owners.push_back(owner);
    opened.push_back(target);
  }
};

// No default printer unless a test names one.
class FakePrinter : public IPrinter {
 public:
  std::string name;
  std::string output;
  std::string DefaultPrinter() override { return name; }
  std::string DocumentOutput() override { return output; }
};

// Plain colours, high contrast off, unless a test sets others.
class FakeDisplay : public IDisplay {
 public:
  SystemColors colors;
  SystemColors Colors() override { return colors; }
};

class FakeHelp : public IHelp {
 public:
  std::vector<std::string> shown;
  void ShowContents(const std::string& helpFile) override { shown.push_back(helpFile); }
};

// The fakes every test gets. Reset() gives a fresh program folder (a new
// temporary directory holding check.bmp and undo.bmp) and an empty
// "Software\Tavrin Software\Pendra" registry tree on the real registry.
struct Env {
  FakeClock clock;
  FakeLocale locale;
  FakeDialogs dialogs;
  FakeSound sound;
  FakeShell shell;
  FakeHelp help;
  FakePrinter printer;
  FakeDisplay display;
  MemoryRegistry machine;  // HKEY_LOCAL_MACHINE as the tests set it
  std::string folder;  // program folder with trailing backslash
  std::unique_ptr<DataFolder> data;
  void Reset();
};
Env& TestEnv();

// Dispatches every pending message of this thread.
void PumpMessages();
// Sends a click to a button the way a user's click arrives (BM_CLICK).
void Click(HWND button);
// Sends WM_COMMAND for a menu item id to a window.
void MenuCommand(HWND window, int id);
// Sends a key press (WM_KEYDOWN then WM_CHAR where it has one) to a control.
void PressKey(HWND control, WPARAM vk, char ch = 0);
// A key pressed in `to` (nullptr: where the focus is) with the given keys held,
// as the keyboard sends it, through the program's own message loop.
void KeyThroughLoop(WPARAM vk, std::initializer_list<int> held = {}, HWND to = nullptr);
// A character typed into `control` (its window brought to the front) as a
// keyboard of any language sends it: Unicode input through the message loop.
void TypeUnicode(HWND control, wchar_t c);
// Text given as UTF-8 (a literal of the tests' sources) in UTF-16.
std::wstring Utf8ToWide(const std::string& utf8);
// A UTF-16 file's bytes (TextEncoding::Utf16Le or Utf16Be), its mark first,
// holding text given as UTF-8.
std::string Utf16File(const std::string& utf8, TextEncoding encoding);
// Puts Unicode text, and only that, on the clipboard.
void SetClipboardUnicode(const std::wstring& text);
using testing_files::ReadFileBytes;
using testing_files::WriteFileBytes;

}  // namespace pendra::test
