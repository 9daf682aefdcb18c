#pragma once
// Seams for everything tests must control. The Win32 layer installs the real
// implementations at start; tests install fakes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/colors.h"
#include "settings/datetime.h"

namespace pendra {

class IRegistry;
class DataFolder;
struct DataOutcome;

// A window of the platform (an HWND on Windows), passed through the seams as
// the owner of what they show.
using NativeWindow = void*;

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  friend bool operator==(const FontStyle&, const FontStyle&) = default;
};

// The font of a text control: face, size in points (0: the face's default
// height), colour as 0x00BBGGRR, style.
struct FontSpec {
  std::string name;
  int size = 0;
  int color = 0;
  FontStyle style;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual DateTime Now() = 0;  // local time
};

class ILocale {
 public:
  virtual ~ILocale() = default;
  // In UTF-8, as the lists hold the time and date texts written with them.
  virtual const LocaleFormats& Formats() = 0;
  // Changes whenever the formats change (the user changed them), so caches of
  // converted texts can tell they are stale.
  virtual unsigned Generation() const = 0;
  // Takes the formats afresh from the system.
  virtual void Refresh() = 0;
};

enum class MsgIcon { None, Stop, Question, Warning, Information };

struct FileDialogRequest {
  std::string filter;       // "Wave files (*.wav)|*.wav" form
  std::string initialFile;  // file name the dialog opens on
  std::string title;        // empty: the system's
  std::string defaultExt;
  NativeWindow owner = nullptr;  // null: the application window
  // Open dialog only: several files may be chosen (the first is given), and
  // only an existing file is taken.
  bool allowMultiSelect = false;
  bool fileMustExist = false;
};

enum class YesNoCancel { Yes, No, Cancel };

// The texts of the boxes (ShowMessage, Announce, Confirm, AskYesNoCancel and
// the input box's, both ways) are UTF-8, as are the texts of errors, which the
// general error handler shows: a message quoting a reminder, a tab name or a
// path shows every character of it. A text in the code page (a path from a
// file dialog, a printer's name) is converted where the message is composed.
// The file dialogs, the font dialog and find keep to the code page.
class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Modal message box with only an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) = 0;
  // The announcement of a reminder: a modal box captioned with the
  // application title, the text and one OK button (Enter and Esc answer it).
  // It lies within its monitor's work area, scrolling a text too long for it,
  // and stays on top of other windows until it is answered.
  virtual void Announce(const std::string& text) = 0;
  // The "Confirm" box: question icon, "&Yes" (default) and "&No"; Esc answers No.
  virtual bool Confirm(const std::string& text) = 0;
  // The "Confirm" box with the question icon and "&Yes", "&No" and "Cancel",
  // owned by `owner` (null: the application window); Esc answers Cancel.
  virtual YesNoCancel AskYesNoCancel(NativeWindow owner, const std::string& text) = 0;
  // Open-file dialog; false when cancelled.
  virtual bool OpenFile(const FileDialogRequest& request, std::string& chosenPath) = 0;
  // Save-file dialog: the first filter entry selected, a question before an
  // existing file is overwritten, no read-only box, resizable; false when
  // cancelled.
  virtual bool SaveFile(const FileDialogRequest& request, std::string& chosenPath) = 0;
  // Font dialog (ChooseFontA) opened on `font`: face, size (no limits),
  // style, underline, strike-out and colour. On OK `font` takes the choice;
  // false when cancelled.
  virtual bool PickFont(NativeWindow owner, FontSpec& font) = 0;
  // Shows the owner's modeless find dialog with `text` as its search text:
  // search down, no match-case, whole-word or direction controls. Each press
  // of Find Next reaches the owner as the registered "commdlg_FindReplace"
  // message.
  virtual void ShowFind(NativeWindow owner, const std::string& text) = 0;
  // The input box, modal over `owner`: `caption`, `prompt` above a one-line
  // edit that starts with `text` and takes at most `maxLength` characters,
  // OK and Cancel. Gives the edit's text on OK and `text` on Cancel.
  virtual std::string InputBox(NativeWindow owner, const std::string& caption,
                               const std::string& prompt, const std::string& text,
                               int maxLength) = 0;
};

class ISound {
 public:
  virtual ~ISound() = default;
  // Starts playing a wave file and returns at once, so the announcement's box
  // is up while it plays; a file that cannot be played is silent, never the
  // system's default sound. Neither call waits for the file to open. False
  // when the sound could not be handed over.
  virtual bool Start(const std::string& path) = 0;
  // Stops the sound that is playing, if any.
  virtual void Stop() = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteA(owner, "open", target, "", "", SW_SHOWNORMAL); the result
  // is not looked at. A null owner stands for the application window.
  virtual void Open(NativeWindow owner, const std::string& target) = 0;
};

class IPrinter {
 public:
  virtual ~IPrinter() = default;
  // The default printer's name; empty when there is none.
  virtual std::string DefaultPrinter() = 0;
  // Where a print job goes: empty for the printer itself, else a file name.
  virtual std::string DocumentOutput() = 0;
};

class IHelp {
 public:
  virtual ~IHelp() = default;
  virtual void ShowContents(const std::string& helpFile) = 0;  // WinHelp HELP_FINDER
};

class IDisplay {
 public:
  virtual ~IDisplay() = default;
  // High contrast (SPI_GETHIGHCONTRAST) and the system's window text and
  // window colours (COLOR_WINDOWTEXT, COLOR_WINDOW), as they are now.
  virtual SystemColors Colors() = 0;
};

struct Services {
  IClock* clock = nullptr;
  ILocale* locale = nullptr;
  IDialogs* dialogs = nullptr;
  ISound* sound = nullptr;
  IShell* shell = nullptr;
  IHelp* help = nullptr;
  IPrinter* printer = nullptr;
  IDisplay* display = nullptr;
  IRegistry* registry = nullptr;  // HKEY_CURRENT_USER: the settings
  IRegistry* machine = nullptr;   // HKEY_LOCAL_MACHINE, only read
  std::string programFolder;  // with its trailing separator
  // The owner of the data files in the program folder.
  DataFolder* data = nullptr;
  std::string exePath;        // full path of the running executable
  // Found so at start: the windows then make no file there of their own
  // accord (the designed tab list, the empty note), as it would only fail.
  bool programFolderReadOnly = false;
};

Services& Svc();

// The application title: caption of every message box the program shows.
inline constexpr const char* kAppTitle = "Pendra";

// Shows an error through the general error handler (caption "Pendra", OK,
// stop icon, full-stop rule).
void ReportError(const std::string& text);
// Tells the user something in a box captioned "Pendra" with OK and the icon.
// Not while QuietErrors lives: it is no error, and nobody may be there to
// answer the box.
void Tell(const std::string& text, MsgIcon icon);

// Tells the user what a save or a delete of a data file did beyond its own
// file, each in a box captioned "Pendra" with the warning icon. While
// QuietErrors lives, what became of another program's version is kept for
// the next start instead (SayUntoldNotices), never lost in silence.
void Say(const DataOutcome& outcome);
// At start: tells what the end of the last session could not.
void SayUntoldNotices();

// While one lives, the general error handler keeps the texts (full-stop rule
// applied) instead of showing them: at the end of the session a box would
// hold up the logoff, and nobody may be there to answer it. Scopes nest; the
// innermost takes the texts.
class QuietErrors {
 public:
  QuietErrors();
  ~QuietErrors();
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;

  void Add(const std::string& text);
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  QuietErrors* outer_;
  std::vector<std::string> texts_;
};

}  // namespace pendra
