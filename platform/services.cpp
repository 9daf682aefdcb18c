#include "platform/services.h"

#include "settings/errors.h"

namespace pendra {

Services& Svc() {
  static Services services;
  return services;
}

void ReportError(const std::string& text) {
  if (Svc().dialogs) Svc().dialogs->ShowMessage(WithFullStop(text), kAppTitle, MsgIcon::Stop);
}

}  // namespace pendra
