#pragma once
// What the about box shows, apart from the window: the system's registered
// owner and version read from HKEY_LOCAL_MACHINE, and the texts of the
// labels built from them and from the version record.
#include <string>

namespace pendra {

class IRegistry;
class VersionRecord;

inline constexpr const char* kWindowsKey = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const char* kWindowsNtKey = "Software\\Microsoft\\Windows NT\\CurrentVersion";

struct SystemInfo {
  std::string owner;
  std::string organization;
  std::string productName;
  std::string versionNumber;
};

// Reads the four values, each from the Windows key and, when it has nothing,
// from the NT key; see the definition for the exact rules. A missing value,
// or one that is not text, reads as empty.
SystemInfo ReadSystemInfo(IRegistry& machine);

struct AboutTexts {
  std::string caption;       // the window's
  std::string productName;   // ProductName label
  std::string version;       // Version label
  std::string comments;      // Comments panel
  std::string companyName;   // CompanyName button
  std::string user;          // lblUser
  std::string company;       // lblCompany
  std::string winVersion;    // lblWinVersion
  std::string verNumber;     // lblVerNumber
};

AboutTexts ComposeAboutTexts(const VersionRecord& record, const SystemInfo& system);

}  // namespace pendra
