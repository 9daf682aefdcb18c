// The record of the copies in a folder of versions, which any program may
// change: the copies a prune lets go. The input is the record's text and the
// time.
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
  const std::vector<RecordedCopy> copies = ParseCopyRecord(in.ConsumeRemainingBytesAsString());

  // A copy read from the record is written back as the same line.
  for (const RecordedCopy& copy : copies) {
    const std::vector<RecordedCopy> again = ParseCopyRecord(CopyRecordLine(copy));
    FUZZ_REQUIRE(again.size() == 1 && again[0] == copy);
  }
  // Only what the record names goes, each once.
  std::set<std::string> names;
  for (const RecordedCopy& copy : copies) names.insert(copy.name);
  std::vector<RecordedCopy> distinct;
  std::set<std::string> taken;
  for (const RecordedCopy& copy : copies)
    if (taken.insert(copy.name).second) distinct.push_back(copy);
  const std::vector<std::string> doomed = CopiesToPrune(distinct, now, limit);
  FUZZ_REQUIRE(std::set<std::string>(doomed.begin(), doomed.end()).size() == doomed.size());
  for (const std::string& name : doomed) FUZZ_REQUIRE(names.count(name) == 1);
  // The size limit never takes the newest copy: at least one of the last day stays.
  if (!distinct.empty() && std::all_of(distinct.begin(), distinct.end(), [&](const RecordedCopy& c) {
        const long long age = SecondsBetween(c.at, now);
        return age < 86400;
      }))
    FUZZ_REQUIRE(doomed.size() < distinct.size());
  // Names of copies read back as what they were made of.
  for (const RecordedCopy& copy : distinct) {
    const auto parsed = ParseBackupName(BackupName(copy.fileName, copy.at));
    if (copy.fileName.find('.') == 0 || copy.fileName.empty()) continue;
    FUZZ_REQUIRE(parsed && parsed->at == copy.at);
  }
  return 0;
}
