#pragma once
// The registry settings object: a key path under HKEY_CURRENT_USER, a section
// is a subkey of it (created on first write), an ident is a value name. Every
// value is stored as text; value names match without regard to case.
#include <map>
#include <optional>
#include <string>

namespace pendra {

enum class ValueKind { Missing, Text, Other };

// Access to HKEY_CURRENT_USER. Paths are backslash-separated, relative to the root.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Reads a value; out is set only for Text.
  virtual ValueKind Read(const std::string& keyPath, const std::string& name, std::string& out) = 0;
  // The stored bytes of a value of any type; nullopt when it is missing.
  virtual std::optional<std::string> ReadBytes(const std::string& keyPath, const std::string& name) = 0;
  // Writes a text value, creating the key when missing; throws Error on failure.
  virtual void WriteText(const std::string& keyPath, const std::string& name,
                         const std::string& value) = 0;
  // Opens the key without creating it and deletes the value; false when the
  // key could not be opened or the value did not exist.
  virtual bool DeleteValue(const std::string& keyPath, const std::string& name) = 0;
  virtual bool KeyExists(const std::string& keyPath) = 0;
  // Deletes a key and everything below it (used by tests and resets).
  virtual void DeleteTree(const std::string& keyPath) = 0;
};

// In-memory registry for native tests; key paths and names are case-insensitive.
class MemoryRegistry final : public IRegistry {
 public:
  ValueKind Read(const std::string& keyPath, const std::string& name, std::string& out) override;
  std::optional<std::string> ReadBytes(const std::string& keyPath, const std::string& name) override;
  void WriteText(const std::string& keyPath, const std::string& name,
                 const std::string& value) override;
  bool DeleteValue(const std::string& keyPath, const std::string& name) override;
  bool KeyExists(const std::string& keyPath) override;
  void DeleteTree(const std::string& keyPath) override;
  // A non-text value, to exercise "Invalid data type".
  void WriteBinary(const std::string& keyPath, const std::string& name, const std::string& bytes = {});

 private:
  struct Value {
    ValueKind kind = ValueKind::Text;
    std::string text;
  };
  struct Key {
    std::map<std::string, Value> values;  // by lower-cased name
  };
  std::map<std::string, Key> keys_;  // by lower-cased path
};

class TRegIniFile {
 public:
  TRegIniFile(IRegistry& registry, std::string keyPath);

  const std::string& KeyPath() const { return keyPath_; }

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& ident, int def) const;
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;

  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& ident, int value);
  void WriteBool(const std::string& section, const std::string& ident, bool value);

 private:
  std::string SectionPath(const std::string& section) const;
  IRegistry& registry_;
  std::string keyPath_;
};

// Key paths used across the program.
inline constexpr const char* kPendraKey = "Software\\Tavrin Software\\Pendra";
inline constexpr const char* kTrayKey = "Software\\Tavrin Software\\Pendra\\Tray";
inline constexpr const char* kReminderEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
inline constexpr const char* kReminderButtonsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Buttons";
inline constexpr const char* kNotebookKey = "Software\\Tavrin Software\\Pendra\\Pendra";
inline constexpr const char* kEditorKey = "Software\\Tavrin Software\\Pendra\\Editor";
inline constexpr const char* kQuicknotesKey = "Software\\Tavrin Software\\Pendra\\Quicknotes";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace pendra
