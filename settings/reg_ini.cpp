#include "settings/reg_ini.h"

#include <climits>
#include <cstddef>
#include <string>
#include <utility>

#include "settings/errors.h"

namespace pendra {

namespace {

// Key paths and value names match without regard to case, as in the registry.
std::string Folded(const std::string& s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string FoldedPath(const std::string& path) {
  std::string out = Folded(path);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

// Whole decimal numbers only: optional leading blanks, optional sign, digits,
// nothing after; anything else (or a number out of range) is not a number.
bool ParseInteger(const std::string& text, int& value) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long v = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT_MAX || v < INT_MIN) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

// ---- MemoryRegistry ---------------------------------------------------------

ValueKind MemoryRegistry::Read(const std::string& keyPath, const std::string& name,
                               std::string& out) {
  auto key = keys_.find(FoldedPath(keyPath));
  if (key == keys_.end()) return ValueKind::Missing;
  auto value = key->second.values.find(Folded(name));
  if (value == key->second.values.end()) return ValueKind::Missing;
  if (value->second.kind == ValueKind::Text) out = value->second.text;
  return value->second.kind;
}

void MemoryRegistry::WriteText(const std::string& keyPath, const std::string& name,
                               const std::string& value) {
  const std::string path = FoldedPath(keyPath);
  // Creating a key creates the keys above it, as the registry does.
  for (std::size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
    keys_[path.substr(0, pos)];
  keys_[path].values[Folded(name)] = Value{ValueKind::Text, value};
}

std::optional<std::string> MemoryRegistry::ReadBytes(const std::string& keyPath, const std::string& name) {
  auto key = keys_.find(FoldedPath(keyPath));
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.values.find(Folded(name));
  if (value == key->second.values.end()) return std::nullopt;
  return value->second.text;
}

void MemoryRegistry::WriteBinary(const std::string& keyPath, const std::string& name, const std::string& bytes) {
  WriteText(keyPath, name, bytes);
  keys_[FoldedPath(keyPath)].values[Folded(name)].kind = ValueKind::Other;
}

bool MemoryRegistry::DeleteValue(const std::string& keyPath, const std::string& name) {
  auto key = keys_.find(FoldedPath(keyPath));
  if (key == keys_.end()) return false;
  return key->second.values.erase(Folded(name)) > 0;
}

bool MemoryRegistry::KeyExists(const std::string& keyPath) {
  return keys_.count(FoldedPath(keyPath)) > 0;
}

void MemoryRegistry::DeleteTree(const std::string& keyPath) {
  const std::string path = FoldedPath(keyPath);
  const std::string below = path + '\\';
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == path || it->first.compare(0, below.size(), below) == 0)
      it = keys_.erase(it);
    else
      ++it;
  }
}

// ---- TRegIniFile ------------------------------------------------------------

TRegIniFile::TRegIniFile(IRegistry& registry, std::string keyPath)
    : registry_(registry), keyPath_(std::move(keyPath)) {}

std::string TRegIniFile::SectionPath(const std::string& section) const {
  if (section.empty()) return keyPath_;
  return keyPath_ + '\\' + section;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& def) const {
  std::string text;
  switch (registry_.Read(SectionPath(section), ident, text)) {
    case ValueKind::Text: return text;
    case ValueKind::Other: throw Error("Invalid data type for '" + ident + "'");
    case ValueKind::Missing: break;
  }
  return def;
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident,
                             int def) const {
  std::string text;
  switch (registry_.Read(SectionPath(section), ident, text)) {
    case ValueKind::Text: {
      int value = def;
      return ParseInteger(text, value) ? value : def;
    }
    case ValueKind::Other: throw Error("Invalid data type for '" + ident + "'");
    case ValueKind::Missing: break;
  }
  return def;
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident,
                           bool def) const {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident,
                              const std::string& value) {
  registry_.WriteText(SectionPath(section), ident, value);
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  registry_.WriteText(SectionPath(section), ident, std::to_string(value));
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  registry_.WriteText(SectionPath(section), ident, value ? "1" : "0");
}

}  // namespace pendra
