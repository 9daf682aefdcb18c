#pragma once
// The settings registry on the real HKEY_CURRENT_USER.
#include "settings/reg_ini.h"

namespace pendra {

class WinRegistry final : public IRegistry {
 public:
  ValueKind Read(const std::string& keyPath, const std::string& name, std::string& out) override;
  void WriteText(const std::string& keyPath, const std::string& name,
                 const std::string& value) override;
  bool DeleteValue(const std::string& keyPath, const std::string& name) override;
  bool KeyExists(const std::string& keyPath) override;
  void DeleteTree(const std::string& keyPath) override;
};

}  // namespace pendra
