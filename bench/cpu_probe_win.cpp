// Runs Pendra.exe for a stretch with its four reminder lists empty, and with
// 1,000 reminders in each list (none of them due), marking each stretch so
// that bench/reminder_cpu.sh can compare the CPU time of the two.
//
// Usage: cpu_probe_win.exe <Pendra.exe> [seconds] [reminders per list] [rounds]
// Each round runs the empty and the loaded program once, in turn.
// Each run starts Pendra from a fresh temporary program folder (a copy of the
// exe and its pictures), with the last-close date set to today so that no
// start-up announcement appears. Once Pendra is idle and has settled, the
// probe prints "MARK begin <tag>", waits the given seconds and prints
// "MARK end <tag>" (the tag is part of Pendra's program folder path, so a
// script outside Wine can find the process and read its CPU time at the
// marks); it also prints the difference of GetProcessTimes over the same
// stretch. Pendra is then ended by WM_CLOSE to its tray window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_text_win.h"

namespace {

using namespace pendra::bench;

constexpr const char* kEventsKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events";
constexpr const char* kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

SYSTEMTIME DaysFromToday(int days) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER u{};
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  u.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(days) * 864000000000LL);
  ft.dwLowDateTime = u.LowPart;
  ft.dwHighDateTime = u.HighPart;
  FileTimeToSystemTime(&ft, &st);
  return st;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Lists whose entries are spread over the day and never due today: a past
// date, tomorrow's weekday, a beginning date far ahead, another month day.
void WriteLists(const std::string& folder, int count) {
  if (count <= 0) return;
  const SYSTEMTIME today = DaysFromToday(0);
  const SYSTEMTIME tomorrow = DaysFromToday(1);
  SYSTEMTIME past{};
  past.wYear = 1999;
  past.wMonth = 1;
  past.wDay = 1;
  SYSTEMTIME ahead{};
  ahead.wYear = 2098;
  ahead.wMonth = 12;
  ahead.wDay = 31;
  const std::string schedules[4] = {DateText(past), kWeekdays[tomorrow.wDayOfWeek], DateText(ahead),
                                    today.wDay == 1 ? "2" : "1"};
  const char* files[4] = {"Message.lst", "DayMessage.lst", "DailyMessage.lst", "MonthMessage.lst"};
  for (int list = 0; list < 4; ++list) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      const int second = static_cast<int>((static_cast<long long>(i) * 86400 / count + 7 * list) % 86400);
      text += TimeText(second) + "-" + schedules[list] + "--Benchmark reminder " +
              std::to_string(i + 1) + "\r\n";
    }
    WriteFile(folder + files[list], text);
  }
}

void SetLastCloseToday() {
  HKEY key = nullptr;
  const std::string path = std::string(kEventsKey) + "\\Last Boot";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  const std::string today = DateText(DaysFromToday(0));
  RegSetValueExA(key, " Date", 0, REG_SZ, reinterpret_cast<const BYTE*>(today.c_str()),
                 static_cast<DWORD>(today.size() + 1));
  RegCloseKey(key);
}

struct Find {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindTray(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == f->pid && std::string(cls) == "TfrmTray") {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::string Tag(int run, int count) {
  return "pendra-cpu-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(run) +
         (count > 0 ? "-loaded" : "-empty");
}

std::string MakeProgramFolder(const std::string& exe, const std::string& tag) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + tag + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA(exe.c_str(), (folder + "Pendra.exe").c_str(), FALSE);
  for (const char* f : {"check.bmp", "undo.bmp"})
    CopyFileA((FolderOf(exe) + f).c_str(), (folder + f).c_str(), FALSE);
  return folder;
}

constexpr DWORD kSettleMs = 2000;

double ToSeconds(const FILETIME& ft) {
  ULARGE_INTEGER u{};
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  return static_cast<double>(u.QuadPart) / 1e7;
}

// CPU seconds (user + kernel) Pendra used from its start to `seconds` later;
// negative when it could not be measured.
struct Measured {
  double running = -1;  // CPU seconds over the timed stretch; -1: not measured
};

Measured MeasureRun(const std::string& exe, int seconds, int count, int run) {
  const std::string tag = Tag(run, count);
  const std::string folder = MakeProgramFolder(exe, tag);
  WriteLists(folder, count);
  SetLastCloseToday();

  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + folder + "Pendra.exe\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &si, &pi))
    return {};
  WaitForInputIdle(pi.hProcess, 30000);
  Sleep(kSettleMs);
  auto cpuNow = [&]() -> double {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(pi.hProcess, &created, &exited, &kernel, &user)) return -1;
    return ToSeconds(kernel) + ToSeconds(user);
  };
  // The markers let a script outside Wine read the process's CPU time too.
  const double before = cpuNow();
  std::printf("MARK begin %s\n", tag.c_str());
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  std::printf("MARK end %s\n", tag.c_str());
  std::fflush(stdout);
  const double after = cpuNow();
  Measured cpu;
  if (before >= 0 && after >= 0) {
    cpu.running = after > before ? after - before : 0.0;
  }

  Find f{pi.dwProcessId, nullptr};
  EnumWindows(FindTray, reinterpret_cast<LPARAM>(&f));
  if (f.found) PostMessageA(f.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return cpu;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: cpu_probe_win.exe <Pendra.exe> [seconds] [reminders per list]\n");
    return 2;
  }
  const std::string exe = WindowsPath(argv[1]);
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  const int count = argc > 3 ? std::atoi(argv[3]) : 1000;

  const int rounds = argc > 4 ? std::atoi(argv[4]) : 1;

  double empty = 0, loaded = 0;
  for (int round = 0; round < rounds; ++round) {
    const Measured e = MeasureRun(exe, seconds, 0, 2 * round + 1);
    const Measured l = MeasureRun(exe, seconds, count, 2 * round + 2);
    if (e.running < 0 || l.running < 0) {
      std::printf("could not measure\n");
      return 1;
    }
    empty += e.running;
    loaded += l.running;
  }
  // Wine counts another process's time coarsely; bench/reminder_cpu.sh reads
  // the figures from /proc at the markers and judges the budget.
  std::printf("As Windows reports it, CPU time over %d x %d s: empty lists %.3f s, 4 x %d reminders %.3f s\n",
              rounds, seconds, empty, count, loaded);
  std::fflush(stdout);
  return 0;
}
