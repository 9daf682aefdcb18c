// Switching between two notebook tabs with 100 KB pages, against the rich
// edit control's own load of the same text. Each switch saves the page left
// and loads the next; the control's load streams the same text into an
// equal control holding the other page. Both are timed to the end of the
// repaint, in turn, and the medians compared: the switch may take at most
// 10 % more than the control's load.
//
// Usage: notebook_switch_bench_win.exe [switches] [page bytes]
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

using namespace pendra;
using namespace pendra::bench;

namespace {

constexpr double kBudget = 1.10;

// Plain text of about `bytes` bytes, lines of ordinary words with a link now
// and then.
std::string PageText(const char* name, std::size_t bytes) {
  std::string text;
  for (int line = 1; text.size() < bytes; ++line) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s line %05d: notes to keep, words to find%s\r\n", name, line,
                  line % 25 == 0 ? " at http://example.com/notes" : " and a few more of them");
    text += buffer;
  }
  return text;
}

struct Stream {
  const std::string* text;
  std::size_t at;
};

DWORD CALLBACK ReadIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* in = reinterpret_cast<Stream*>(cookie);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), in->text->size() - in->at);
  std::copy_n(in->text->data() + in->at, n, buffer);
  in->at += n;
  *got = static_cast<LONG>(n);
  return 0;
}

// The control's own load: the whole text streamed in, in place of the old.
void ControlLoad(HWND control, const std::string& text) {
  Stream in{&text, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadIn};
  SendMessageA(control, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

// A window holding one control like the notebook's page, of the same size.
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int switches = __argc > 1 ? std::max(2, std::atoi(__argv[1])) : 20;
  const std::size_t bytes = __argc > 2 ? static_cast<std::size_t>(std::atoi(__argv[2])) : 100 * 1024;

  InstallRealServices();
  CreateApplicationWindow();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "pendra-switch-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  Svc().programFolder = folder;
  DataFolder data(folder, [] { return Svc().clock->Now(); });
  Svc().data = &data;
  const std::string pages[2] = {PageText("One", bytes), PageText("Two", bytes)};
  WriteListFile(folder + "Tabs.lst", {"One", "Two"});
  WriteWholeFile(folder + "One.pnd", pages[0]);
  WriteWholeFile(folder + "Two.pnd", pages[1]);

  std::vector<double> switchMs, controlMs;
  {
    TfrmPendra notebook;
    notebook.Show();
    Pump();
    PageYardstick host(notebook);
    ControlLoad(host.control.Handle(), pages[0]);
    Pump();

    HWND tabs = notebook.tbcPendra();
    auto clickTab = [&](int index) {
      RECT r{};
      SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    };
    for (int i = 0; i < switches; ++i) {
      const int next = (i + 1) % 2;
      auto timeSwitch = [&] {
        const double t0 = NowMs();
        clickTab(next);
        UpdateWindow(notebook.Handle());
        UpdateWindow(notebook.redtPendra().Handle());
        switchMs.push_back(NowMs() - t0);
      };
      auto timeControl = [&] {
        const double t0 = NowMs();
        ControlLoad(host.control.Handle(), pages[next]);
        UpdateWindow(host.control.Handle());
        controlMs.push_back(NowMs() - t0);
      };
      // Alternate which goes first so neither always meets the warmer cache.
      if (i % 2) {
        timeControl();
        timeSwitch();
      } else {
        timeSwitch();
        timeControl();
      }
      Pump();
      if (notebook.ActiveTab() != next || notebook.redtPendra().TextLength() < static_cast<int>(bytes)) {
        std::printf("switch %d did not load the page\n", i + 1);
        return 1;
      }
      std::printf("switch %2d: notebook %7.1f ms, control %7.1f ms\n", i + 1, switchMs.back(), controlMs.back());
    }
  }
  for (const char* name : {"One.pnd", "Two.pnd", "Tabs.lst"}) DeleteFileA((folder + name).c_str());
  RemoveDirectoryA(folder.c_str());

  const double program = Median(switchMs), control = Median(controlMs);
  const double ratio = program / control;
  std::printf("median of %d switches with %zu-byte pages: tab switch %.1f ms, the control's own load %.1f ms, "
              "ratio %.2f (budget %.2f): %s\n",
              switches, bytes, program, control, ratio, kBudget, ratio <= kBudget ? "within budget" : "OVER BUDGET");
  std::fflush(stdout);
  return ratio <= kBudget ? 0 : 3;
}
