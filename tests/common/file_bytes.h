#pragma once
// Whole files as bytes, for the tests that compare list files byte for byte.
#include <fstream>
#include <sstream>
#include <string>

namespace pendra::testing_files {

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A file of `size` bytes that takes next to no room on the disk: `head`, a
// hole of zero bytes and its last byte.
inline void WriteSparseFile(const std::string& path, long long size, const std::string& head = {}) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << head;
  out.seekp(size - 1);
  out.put('\0');
}

}  // namespace pendra::testing_files
