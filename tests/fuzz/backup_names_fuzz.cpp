// The names in a Backup folder, which any program may fill: the copies a
// prune lets go. The input is the folder's names, one a line, and the time.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/file_versions.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pendra;
  FuzzedDataProvider in(data, size);
  const DateTime now{{in.ConsumeIntegralInRange(1990, 2100), in.ConsumeIntegralInRange(1, 12),
                      in.ConsumeIntegralInRange(1, 28)},
                     TimeFromSeconds(in.ConsumeIntegralInRange(0, 86399))};
  const std::uint64_t limit = in.ConsumeIntegral<std::uint32_t>();
  std::vector<FolderFile> files;
  std::set<std::string> names;
  for (const std::string& name : SplitLines(in.ConsumeRemainingBytesAsString()))
    if (names.insert(name).second) files.push_back({name, name.size() * 1000});

  // Only what is there goes, each once; a name read as a copy names it again.
  const std::vector<std::string> doomed = CopiesToPrune(files, now, limit);
  FUZZ_REQUIRE(std::set<std::string>(doomed.begin(), doomed.end()).size() == doomed.size());
  std::optional<DateTime> newest;
  for (const FolderFile& file : files) {
    const auto copy = ParseBackupName(file.name);
    if (!copy) continue;
    newest = std::max(newest.value_or(copy->at), copy->at);
    const auto again = ParseBackupName(BackupName(copy->fileName, copy->at));
    FUZZ_REQUIRE(again && again->fileName == copy->fileName && again->at == copy->at);
  }
  for (const std::string& name : doomed) FUZZ_REQUIRE(names.count(name) == 1);
  // The size limit never takes the newest copy: at least one stays.
  if (newest && std::all_of(files.begin(), files.end(), [&](const FolderFile& f) {
        const auto copy = ParseBackupName(f.name);
        return !copy || SecondsBetween(copy->at, now) < 86400;
      }))
    FUZZ_REQUIRE(doomed.size() < files.size());
  return 0;
}
