#include "about/about_texts.h"

#include <optional>

#include "about/version_record.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

// One open key at a time: a key that cannot be opened leaves the one open
// before in place, and that one is read instead.
class KeyCursor {
 public:
  explicit KeyCursor(IRegistry& registry) : registry_(registry) {}
  void Open(const char* path) {
    if (registry_.KeyExists(path)) open_ = path;
  }
  // A value that is missing or not text reads as empty: the about box is not
  // worth stopping the program's start for.
  std::string Read(const char* name) {
    std::string text;
    if (!open_ || registry_.Read(*open_, name, text) != ValueKind::Text) return {};
    return text;
  }

 private:
  IRegistry& registry_;
  std::optional<std::string> open_;
};

}  // namespace

SystemInfo ReadSystemInfo(IRegistry& machine) {
  SystemInfo info;
  KeyCursor key(machine);

  key.Open(kWindowsKey);
  if (key.Read("RegisteredOwner").empty()) key.Open(kWindowsNtKey);
  info.owner = key.Read("RegisteredOwner");

  key.Open(kWindowsKey);
  if (key.Read("RegisteredOrganization").empty()) key.Open(kWindowsNtKey);
  info.organization = key.Read("RegisteredOrganization");

  // The Windows key names the system only when it has a "Version".
  key.Open(kWindowsKey);
  if (key.Read("Version").empty()) key.Open(kWindowsNtKey);
  info.productName = key.Read("ProductName");

  key.Open(kWindowsKey);
  info.versionNumber = key.Read("VersionNumber");
  if (info.versionNumber.empty()) {
    key.Open(kWindowsNtKey);
    info.versionNumber = key.Read("CurrentBuildNumber");
  }
  return info;
}

AboutTexts ComposeAboutTexts(const VersionRecord& record, const SystemInfo& system) {
  AboutTexts t;
  const std::string product = record.Value("ProductName");
  t.caption = "About  " + product;
  t.productName = product;
  t.version = "File Version   " + record.Value("FileVersion");
  t.comments = product + " was " + record.Value("Comments");
  t.companyName = record.Value("CompanyName");
  t.user = system.owner;
  t.company = system.organization;
  t.winVersion = "Windows Version:  " + system.productName;
  t.verNumber = "Version Number:  " + system.versionNumber;
  return t;
}

}  // namespace pendra
