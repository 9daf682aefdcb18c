// Entry of the end-to-end test executable. argv[1] is the built Pendra.exe; a
// Unix path (as the build passes it to Wine) is reached through drive Z:.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/e2e_harness.h"

namespace {

std::string ToWindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string BesideThisExe() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1) + "Pendra.exe";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pendra::e2e::SetBuiltPendraExe(argc > 1 ? ToWindowsPath(argv[1]) : BesideThisExe());
  return RUN_ALL_TESTS();
}
