#include "platform/services.h"

#include "settings/code_page.h"
#include "settings/data_folder.h"
#include "settings/errors.h"
#include "settings/reg_ini.h"

namespace pendra {

Services& Svc() {
  static Services services;
  return services;
}

namespace {
QuietErrors* g_quiet = nullptr;
}  // namespace

void ReportError(const std::string& text) {
  if (g_quiet) {
    g_quiet->Add(text);
    return;
  }
  if (Svc().dialogs) Svc().dialogs->ShowMessage(WithFullStop(text), kAppTitle, MsgIcon::Stop);
}

namespace {

constexpr const char* kUntoldSection = "Untold";
constexpr const char* kUntoldIdent = "Notices";

}  // namespace

void Say(const DataOutcome& outcome) {
  for (const DataNotice& notice : outcome.notices) {
    if (!g_quiet) {
      Tell(notice.text, MsgIcon::Warning);
      continue;
    }
    if (notice.kind != DataNotice::Kind::TheirsKept || !Svc().registry) continue;
    // Nobody may be there to answer a box now: the next start tells it.
    try {
      // The registry holds text in the code page: a character it has not
      // (of a path, say) is a "?" there.
      TRegIniFile ini(*Svc().registry, kPendraKey);
      std::string untold = Utf8FromCodePage(ini.ReadString(kUntoldSection, kUntoldIdent, ""));
      if (!untold.empty()) untold += '\n';
      ini.WriteString(kUntoldSection, kUntoldIdent, CodePageFromUtf8(untold + notice.text).bytes);
    } catch (const std::exception&) {
      // A registry that cannot be written now loses the word, not the copy.
    }
  }
}

void SayUntoldNotices() {
  if (!Svc().registry) return;
  std::string untold;
  try {
    if (Svc().registry->Read(std::string(kPendraKey) + "\\" + kUntoldSection, kUntoldIdent, untold) !=
        ValueKind::Text)
      return;
    Svc().registry->DeleteValue(std::string(kPendraKey) + "\\" + kUntoldSection, kUntoldIdent);
  } catch (const std::exception&) {
    return;
  }
  for (const std::string& text : SplitLines(Utf8FromCodePage(untold)))
    if (!text.empty()) Tell("When Windows last ended its session: " + text, MsgIcon::Warning);
}

QuietErrors::QuietErrors() : outer_(g_quiet) { g_quiet = this; }

QuietErrors::~QuietErrors() { g_quiet = outer_; }

void QuietErrors::Add(const std::string& text) { texts_.push_back(WithFullStop(text)); }

void Tell(const std::string& text, MsgIcon icon) {
  if (!g_quiet && Svc().dialogs) Svc().dialogs->ShowMessage(text, kAppTitle, icon);
}

}  // namespace pendra
