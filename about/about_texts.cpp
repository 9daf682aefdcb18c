#include "about/about_texts.h"

#include <map>
#include <optional>
#include <utility>

#include "about/version_record.h"
#include "settings/reg_ini.h"

namespace pendra {

namespace {

// One open key at a time: a key that cannot be opened leaves the one open
// before in place, and that one is read instead. What was asked once is kept,
// since every question to the system's registry costs a round trip.
class KeyCursor {
 public:
  explicit KeyCursor(IRegistry& registry) : registry_(registry) {}
  void Open(const std::string& path) {
    auto known = exists_.find(path);
    if (known == exists_.end()) known = exists_.emplace(path, registry_.KeyExists(path)).first;
    if (known->second) open_ = path;
  }
  // A value that is missing or not text reads as empty: the about box is not
  // worth stopping the program's start for.
  std::string Read(const std::string& name) {
    if (!open_) return {};
    const auto slot = std::make_pair(*open_, name);
    auto known = values_.find(slot);
    if (known == values_.end()) {
      std::string text;
      if (registry_.Read(*open_, name, text) != ValueKind::Text) text.clear();
      known = values_.emplace(slot, text).first;
    }
    return known->second;
  }

 private:
  IRegistry& registry_;
  std::optional<std::string> open_;
  std::map<std::string, bool> exists_;
  std::map<std::pair<std::string, std::string>, std::string> values_;
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
