#include "platform/real_services_win.h"

#include "platform/services.h"

namespace pendra {

void InstallRealServices() {}

}  // namespace pendra
