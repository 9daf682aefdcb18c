#pragma once
// The real registry: HKEY_CURRENT_USER for the settings, or
// HKEY_LOCAL_MACHINE for the system's values, which the program only reads.
#include "settings/reg_ini.h"

namespace pendra {

enum class RegistryRoot { CurrentUser, LocalMachine };

class WinRegistry final : public IRegistry {
 public:
  explicit WinRegistry(RegistryRoot root = RegistryRoot::CurrentUser) : root_(root) {}
  ValueKind Read(const std::string& keyPath, const std::string& name, std::string& out) override;
  std::optional<std::string> ReadBytes(const std::string& keyPath, const std::string& name) override;
  void WriteText(const std::string& keyPath, const std::string& name,
                 const std::string& value) override;
  bool DeleteValue(const std::string& keyPath, const std::string& name) override;
  bool KeyExists(const std::string& keyPath) override;
  void DeleteTree(const std::string& keyPath) override;

 private:
  RegistryRoot root_;
};

}  // namespace pendra
