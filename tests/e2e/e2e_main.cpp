// Entry of the end-to-end test executable. argv[1] is the built Pendra.exe; a
// Unix path (as the build passes it to Wine) is reached through drive Z:.
// "--run-once <Pendra.exe>" starts and exits one packaged Pendra instead
// (scripts/package-check.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
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

// Starts a Pendra.exe where it stands (installed or unpacked), waits until it
// is idle with its tray window up and closes that window, as a user's exit
// does. 0 when Pendra ended so with exit code 0.
int RunOnce(const std::string& exe) {
  using namespace pendra::e2e;
  PendraProcess pendra;
  if (!pendra.Start(exe)) {
    std::printf("run-once: %s does not start\n", exe.c_str());
    return 2;
  }
  HWND tray = WaitForWindowOf(pendra.Pid(), "TfrmTray", "frmTray");
  if (!tray) {
    std::printf("run-once: %s shows no tray window\n", exe.c_str());
    return 3;
  }
  Post(tray, WM_CLOSE);
  const DWORD code = pendra.WaitExit();
  if (code == 0) return 0;
  std::printf("run-once: %s did not end with exit code 0 (%lu)\n", exe.c_str(), code);
  return 4;  // the process object kills it if it still runs
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run-once") == 0) return RunOnce(ToWindowsPath(argv[2]));
  testing::InitGoogleTest(&argc, argv);
  pendra::e2e::SetBuiltPendraExe(argc > 1 ? ToWindowsPath(argv[1]) : BesideThisExe());
  return RUN_ALL_TESTS();
}
