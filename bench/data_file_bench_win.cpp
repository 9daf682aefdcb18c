// Times the save of a page-sized data file (100 KB) three ways, round by
// round side by side: the plain replace Pendra made before it kept versions
// (WriteWholeFile), the save that first looks at what the file holds now
// (DataFile::Write, no copy due), and the same save keeping the replaced
// version in Backup (a copy due each round: the clock moves ten minutes).
// Budgets: the save with its copy at most 1.3 times the same save without
// one, and the look before writing at most 1 ms.
//
// Usage: data_file_bench_win.exe [rounds] [bytes]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_timing_win.h"
#include "platform/services.h"
#include "settings/data_folder.h"

using namespace pendra;
using namespace pendra::bench;

namespace {

constexpr double kCopyBudget = 1.3;
constexpr double kCheckBudgetMs = 1.0;

class SteppedClock final : public IClock {
 public:
  DateTime now{{2025, 3, 1}, {8, 0, 0}};
  DateTime Now() override { return now; }
  void TenMinutesOn() {
    const int seconds = SecondsOfDay(now.time) + kBackupEverySeconds;
    if (seconds >= 86400) now.date = AddDays(now.date, 1);
    now.time = TimeFromSeconds(seconds % 86400);
  }
};

void RemoveFolder(const std::string& folder) {
  for (const FolderFile& file : FilesIn(folder)) RemoveFile(folder + file.name);
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
  const std::size_t bytes = argc > 2 ? static_cast<std::size_t>(std::max(1, std::atoi(argv[2]))) : 100 * 1024;
  // The save without a copy keeps to a clock of its own that stands still.
  static SteppedClock clock, still;

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "pendra-data-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);

  // Lines of a page; the two versions differ in length, so the plain replace
  // need not read the file to see that it changed.
  std::string page;
  for (int line = 0; page.size() < bytes; ++line)
    page += "Line " + std::to_string(line) + " of a notebook page, with some words on it.\r\n";
  page.resize(bytes);
  const std::string versions[2] = {page, page + "!"};

  const std::string plainPath = folder + "Plain.pnd";
  DataFolder stillData(folder, [] { return still.now; }), steppedData(folder, [] { return clock.now; });
  DataFile& checked = stillData.File("Checked.pnd");
  DataFile& copied = steppedData.File("Copied.pnd");
  WriteWholeFile(plainPath, versions[1]);
  for (DataFile* file : {&checked, &copied}) {
    WriteWholeFile(file->Path(), versions[1]);
    file->Read();
    (void)file->Write(versions[0]);  // the first save of the run keeps a copy
  }

  std::vector<double> plain, check, copy;
  for (int r = 0; r < rounds; ++r) {
    const std::string& next = versions[(r + 1) % 2];
    double start = NowMs();
    WriteWholeFile(plainPath, next);
    plain.push_back(NowMs() - start);
    start = NowMs();
    (void)checked.Write(next);
    check.push_back(NowMs() - start);
    clock.TenMinutesOn();
    start = NowMs();
    (void)copied.Write(next);
    copy.push_back(NowMs() - start);
  }
  const std::string backup = folder + kBackupFolderName + "\\";
  const int copies = static_cast<int>(FilesIn(backup).size()) - 1;  // less the record
  RemoveFolder(backup);
  RemoveFolder(folder);

  const double p = Median(plain), c = Median(check), k = Median(copy);
  std::printf("median of %d rounds, %zu bytes, ms\n", rounds, bytes);
  std::printf("%-44s %8.3f\n", "plain replace (before versions were kept)", p);
  std::printf("%-44s %8.3f\n", "save with the look before writing", c);
  std::printf("%-44s %8.3f\n", "save with the look and a copy in Backup", k);
  std::printf("copies in Backup at the end: %d\n", copies);
  const bool checkWithin = c - p <= kCheckBudgetMs, copyWithin = k <= kCopyBudget * c;
  std::printf("the look adds %.3f ms (budget %.1f ms): %s\n", c - p, kCheckBudgetMs,
              checkWithin ? "within budget" : "OVER BUDGET");
  std::printf("with its copy %.2f x the plain replace, %.2f x the save without a copy (budget %.1f x): %s\n",
              k / p, k / c, kCopyBudget, copyWithin ? "within budget" : "OVER BUDGET");
  return checkWithin && copyWithin ? 0 : 3;
}
