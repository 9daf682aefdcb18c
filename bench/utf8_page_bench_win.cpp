// Loading a 1 MB page in the notebook against the rich edit control's own
// load of the same text, side by side in one run. The page is stored in UTF-8
// with the mark, in the code page, or in UTF-16 LE with the mark. Each round
// times
//   page     a click on the tab of the page: the page left is not written,
//            the file is read, its encoding found, turned to UTF-16 and
//            streamed into the page;
//   control  the same text, already UTF-16, streamed into an equal control
//            in a window of its own: the control's load alone.
// Both start from a short text and are timed to the end of the repaint. Each
// round runs in a process of its own, the two loads in turn first: in one
// process, a load after a megabyte was freed twice takes up to ten times as
// long now and then, on either side (Wine's heap). Prints each round (wall
// clock, and the thread's processor time, which other work on a busy machine
// does not inflate), the medians and the ratio of the wall-clock medians
// (budget 1.1).
//
// Usage: utf8_page_bench_win.exe [rounds] [bytes] [utf8|codepage|utf16]
//        utf8_page_bench_win.exe --round <0: page first, 1: control first> <bytes> <encoding>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timing_win.h"
#include "bench/page_yardstick_win.h"
#include "notes/notebook_window_win.h"
#include "notes/rich_text_win.h"
#include "platform/application_win.h"
#include "platform/real_services_win.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"
#include "settings/wide_text_win.h"

using namespace pendra;
using namespace pendra::bench;

namespace {

constexpr double kBudget = 1.10;
constexpr const char* kShort = "a short page";

// Processor time of this thread, user and kernel, in milliseconds.
double ThreadMs() {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// About `bytes` bytes of UTF-8: Western, euro and Cyrillic words on every
// line, a link now and then. No CJK: where no font has its glyphs (a bare
// Wine), each load of them searches every font, and a load then takes ten
// times as long now and then, whoever loads it.
std::string Utf8Text(std::size_t bytes) {
  std::string text;
  for (int line = 1; text.size() < bytes; ++line) {
    char number[16];
    std::snprintf(number, sizeof number, "%05d", line);
    text += std::string("Line ") + number + ": Café au lait €3, Привет, мир, до свидания" +
            (line % 25 == 0 ? " at http://example.com/notes\r\n" : " and a few more words\r\n");
  }
  return text;
}

std::wstring Utf16(const std::string& utf8) { return Widen(CP_UTF8, utf8); }

// The page's file in `encoding`, and the text the page shows of it (in the
// code page, what it cannot hold shows as "?").
struct PageFile {
  std::string bytes;
  std::wstring shown;
};
PageFile PageIn(const std::string& encoding, const std::string& utf8) {
  const std::wstring wide = Utf16(utf8);
  if (encoding == "codepage") {
    const std::string bytes = Narrow(CP_ACP, wide);
    return {bytes, Widen(CP_ACP, bytes)};
  }
  if (encoding == "utf16")
    return {"\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)), wide};
  return {std::string(kUtf8Bom) + utf8, wide};
}

struct Stream {
  const std::wstring* text;
  std::size_t at;  // characters
};

// Pieces that end neither between CR and LF nor inside a surrogate pair, as
// the control needs them.
DWORD CALLBACK ReadIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* in = reinterpret_cast<Stream*>(cookie);
  const std::size_t left = in->text->size() - in->at;
  std::size_t n = std::min(left, static_cast<std::size_t>(size) / sizeof(wchar_t));
  if (n < left && n > 1) {
    const wchar_t last = (*in->text)[in->at + n - 1];
    if (last == L'\r' || (last >= 0xD800 && last <= 0xDBFF)) --n;
  }
  std::copy_n(in->text->data() + in->at, n, reinterpret_cast<wchar_t*>(buffer));
  in->at += n;
  *got = static_cast<LONG>(n * sizeof(wchar_t));
  return 0;
}

// A window holding one control like the notebook's page, of the same size.
// The control's own load: the whole text streamed in, in place of the old.
void LoadUnicode(HWND control, const std::wstring& text) {
  Stream in{&text, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadIn};
  SendMessageA(control, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

struct Round {
  double pageMs = 0, pageCpu = 0, controlMs = 0, controlCpu = 0;
  bool same = false;
};

// One round in this process: the page and the control load the text, in the
// order given.
Round RunRound(bool controlFirst, std::size_t bytes, const std::string& encoding) {
  InstallRealServices();
  CreateApplicationWindow();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "pendra-utf8-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  Svc().programFolder = folder;
  DataFolder data(folder, [] { return Svc().clock->Now(); });
  Svc().data = &data;
  const PageFile page = PageIn(encoding, Utf8Text(bytes));
  const std::wstring& wide = page.shown;
  WriteListFile(folder + "Tabs.lst", {"Short", "Big"});
  WriteWholeFile(folder + "Short.pnd", kShort);
  WriteWholeFile(folder + "Big.pnd", page.bytes);
  // The first tab is shown first, whatever an earlier run left stored.
  Svc().registry->DeleteTree(kNotebookKey);

  Round round;
  {
    TfrmPendra notebook;
    notebook.Show();
    Pump();
    PageYardstick host(notebook);
    host.control.SetText(kShort);
    Pump();
    const bool onShortPage = notebook.ActiveTab() == 0;

    auto timePage = [&] {
      HWND tabs = notebook.tbcPendra();
      RECT r{};
      SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      const double t0 = NowMs(), c0 = ThreadMs();
      SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageA(tabs, WM_LBUTTONUP, 0, at);
      UpdateWindow(notebook.Handle());
      UpdateWindow(notebook.redtPendra().Handle());
      round.pageMs = NowMs() - t0;
      round.pageCpu = ThreadMs() - c0;
    };
    auto timeControl = [&] {
      const double t0 = NowMs(), c0 = ThreadMs();
      LoadUnicode(host.control.Handle(), wide);
      UpdateWindow(host.control.Handle());
      round.controlMs = NowMs() - t0;
      round.controlCpu = ThreadMs() - c0;
    };
    if (controlFirst) {
      timeControl();
      timePage();
    } else {
      timePage();
      timeControl();
    }
    Pump();
    round.same = onShortPage && notebook.ActiveTab() == 1 && notebook.redtPendra().WideText() == wide &&
                 host.control.WideText() == wide;
    notebook.Close();
  }
  for (const char* name : {"Short.pnd", "Big.pnd", "Tabs.lst"}) DeleteFileA((folder + name).c_str());
  RemoveDirectoryA(folder.c_str());
  Svc().registry->DeleteTree(kNotebookKey);
  return round;
}

// Runs one round in a new process of this program and reads what it found.
bool RunRoundApart(bool controlFirst, std::size_t bytes, const std::string& encoding, Round& round) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --round " + (controlFirst ? "1 " : "0 ") + std::to_string(bytes) +
                        " " + encoding;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi{};
  const bool started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != FALSE;
  CloseHandle(writeEnd);
  std::string out;
  char buffer[512];
  DWORD got = 0;
  while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(readEnd);
  if (!started) return false;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  int same = 0;
  return std::sscanf(out.c_str(), "round %lf %lf %lf %lf %d", &round.pageMs, &round.pageCpu, &round.controlMs,
                     &round.controlCpu, &same) == 5 &&
         (round.same = same != 0, true);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc > 4 && std::string(__argv[1]) == "--round") {
    const Round r = RunRound(std::atoi(__argv[2]) != 0, static_cast<std::size_t>(std::atoi(__argv[3])), __argv[4]);
    std::printf("round %.1f %.1f %.1f %.1f %d\n", r.pageMs, r.pageCpu, r.controlMs, r.controlCpu, r.same ? 1 : 0);
    std::fflush(stdout);
    return 0;
  }
  const int rounds = __argc > 1 ? std::max(1, std::atoi(__argv[1])) : 7;
  const std::size_t bytes = __argc > 2 ? static_cast<std::size_t>(std::atoi(__argv[2])) : 1u << 20;
  const std::string encoding = __argc > 3 ? __argv[3] : "utf8";

  std::vector<double> pageMs, controlMs, pageCpu, controlCpu;
  for (int i = 0; i < rounds; ++i) {
    Round r;
    if (!RunRoundApart(i % 2 != 0, bytes, encoding, r)) {
      std::printf("round %d did not run\n", i + 1);
      return 1;
    }
    if (!r.same) {
      std::printf("round %d: the page or the control did not hold the text\n", i + 1);
      return 1;
    }
    pageMs.push_back(r.pageMs);
    pageCpu.push_back(r.pageCpu);
    controlMs.push_back(r.controlMs);
    controlCpu.push_back(r.controlCpu);
    std::printf("round %d (%s first): page %8.1f ms (processor %8.1f), control %8.1f ms (processor %8.1f)\n", i + 1,
                i % 2 ? "control" : "page", r.pageMs, r.pageCpu, r.controlMs, r.controlCpu);
    std::fflush(stdout);
  }
  const PageFile file = PageIn(encoding, Utf8Text(bytes));
  const double page = Median(pageMs), control = Median(controlMs);
  const double ratio = page / control;
  std::printf("median of %d rounds, a %zu-byte %s page (%zu characters): page load %.1f ms (processor %.1f), "
              "the control's own load %.1f ms (processor %.1f), ratio %.2f (processor %.2f, budget %.2f): %s\n",
              rounds, file.bytes.size(), encoding.c_str(), file.shown.size(), page, Median(pageCpu), control, Median(controlCpu), ratio,
              Median(pageCpu) / Median(controlCpu), kBudget, ratio <= kBudget ? "within budget" : "OVER BUDGET");
  std::fflush(stdout);
  return ratio <= kBudget ? 0 : 3;
}
