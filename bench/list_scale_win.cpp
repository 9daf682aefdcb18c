// Long reminder lists: how much more the first show of the reminder window and
// each list command cost with many one-time reminders than with 100.
//
// Usage: list_scale_win.exe <Pendra.exe> [runs] [sizes...] [wide]
// Default: 3 runs of each of the sizes 100, 10000 and 40000. With "wide" the
// messages hold Polish, Cyrillic, Japanese and an emoji, so the list is
// stored in UTF-8 after the byte-order mark, and OK adds such a message.
//
// Each run starts Pendra.exe from a fresh program folder whose Message.lst
// holds that many one-time reminders (all dated in the past, so none is due),
// with a clean settings tree and the last-close date set to today. It then
// drives the program by messages, as a user's clicks arrive:
//   - the first show: the tray's "Reminder" command, until the window is shown
//     and painted;
//   - each list command on the one-time page, from the click until the command
//     has run (for the commands that write the list, until the file is
//     rewritten; the file is then read back and checked against the order
//     expected);
//   - Remove All, from the press of Yes in its question until the list is empty.
// The medians of the runs are printed side by side, with the increase over 100
// entries against the goal: 150 ms at 10,000 entries and 600 ms at 40,000.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/tray_window_win.h"
#include "reminders/reminder_page_win.h"

#include "bench/bench_text_win.h"
#include "bench/bench_timing_win.h"

namespace {

using namespace pendra::bench;

using pendra::Ctl;
using pendra::ControlId;
using pendra::Kind;
using Lines = std::vector<std::string>;

constexpr const char* kSettingsKey = "Software\\Tavrin Software";
constexpr const char* kLastBootKey = "Software\\Tavrin Software\\Pendra\\Reminder\\Events\\Last Boot";
constexpr DWORD kSendTimeoutMs = 180000;
constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";
// The words of a wide message, in UTF-8.
constexpr const char* kWideWords = "Zadzwo\xC5\x84 \xC5\x81ukasz \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F "
                                   "\xE4\xBC\x9A\xE8\xAD\xB0 \xF0\x9F\x98\x80";
bool g_wide = false;


std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
  std::fclose(f);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string Crlf(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

Lines SplitCrlf(const std::string& bytes) {
  Lines lines;
  size_t begin = 0;
  while (begin < bytes.size()) {
    const size_t end = bytes.find("\r\n", begin);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(begin));
      break;
    }
    lines.push_back(bytes.substr(begin, end - begin));
    begin = end + 2;
  }
  return lines;
}

void DeleteTree(HKEY parent, const std::string& sub) {
  HKEY key;
  if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (;;) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    const std::string child(name, length);
    DeleteTree(key, child);
    HKEY still;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &still) == ERROR_SUCCESS) {
      RegCloseKey(still);
      break;
    }
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, sub.c_str());
}

void FreshSettings() {
  DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kLastBootKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  SYSTEMTIME today;
  GetLocalTime(&today);
  const std::string text = DateText(today);
  RegSetValueExA(key, " Date", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

Lines MakeReminders(int count) {
  SYSTEMTIME past{};
  past.wYear = 1999;
  past.wMonth = 1;
  past.wDay = 1;
  const std::string date = DateText(past);
  Lines lines;
  lines.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int second = static_cast<int>(static_cast<long long>(i) * 86400 / count);
    lines.push_back(TimeText(second) + "-" + date + "--Benchmark reminder " + (g_wide ? kWideWords + std::string(" ") : "") +
                    std::to_string(i + 1));
  }
  return lines;
}

struct Find {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == f->pid && std::string(cls) == f->className &&
      (std::string(cls) != "#32770" || IsWindowVisible(hwnd))) {
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

struct FindId {
  int id;
  HWND found;
};

BOOL CALLBACK FindChildId(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindId*>(lp);
  if (GetDlgCtrlID(hwnd) == f->id) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Control(HWND frm, Ctl role) {
  FindId f{ControlId(Kind::OneTime, role), nullptr};
  EnumChildWindows(frm, FindChildId, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(hwnd, msg, wp, lp, SMTO_NORMAL, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// The figures of one run, by step.
using Figures = std::map<std::string, double>;

const char* const kSteps[] = {"first show",   "Move To Bottom", "Move To Top", "Move Up",
                              "Move Down",    "Remove",         "OK (add)",    "Edit",
                              "Cancel (reload)", "Remove All"};

class Run {
 public:
  Run(const std::string& exe, int count, int number) : count_(count) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "pendra-scale-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(count) + "-" + std::to_string(number) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyFileA(exe.c_str(), (folder_ + "Pendra.exe").c_str(), FALSE);
    for (const char* f : {"check.bmp", "undo.bmp"})
      CopyFileA((FolderOf(exe) + f).c_str(), (folder_ + f).c_str(), FALSE);
    model_ = MakeReminders(count);
    WriteBytes(ListPath(), (g_wide ? kUtf8Mark : "") + Crlf(model_));
    FreshSettings();
  }
  ~Run() {
    if (pi_.hProcess) {
      if (tray_) PostMessageA(tray_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(pi_.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hThread);
      CloseHandle(pi_.hProcess);
    }
    for (const char* f : {"Pendra.exe", "check.bmp", "undo.bmp", "Message.lst", "DayMessage.lst",
                          "DailyMessage.lst", "MonthMessage.lst"})
      DeleteFileA((folder_ + f).c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  bool Start() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string command = "\"" + folder_ + "Pendra.exe\"";
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                        &si, &pi_))
      return false;
    WaitForInputIdle(pi_.hProcess, 60000);
    for (int i = 0; i < 500 && !tray_; ++i) {
      tray_ = WindowOf(pi_.dwProcessId, "TfrmTray");
      if (!tray_) Sleep(20);
    }
    Sleep(1000);  // settle
    return tray_ != nullptr;
  }

  Figures Measure() {
    Figures f;
    double t0 = NowMs();
    Send(tray_, WM_COMMAND, pendra::kReminders1);
    frm_ = WindowOf(pi_.dwProcessId, "TfrmMain");
    if (!frm_) return f;
    RedrawWindow(frm_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    f["first show"] = NowMs() - t0;
    list_ = Control(frm_, Ctl::list);
    if (Count() != count_) Fail("first show", "the list shows " + std::to_string(Count()) + " rows");

    const int n = count_;
    f["Move To Bottom"] = Move(Ctl::btnMoveBottom, 0, n - 1);
    f["Move To Top"] = Move(Ctl::btnMoveTop, n - 1, 0);
    f["Move Up"] = Move(Ctl::btnUp, n / 2, n / 2 - 1);
    f["Move Down"] = Move(Ctl::btnDown, n / 2, n / 2 + 1);
    f["Remove"] = Remove(n / 2);
    f["OK (add)"] = Add("Added by the benchmark");
    f["Edit"] = Edit(n / 3);
    f["Cancel (reload)"] = Cancel();
    f["Remove All"] = RemoveAll();
    return f;
  }

  bool Failed() const { return failed_; }

 private:
  std::string ListPath() const { return folder_ + "Message.lst"; }
  int Count() { return static_cast<int>(Send(list_, LB_GETCOUNT)); }

  void Fail(const char* step, const std::string& what) {
    std::printf("  %d entries, %s: %s\n", count_, step, what.c_str());
    failed_ = true;
  }

  // A user's click on a row: the selection moves and the window is told.
  void Choose(int row) {
    Send(list_, LB_SETCURSEL, static_cast<WPARAM>(row));
    Send(frm_, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, Ctl::list), LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(list_));
  }

  double Click(Ctl role) {
    HWND button = Control(frm_, role);
    const double t0 = NowMs();
    Send(frm_, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, role), BN_CLICKED),
         reinterpret_cast<LPARAM>(button));
    const double ms = NowMs() - t0;
    RedrawWindow(frm_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return ms;
  }

  // The list file's lines, without the mark a wide list keeps.
  Lines FileLines() {
    std::string bytes = ReadBytes(ListPath());
    if (g_wide) {
      if (bytes.rfind(kUtf8Mark, 0) != 0) Fail("a save", "the wide list lost its mark");
      else bytes.erase(0, 3);
    }
    return SplitCrlf(bytes);
  }

  void CheckFile(const char* step) {
    if (FileLines() != model_) Fail(step, "the list file is not as expected");
    if (Count() != static_cast<int>(model_.size())) Fail(step, "the list shows another number of rows");
  }

  double Move(Ctl role, int from, int to) {
    Choose(from);
    const double ms = Click(role);
    std::string row = model_[static_cast<size_t>(from)];
    model_.erase(model_.begin() + from);
    model_.insert(model_.begin() + to, row);
    CheckFile("move");
    return ms;
  }

  double Remove(int row) {
    Choose(row);
    const double ms = Click(Ctl::btnRemove);
    model_.erase(model_.begin() + row);
    CheckFile("Remove");
    return ms;
  }

  double Add(std::string message) {
    if (g_wide) message += std::string(" ") + kWideWords;
    std::wstring wide(message.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, message.data(), static_cast<int>(message.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Control(frm_, Ctl::editMessage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                        SMTO_NORMAL, kSendTimeoutMs, &result);
    const double ms = Click(Ctl::btnOK);
    const Lines file = FileLines();
    if (file.size() != model_.size() + 1 || file.back().find(message) == std::string::npos) {
      Fail("OK", "the entry was not appended");
    } else {
      model_.push_back(file.back());
    }
    CheckFile("OK");
    return ms;
  }

  double Edit(int row) {
    Choose(row);
    const double ms = Click(Ctl::btnEdit);
    if (Count() != static_cast<int>(model_.size()) - 1) Fail("Edit", "the row was not taken out");
    return ms;
  }

  double Cancel() {
    const double ms = Click(Ctl::btnCancel);
    CheckFile("Cancel");
    return ms;
  }

  double RemoveAll() {
    PostMessageA(frm_, WM_COMMAND, MAKEWPARAM(ControlId(Kind::OneTime, Ctl::btnClearAll), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(frm_, Ctl::btnClearAll)));
    HWND box = nullptr;
    for (int i = 0; i < 1000 && !box; ++i) {
      box = WindowOf(pi_.dwProcessId, "#32770");
      if (!box) Sleep(10);
    }
    if (!box) {
      Fail("Remove All", "no question was asked");
      return 0;
    }
    const double t0 = NowMs();
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
    // The count is asked by a sent message, which waits until the command is
    // done with the list.
    while (Count() != 0 && NowMs() - t0 < kSendTimeoutMs) Sleep(0);
    const double ms = NowMs() - t0;
    if (GetFileAttributesA(ListPath().c_str()) != INVALID_FILE_ATTRIBUTES)
      Fail("Remove All", "the list file is still there");
    return ms;
  }

  int count_;
  std::string folder_;
  Lines model_;
  PROCESS_INFORMATION pi_{};
  HWND tray_ = nullptr, frm_ = nullptr, list_ = nullptr;
  bool failed_ = false;
};

std::string Thousands(int n) {
  std::string s = std::to_string(n);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<size_t>(i), ",");
  return s;
}

// The goal: at most this much more than with 100 entries.
double GoalFor(int count) { return count <= 10000 ? 150.0 : 600.0 * count / 40000.0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: list_scale_win.exe <Pendra.exe> [runs] [sizes...]\n");
    return 2;
  }
  const std::string exe = WindowsPath(argv[1]);
  std::vector<std::string> args(argv + 2, argv + argc);
  g_wide = std::find(args.begin(), args.end(), "wide") != args.end();
  args.erase(std::remove(args.begin(), args.end(), "wide"), args.end());
  const int runs = !args.empty() ? std::max(1, std::atoi(args[0].c_str())) : 3;
  std::vector<int> sizes;
  for (std::size_t i = 1; i < args.size(); ++i) sizes.push_back(std::max(2, std::atoi(args[i].c_str())));
  if (sizes.empty()) sizes = {100, 10000, 40000};

  std::map<int, std::map<std::string, std::vector<double>>> all;
  bool failed = false;
  for (int run = 1; run <= runs; ++run) {
    for (int count : sizes) {
      Run r(exe, count, run);
      if (!r.Start()) {
        std::printf("run %d, %d entries: Pendra did not start\n", run, count);
        return 1;
      }
      const Figures f = r.Measure();
      failed = failed || r.Failed();
      std::printf("run %d, %6d entries:", run, count);
      for (const char* step : kSteps) {
        const auto it = f.find(step);
        if (it == f.end()) continue;
        all[count][step].push_back(it->second);
        std::printf(" %.0f", it->second);
      }
      std::printf(" ms\n");
      std::fflush(stdout);
    }
  }

  const int base = sizes.front();
  std::printf("\nMedians of %d runs%s, ms; in brackets the increase over %s entries against the goal\n",
              runs, g_wide ? " of wide messages" : "", Thousands(base).c_str());
  std::printf("%-17s %9s", "", (Thousands(base)).c_str());
  for (size_t i = 1; i < sizes.size(); ++i)
    std::printf(" %9s %-18s", Thousands(sizes[i]).c_str(), "(+ / goal)");
  std::printf("\n");
  bool within = true;
  for (const char* step : kSteps) {
    const double b = Median(all[base][step], -1);
    std::printf("%-17s %9.0f", step, b);
    for (size_t i = 1; i < sizes.size(); ++i) {
      const double m = Median(all[sizes[i]][step], -1);
      const double goal = GoalFor(sizes[i]);
      const bool ok = m - b <= goal;
      within = within && ok;
      char cell[32];
      std::snprintf(cell, sizeof cell, "(%+.0f / %.0f)%s", m - b, goal, ok ? "" : " !");
      std::printf(" %9.0f %-18s", m, cell);
    }
    std::printf("\n");
  }
  std::printf("%s\n", failed ? "SOME STEPS DID NOT GIVE THE EXPECTED LIST (see above)"
                             : within ? "every step within the goal" : "OVER THE GOAL where marked !");
  std::fflush(stdout);
  return failed ? 1 : within ? 0 : 3;
}
