#pragma once
// Seams for everything tests must control. The Win32 layer installs the real
// implementations at start; tests install fakes.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/datetime.h"

namespace pendra {

class IRegistry;

class IClock {
 public:
  virtual ~IClock() = default;
  virtual DateTime Now() = 0;  // local time
};

class ILocale {
 public:
  virtual ~ILocale() = default;
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
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Modal message box with only an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) = 0;
  // The "Confirm" box: question icon, "&Yes" (default) and "&No"; Esc answers No.
  virtual bool Confirm(const std::string& text) = 0;
  // Open-file dialog; false when cancelled.
  virtual bool OpenFile(const FileDialogRequest& request, std::string& chosenPath) = 0;
};

class ISound {
 public:
  virtual ~ISound() = default;
  // PlaySoundA(path, module, SND_FILENAME): synchronous.
  virtual bool PlayFile(const std::string& path) = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  virtual void Open(const std::string& target) = 0;  // ShellExecuteA "open"
  // The same with one of the program's windows (its handle) as the parent of
  // what the shell shows.
  virtual void OpenFrom(const std::string& target, std::uintptr_t parentWindow) {
    (void)parentWindow;
    Open(target);
  }
};

class IHelp {
 public:
  virtual ~IHelp() = default;
  virtual void ShowContents(const std::string& helpFile) = 0;  // WinHelp HELP_FINDER
};

struct Services {
  IClock* clock = nullptr;
  ILocale* locale = nullptr;
  IDialogs* dialogs = nullptr;
  ISound* sound = nullptr;
  IShell* shell = nullptr;
  IHelp* help = nullptr;
  IRegistry* registry = nullptr;  // HKEY_CURRENT_USER: the settings
  IRegistry* machine = nullptr;   // HKEY_LOCAL_MACHINE, only read
  std::string programFolder;  // with its trailing separator
  std::string exePath;        // full path of the running executable
};

Services& Svc();

// The application title: caption of every message box the program shows.
inline constexpr const char* kAppTitle = "Pendra";

// Shows an error through the general error handler (caption "Pendra", OK,
// stop icon, full-stop rule).
void ReportError(const std::string& text);

}  // namespace pendra
