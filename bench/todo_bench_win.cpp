// Times the to-do window's commands on a list of 10 items and on one of
// 10,000: adding through the dialog, removing, and the four moves, each on
// the real window driven by button clicks, repainted before the clock stops.
// Prints the medians side by side; the budget is 100 ms more for the long
// list than for the short one.
//
// Usage: todo_bench_win.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_timing_win.h"
#include "bench/console_dialogs_win.h"
#include "platform/application_win.h"
#include "platform/real_services_win.h"
#include "platform/services.h"
#include "settings/data_folder.h"
#include "settings/list_file.h"
#include "todo/todo_window_win.h"

using namespace pendra;
using namespace pendra::bench;

namespace {

constexpr double kBudgetMs = 100.0;
constexpr int kSizes[2] = {10, 10000};

struct Operation {
  const char* name;
  TfrmToDo::Id button;  // kBtnAdd: through the dialog's OK
};

constexpr Operation kOperations[] = {
    {"add", TfrmToDo::kBtnAdd},          {"remove", TfrmToDo::kBtnRemove},
    {"move up", TfrmToDo::kBtnUp},       {"move down", TfrmToDo::kBtnDown},
    {"move to top", TfrmToDo::kBtnMoveTop}, {"move to bottom", TfrmToDo::kBtnMoveBottom},
};

// Medians of each operation, in kOperations order, on a list of `size` items.
std::vector<double> TimeList(int size, int rounds, const std::string& folder) {
  Lines items;
  for (int i = 0; i < size; ++i) items.push_back(" 6/19/2000         item " + std::to_string(i));
  WriteListFile(folder + kToDoFileName, items);
  Svc().programFolder = folder;
  DataFolder data(folder, [] { return Svc().clock->Now(); });
  Svc().data = &data;

  auto frm = std::make_unique<TfrmToDo>();
  auto dialog = std::make_unique<TfrmAddToDo>(*frm);
  Forms().frmToDo = frm.get();
  Forms().frmAddToDo = dialog.get();
  frm->Show();
  Pump();

  HWND list = frm->ListBox1();
  auto selectMiddle = [&] {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    const int middle = count / 2;
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    SendMessageA(list, LB_SETSEL, TRUE, middle);
    SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(middle), FALSE);
    SendMessageA(frm->Handle(), WM_COMMAND, MAKEWPARAM(TfrmToDo::kListBox1, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  };

  std::vector<double> medians;
  for (const Operation& op : kOperations) {
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
      HWND button = frm->Button(op.button);
      if (op.button == TfrmToDo::kBtnAdd) {
        dialog->Show();
        SetText(dialog->edtToDo(), "a new item " + std::to_string(r));
        button = dialog->btnOK();
      } else {
        selectMiddle();
      }
      Pump();
      UpdateWindow(frm->Handle());
      const double start = NowMs();
      SendMessageA(button, BM_CLICK, 0, 0);
      Pump();
      RedrawWindow(frm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      times.push_back(NowMs() - start);
    }
    medians.push_back(Median(times));
  }
  frm->Close();
  Forms().frmAddToDo = nullptr;
  Forms().frmToDo = nullptr;
  return medians;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  InstallRealServices();
  static ConsoleDialogs dialogs;
  Svc().dialogs = &dialogs;
  CreateApplicationWindow();

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "pendra-todo-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);

  std::vector<std::vector<double>> bySize;
  for (int size : kSizes) bySize.push_back(TimeList(size, rounds, folder));
  RemoveFile(folder + kToDoFileName);
  RemoveDirectoryA(folder.c_str());

  std::printf("median of %d rounds, ms   %10s %12s %12s\n", rounds, "10 items", "10,000 items",
              "difference");
  bool within = true;
  for (std::size_t i = 0; i < std::size(kOperations); ++i) {
    const double more = bySize[1][i] - bySize[0][i];
    within = within && more <= kBudgetMs;
    std::printf("%-26s %10.2f %12.2f %+12.2f\n", kOperations[i].name, bySize[0][i], bySize[1][i],
                more);
  }
  std::printf("budget: at most %.0f ms more with 10,000 items: %s\n", kBudgetMs,
              within ? "within budget" : "OVER BUDGET");
  return within ? 0 : 3;
}
