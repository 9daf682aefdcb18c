#include "platform/services.h"

#include "settings/errors.h"

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

QuietErrors::QuietErrors() : outer_(g_quiet) { g_quiet = this; }

QuietErrors::~QuietErrors() { g_quiet = outer_; }

void QuietErrors::Add(const std::string& text) { texts_.push_back(WithFullStop(text)); }

void Tell(const std::string& text, MsgIcon icon) {
  if (!g_quiet && Svc().dialogs) Svc().dialogs->ShowMessage(text, kAppTitle, icon);
}

}  // namespace pendra
