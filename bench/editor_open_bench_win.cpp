// Opening a 1 MB text file in the editor against the rich edit control's own
// load of the same file, side by side in one run: each round times
//   control  a new "RICHEDIT" control of the editor's text size, in a shown
//            window, reading the file and streaming it in;
//   open     the editor's Open command on the file, the editor shown and
//            holding a short text;
//   reopen   the same Open while the editor already holds the megabyte.
// Prints each round, the medians and the ratio of open to control (budget 1.1).
//
// Usage: editor_open_bench_win.exe [rounds] [bytes]
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timing_win.h"
#include "notes/editor_window_win.h"
#include "bench/console_dialogs_win.h"
#include "platform/application_win.h"
#include "platform/on_demand_win.h"
#include "platform/real_services_win.h"
#include "settings/list_file.h"
#include "settings/reg_ini.h"

using namespace pendra;
using namespace pendra::bench;

namespace {

constexpr double kBudget = 1.1;

struct In {
  const std::string* bytes;
  std::size_t pos;
};

DWORD CALLBACK ReadIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
  auto* in = reinterpret_cast<In*>(cookie);
  const std::size_t n = std::min(in->bytes->size() - in->pos, static_cast<std::size_t>(size));
  std::copy_n(in->bytes->data() + in->pos, n, buffer);
  in->pos += n;
  *got = static_cast<LONG>(n);
  return 0;
}

// The editor's font, as the control takes it.
CHARFORMATA FormatOf(const FontSpec& font) {
  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  cf.dwEffects = (font.style.bold ? CFE_BOLD : 0) | (font.style.italic ? CFE_ITALIC : 0);
  cf.yHeight = font.size * 20;
  cf.crTextColor = static_cast<COLORREF>(font.color);
  font.name.copy(cf.szFaceName, sizeof cf.szFaceName - 1);
  return cf;
}

// The control's own load: read the file, stream it into a new control that
// shows the editor's font.
double ControlLoad(const std::string& path, const RECT& size, const FontSpec& font) {
  HWND frame = CreateWindowExA(0, "STATIC", "control", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               size.right + 40, size.bottom + 80, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  Pump();
  const double start = NowMs();
  HWND control = CreateWindowExA(
      WS_EX_CLIENTEDGE, "RICHEDIT", "",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_NOHIDESEL | WS_VSCROLL | ES_AUTOVSCROLL,
      0, 0, size.right, size.bottom, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
  CHARFORMATA cf = FormatOf(font);
  SendMessageA(control, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  SendMessageA(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  const std::string bytes = ReadWholeFile(path);
  In in{&bytes, 0};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadIn};
  SendMessageA(control, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  const double took = (NowMs() - start) / 1000.0;
  if (GetWindowTextLengthA(control) != static_cast<int>(bytes.size()))
    std::fprintf(stderr, "control: %d of %u characters\n", GetWindowTextLengthA(control),
                 static_cast<unsigned>(bytes.size()));
  DestroyWindow(frame);
  Pump();
  return took;
}

double EditorOpen(TfrmEditor& editor) {
  Pump();
  const double start = NowMs();
  SendMessageA(editor.Handle(), WM_COMMAND, MAKEWPARAM(TfrmEditor::btnOpen, 0), 0);
  return (NowMs() - start) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(std::atol(argv[2])) : 1000000;

  InstallRealServices();
  static ConsoleDialogs dialogs;
  Svc().dialogs = &dialogs;
  CreateApplicationWindow();
  EnsureRichEdit10();

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  dialogs.openAnswer = std::string(temp) + "pendra-editor-bench.txt";
  std::string text;
  for (int line = 1; text.size() < bytes; ++line)
    text += "Line " + std::to_string(line) + " of the benchmark text, with a few words to wrap.\r\n";
  text.resize(bytes);
  WriteWholeFile(dialogs.openAnswer, text);

  TfrmEditor editor;
  editor.Show();
  Pump();
  RECT size{};
  GetClientRect(editor.redtEditor().Handle(), &size);
  size.right += GetSystemMetrics(SM_CXEDGE) * 2;
  size.bottom += GetSystemMetrics(SM_CYEDGE) * 2;

  std::vector<double> control, open, reopen;
  for (int i = 0; i < rounds; ++i) {
    // The two take turns going first, so that a drift of the machine's load
    // weighs on both alike.
    const FontSpec font = editor.redtEditor().DisplayFont();
    editor.redtEditor().SetText("a short text");
    if (i % 2 == 0) control.push_back(ControlLoad(dialogs.openAnswer, size, font));
    open.push_back(EditorOpen(editor));
    if (i % 2 == 1) control.push_back(ControlLoad(dialogs.openAnswer, size, font));
    reopen.push_back(EditorOpen(editor));
    std::printf("round %d: control %.2f s, open %.2f s, reopen %.2f s\n", i + 1, control.back(),
                open.back(), reopen.back());
    std::fflush(stdout);
  }
  const double c = Median(control), o = Median(open), r = Median(reopen);
  std::printf("median of %d rounds, %u bytes: control %.2f s, editor open %.2f s (ratio %.2f, "
              "budget %.1f: %s), open over the same text %.2f s (ratio %.2f)\n",
              rounds, static_cast<unsigned>(bytes), c, o, o / c, kBudget,
              o / c <= kBudget ? "within" : "OVER", r, r / c);
  editor.Close();
  DeleteFileA(dialogs.openAnswer.c_str());
  Svc().registry->DeleteTree(kEditorKey);
  return o / c <= kBudget ? 0 : 1;
}
