#include "settings/registry_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "settings/errors.h"

namespace pendra {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class Key {
 public:
  explicit Key(RegistryRoot root) : root_(RootKey(root)) {}
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (hkey_) RegCloseKey(hkey_);
  }
  bool Open(const std::string& path, REGSAM access) {
    return RegOpenKeyExA(root_, path.c_str(), 0, access, &hkey_) == ERROR_SUCCESS;
  }
  bool Create(const std::string& path, REGSAM access) {
    return RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           access, nullptr, &hkey_, nullptr) == ERROR_SUCCESS;
  }
  HKEY Get() const { return hkey_; }

 private:
  HKEY root_;
  HKEY hkey_ = nullptr;
};

}  // namespace

namespace {

// A value's type and bytes; false when the key or the value is missing.
bool QueryValue(RegistryRoot root, const std::string& keyPath, const std::string& name, DWORD& type,
                std::vector<BYTE>& data, DWORD& size) {
  Key key(root);
  if (!key.Open(keyPath, KEY_QUERY_VALUE)) return false;
  // Most values fit the first buffer, which saves asking for the size first.
  data.resize(256);
  size = static_cast<DWORD>(data.size() - 1);
  LONG rc = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
  // The value may grow between two calls; ask again until it fits.
  while (rc == ERROR_MORE_DATA) {
    data.resize(size + 1);
    DWORD got = size;
    rc = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &got);
    size = got;
  }
  return rc == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> WinRegistry::ReadBytes(const std::string& keyPath, const std::string& name) {
  DWORD type = 0, size = 0;
  std::vector<BYTE> data;
  if (!QueryValue(root_, keyPath, name, type, data, size)) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(data.data()), size);
}

ValueKind WinRegistry::Read(const std::string& keyPath, const std::string& name,
                            std::string& out) {
  DWORD type = 0, size = 0;
  std::vector<BYTE> data;
  if (!QueryValue(root_, keyPath, name, type, data, size)) return ValueKind::Missing;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ValueKind::Other;
  // Text ends at its terminating zero (the stored size may or may not count it).
  const char* chars = reinterpret_cast<const char*>(data.data());
  std::size_t length = 0;
  while (length < size && chars[length] != '\0') ++length;
  out.assign(chars, length);
  return ValueKind::Text;
}

void WinRegistry::WriteText(const std::string& keyPath, const std::string& name,
                            const std::string& value) {
  Key key(root_);
  if (!key.Create(keyPath, KEY_SET_VALUE) ||
      RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw Error("Failed to set data for '" + name + "'");
}

bool WinRegistry::DeleteValue(const std::string& keyPath, const std::string& name) {
  Key key(root_);
  if (!key.Open(keyPath, KEY_SET_VALUE)) return false;
  return RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool WinRegistry::KeyExists(const std::string& keyPath) {
  Key key(root_);
  return key.Open(keyPath, KEY_QUERY_VALUE);
}

void WinRegistry::DeleteTree(const std::string& keyPath) {
  {
    Key key(root_);
    if (!key.Open(keyPath, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE)) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      LONG rc = RegEnumKeyExA(key.Get(), i, name, &len, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      children.emplace_back(name, len);
    }
    for (const auto& child : children) DeleteTree(keyPath + '\\' + child);
  }
  RegDeleteKeyA(RootKey(root_), keyPath.c_str());
}

}  // namespace pendra
