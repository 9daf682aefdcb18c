// Measures how long a program takes from CreateProcess until it is idle
// (WaitForInputIdle), for Pendra and for a bare one-window program, run by
// run in turn, and prints both medians and their ratio.
//
// Usage: startup_timer_win.exe <Pendra.exe> <bare_window_win.exe> [runs]
// Pendra runs from a fresh temporary program folder (a copy of the exe and
// its pictures) and is ended by WM_CLOSE to its tray window; the bare
// program by WM_CLOSE to its window. One untimed start of each comes first.
// An icon of the timer's own keeps the notification area up meanwhile, as a
// desktop always has it.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_text_win.h"
#include "bench/bench_timing_win.h"

namespace {

using namespace pendra::bench;

constexpr double kBudget = 1.3;

struct Find {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[256] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == f->pid && std::string(cls) == f->className) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND WindowOf(DWORD pid, const char* className) {
  Find f{pid, className, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Starts the program, returns start-to-idle in milliseconds (negative on
// failure), then closes it through the named window class.
double TimeOneStart(const std::string& exe, const char* closeClass) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\"";
  std::string dir = FolderOf(exe);
  LARGE_INTEGER t0, t1;
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi)) {
    std::fprintf(stderr, "cannot start %s\n", exe.c_str());
    return -1;
  }
  DWORD idle = WaitForInputIdle(pi.hProcess, 30000);
  QueryPerformanceCounter(&t1);
  double ms = idle == 0 ? Seconds(t0, t1) * 1000.0 : -1;

  HWND target = nullptr;
  for (int i = 0; i < 200 && !target; ++i) {
    target = WindowOf(pi.dwProcessId, closeClass);
    if (!target) Sleep(10);
  }
  if (target) PostMessageA(target, WM_CLOSE, 0, 0);
  if (!target || WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not close; killed\n", exe.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

std::string FreshProgramFolder(const std::string& pendraExe) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder =
      std::string(temp) + "pendra-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string from = FolderOf(pendraExe);
  CopyFileA(pendraExe.c_str(), (folder + "Pendra.exe").c_str(), FALSE);
  for (const char* f : {"check.bmp", "undo.bmp"})
    CopyFileA((from + f).c_str(), (folder + f).c_str(), FALSE);
  return folder;
}

// Removes the files Pendra left in its program folder, then the folder.
void RemoveProgramFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + fd.cFileName).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

// A desktop's notification area is always there. Under Wine without a tray
// of the desktop's own, the shell makes its tray window when the first icon
// comes and takes it down (waiting on the X server) when the last goes, a
// cost that would fall on whichever program starts after Pendra. An icon of
// the timer's own keeps the area up for the whole measurement.
class NotificationAreaKeeper {
 public:
  NotificationAreaKeeper() {
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    data_.uFlags = NIF_ICON | NIF_TIP;
    data_.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    lstrcpyA(data_.szTip, "startup timer");
    added_ = data_.hWnd && Shell_NotifyIconA(NIM_ADD, &data_);
  }
  ~NotificationAreaKeeper() {
    if (added_) Shell_NotifyIconA(NIM_DELETE, &data_);
    if (data_.hWnd) DestroyWindow(data_.hWnd);
  }

 private:
  NOTIFYICONDATAA data_{};
  bool added_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <Pendra.exe> <bare_window_win.exe> [runs]\n", argv[0]);
    return 2;
  }
  const std::string folder = FreshProgramFolder(WindowsPath(argv[1]));
  const std::string pendra = folder + "Pendra.exe";
  const std::string bare = WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 41;

  NotificationAreaKeeper keeper;
  TimeOneStart(pendra, "TfrmTray");
  TimeOneStart(bare, "BareWindow");
  std::vector<double> pendraMs, bareMs;
  for (int i = 0; i < runs; ++i) {
    // Alternate which one goes first so neither always gets the warmer cache.
    double p, b;
    if (i % 2 == 0) {
      p = TimeOneStart(pendra, "TfrmTray");
      b = TimeOneStart(bare, "BareWindow");
    } else {
      b = TimeOneStart(bare, "BareWindow");
      p = TimeOneStart(pendra, "TfrmTray");
    }
    std::printf("run %2d: Pendra %7.1f ms, bare %7.1f ms\n", i + 1, p, b);
    if (p >= 0) pendraMs.push_back(p);
    if (b >= 0) bareMs.push_back(b);
  }
  RemoveProgramFolder(folder);
  if (pendraMs.empty() || bareMs.empty()) {
    std::printf("no successful run\n");
    return 1;
  }
  const double mp = Median(pendraMs), mb = Median(bareMs);
  const double ratio = mp / mb;
  std::printf("median start to idle: Pendra %.1f ms, bare program %.1f ms, ratio %.2f (budget %.1f): %s\n",
              mp, mb, ratio, kBudget, ratio <= kBudget ? "within budget" : "OVER BUDGET");
  std::fflush(stdout);
  return ratio <= kBudget ? 0 : 3;
}
