// Entry of the end-to-end test executable. argv[1] is the built Pendra.exe; a
// Unix path (as the build passes it to Wine) is reached through drive Z:.
// For scripts/package-check.sh instead: "--run-once <Pendra.exe>" starts and
// exits one packaged Pendra, "--start <Pendra.exe>" starts one and leaves it
// running, "--start-announcing <Pendra.exe>" too, showing a reminder it
// missed, "--answer-reminder" answers that, "--running" waits for the
// Pendra something else started, and "--close-running" exits the one that
// runs.
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
  PendraProcess pendra;  // kills it if it still runs
  HWND tray = pendra.Start(exe) ? WaitForWindowOf(pendra.Pid(), "TfrmTray", "frmTray") : nullptr;
  if (tray) Post(tray, WM_CLOSE);
  const DWORD code = tray ? pendra.WaitExit() : kNotExited;
  if (code != 0)
    std::printf("run-once: %s %s\n", exe.c_str(), tray ? "did not end with exit code 0" : "shows no tray window");
  return code == 0 ? 0 : 1;
}

// Waits for the tray window of a Pendra that runs or is starting and closes
// it as a user's exit does. 0 when that Pendra ended with exit code 0.
int CloseRunning() {
  using namespace pendra::e2e;
  HWND tray = nullptr;
  WaitUntil([&] { return (tray = FindWindowA("TfrmTray", "frmTray")) != nullptr; });
  DWORD pid = 0;
  if (tray) GetWindowThreadProcessId(tray, &pid);
  const HANDLE process = pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
  if (!process) {
    std::printf("close-running: no Pendra runs\n");
    return 1;
  }
  Post(tray, WM_CLOSE);
  DWORD code = kNotExited;
  if (WaitForSingleObject(process, kDefaultTimeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
  CloseHandle(process);
  if (code != 0) std::printf("close-running: Pendra did not end with exit code 0\n");
  return code == 0 ? 0 : 1;
}

// Starts a Pendra.exe where it stands and leaves it running once its tray
// window is up, or, when `announcing`, once it announces a daily reminder
// that it missed since yesterday (written into its folder first). 0 when so.
int StartAndLeave(const std::string& exe, bool announcing) {
  using namespace pendra::e2e;
  if (announcing) {
    SYSTEMTIME midnight = DaysFromToday(-1);
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    WriteFileBytes(exe.substr(0, exe.find_last_of('\\') + 1) + "DailyMessage.lst",
                   TimeText(midnight) + "-" + DateText(midnight) + "--A reminder shown while Pendra is updated\r\n");
    WriteRegText(std::string(kPendraKey) + "\\Reminder\\Events\\Last Boot", " Date", DateText(midnight));
  }
  PendraProcess pendra;  // kills it unless it came up
  const bool up = pendra.Start(exe) && (announcing ? WaitForMessageBox(pendra.Pid()).has_value()
                                                   : WaitForWindowOf(pendra.Pid(), "TfrmTray", "frmTray") != nullptr);
  if (!up) {
    std::printf("start: %s %s\n", exe.c_str(), announcing ? "announces nothing" : "shows no tray window");
    return 1;
  }
  pendra.Detach();
  return 0;
}

// Presses OK on the announcement of the Pendra that runs. 0 when it went.
int AnswerReminder() {
  using namespace pendra::e2e;
  DWORD pid = 0;
  if (HWND tray = FindWindowA("TfrmTray", "frmTray")) GetWindowThreadProcessId(tray, &pid);
  const auto box = pid ? WaitForMessageBox(pid) : std::nullopt;
  if (box && PressButton(*box, IDOK)) return 0;
  std::printf("answer-reminder: no reminder is shown\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--run-once") == 0) return RunOnce(ToWindowsPath(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], "--start") == 0) return StartAndLeave(ToWindowsPath(argv[2]), false);
  if (argc == 3 && std::strcmp(argv[1], "--start-announcing") == 0) return StartAndLeave(ToWindowsPath(argv[2]), true);
  if (argc == 2 && std::strcmp(argv[1], "--answer-reminder") == 0) return AnswerReminder();
  if (argc == 2 && std::strcmp(argv[1], "--running") == 0)
    return pendra::e2e::WaitUntil([] { return FindWindowA("TfrmTray", "frmTray") != nullptr; }) ? 0 : 1;
  if (argc == 2 && std::strcmp(argv[1], "--close-running") == 0) return CloseRunning();
  testing::InitGoogleTest(&argc, argv);
  pendra::e2e::SetBuiltPendraExe(argc > 1 ? ToWindowsPath(argv[1]) : BesideThisExe());
  return RUN_ALL_TESTS();
}
