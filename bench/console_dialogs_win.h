#pragma once
// The dialogs seam for the benchmark tools that drive Pendra's own windows:
// messages go to the console instead of a box nobody answers, questions are
// declined, and the open dialog answers with the file a tool sets.
#include <cstdio>
#include <string>

#include "platform/services.h"

namespace pendra {

class ConsoleDialogs final : public IDialogs {
 public:
  std::string openAnswer;  // empty: the open dialog is cancelled

  void ShowMessage(const std::string& text, const std::string&, MsgIcon) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void Announce(const std::string& text) override { ShowMessage(text, {}, MsgIcon::None); }
  bool Confirm(const std::string&) override { return false; }
  YesNoCancel AskYesNoCancel(NativeWindow, const std::string&) override { return YesNoCancel::No; }
  bool OpenFile(const FileDialogRequest&, std::string& chosen) override {
    if (openAnswer.empty()) return false;
    chosen = openAnswer;
    return true;
  }
  bool SaveFile(const FileDialogRequest&, std::string&) override { return false; }
  bool PickFont(NativeWindow, FontSpec&) override { return false; }
  void ShowFind(NativeWindow, const std::string&) override {}
  std::string InputBox(NativeWindow, const std::string&, const std::string&, const std::string& text,
                       int) override {
    return text;
  }
};

}  // namespace pendra
