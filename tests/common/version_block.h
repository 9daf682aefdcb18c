#pragma once
// Builds version records (VS_VERSIONINFO) byte by byte, laid out as resource
// compilers lay them out: each block is its 16-bit total length, value length
// and type, its key in UTF-16 with a zero, padding to 4, its value, padding to
// 4, then its children.
#include <cstdint>
#include <string>
#include <vector>

namespace pendra::testing_version {

using Bytes = std::vector<std::uint8_t>;

struct Block {
  std::string key;
  Bytes value;
  std::uint16_t valueLength = 0;  // as stored: characters for text, bytes otherwise
  std::uint16_t type = 1;         // 1 text, 0 binary
  std::vector<Block> children;
};

inline void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
inline void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Pad4(Bytes& b) {
  while (b.size() % 4) b.push_back(0);
}
// 8-bit text as UTF-16 with its zero (Latin-1 characters keep their code).
inline Bytes Utf16(const std::string& text) {
  Bytes b;
  for (unsigned char c : text) Put16(b, c);
  Put16(b, 0);
  return b;
}

inline Bytes Encode(const Block& block) {
  Bytes b(6, 0);
  const Bytes key = Utf16(block.key);
  b.insert(b.end(), key.begin(), key.end());
  Pad4(b);
  b.insert(b.end(), block.value.begin(), block.value.end());
  for (const Block& child : block.children) {
    Pad4(b);
    const Bytes c = Encode(child);
    b.insert(b.end(), c.begin(), c.end());
  }
  b[0] = static_cast<std::uint8_t>(b.size() & 0xFF);
  b[1] = static_cast<std::uint8_t>(b.size() >> 8);
  b[2] = static_cast<std::uint8_t>(block.valueLength & 0xFF);
  b[3] = static_cast<std::uint8_t>(block.valueLength >> 8);
  b[4] = static_cast<std::uint8_t>(block.type);
  return b;
}

inline Block String(const std::string& name, const std::string& value) {
  Block s{name, Utf16(value), static_cast<std::uint16_t>(value.size() + 1), 1, {}};
  return s;
}

inline Block StringFileInfo(std::vector<Block> strings) {
  return Block{"StringFileInfo", {}, 0, 1, {Block{"040904E4", {}, 0, 1, std::move(strings)}}};
}

inline Block VarFileInfo() {
  Bytes translation;
  Put16(translation, 0x0409);
  Put16(translation, 1252);
  return Block{"VarFileInfo", {}, 0, 1, {Block{"Translation", translation, 4, 0, {}}}};
}

// The fixed file information: file and product version 2.0.4.6, an
// application for 32-bit Windows, no flags.
inline Bytes FixedInfo() {
  Bytes f;
  for (std::uint32_t v : {0xFEEF04BDu, 0x00010000u, 0x00020000u, 0x00040006u, 0x00020000u,
                          0x00040006u, 0x3Fu, 0u, 0x4u, 0x1u, 0u, 0u, 0u})
    Put32(f, v);
  return f;
}

inline std::vector<Block> PendraStrings() {
  return {String("CompanyName", "Tavrin Software"), String("FileDescription", "Executable File"),
          String("FileVersion", "2.0.4.6"),         String("InternalName", "Pendra"),
          String("LegalCopyright", ""),             String("LegalTrademarks", ""),
          String("OriginalFilename", "Pendra.exe"), String("ProductName", "Pendra"),
          String("ProductVersion", "2.0.4"),
          String("Comments", "written by Mira Tavrin of Tavrin Software")};
}

inline Bytes Record(std::vector<Block> children) {
  return Encode(Block{"VS_VERSION_INFO", FixedInfo(), 52, 0, std::move(children)});
}

// The program's own record, as res/Pendra.rc declares it.
inline Bytes PendraRecord() { return Record({StringFileInfo(PendraStrings()), VarFileInfo()}); }

}  // namespace pendra::testing_version
