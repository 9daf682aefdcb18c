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

}  // namespace pendra::testing_files
