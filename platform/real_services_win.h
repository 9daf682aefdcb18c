#pragma once
// Installs the real, Win32-backed implementations of every seam.
#include <string>

#include "platform/services.h"

namespace pendra {

void InstallRealServices();

// The user's locale formats, read with GetLocaleInfoA and kept until Refresh.
class RealLocale final : public ILocale {
 public:
  RealLocale();
  const LocaleFormats& Formats() override { return formats_; }
  unsigned Generation() const override { return generation_; }
  void Refresh() override;

  // The formats the system gives now.
  static LocaleFormats ReadFromSystem();

 private:
  LocaleFormats formats_;
  unsigned generation_ = 1;
};

// Message boxes and common dialogs owned by the application window. While
// one is open the program's windows are disabled.
class RealDialogs final : public IDialogs {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon) override;
  void Announce(const std::string& text) override;
  bool Confirm(const std::string& text) override;
  YesNoCancel AskYesNoCancel(NativeWindow owner, const std::string& text) override;
  bool OpenFile(const FileDialogRequest& request, std::string& chosenPath) override;
  bool SaveFile(const FileDialogRequest& request, std::string& chosenPath) override;
  bool PickFont(NativeWindow owner, FontSpec& font) override;
  void ShowFind(NativeWindow owner, const std::string& text) override;
  std::string InputBox(NativeWindow owner, const std::string& caption, const std::string& prompt,
                       const std::string& text, int maxLength) override;
};

// The default printer of the system; documents go to the printer itself.
class RealPrinter final : public IPrinter {
 public:
  std::string DefaultPrinter() override;
  std::string DocumentOutput() override { return {}; }
};

}  // namespace pendra
