// The scheduler writes the time text every second per entry and converts
// stored dates back; both must cost well under a microsecond.
#include <benchmark/benchmark.h>

#include "settings/datetime.h"

namespace pendra {
namespace {

void BM_FormatTimeText(benchmark::State& state) {
  const LocaleFormats f;
  int second = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatTimeText(f, TimeFromSeconds(second)));
    second = (second + 1) % 86400;
  }
}
BENCHMARK(BM_FormatTimeText);

void BM_FormatDateText(benchmark::State& state) {
  const LocaleFormats f;
  for (auto _ : state) benchmark::DoNotOptimize(FormatDateText(f, {2000, 6, 19}));
}
BENCHMARK(BM_FormatDateText);

void BM_ParseTimeText(benchmark::State& state) {
  const LocaleFormats f;
  for (auto _ : state) benchmark::DoNotOptimize(ParseTimeText(f, "11:59:59 PM"));
}
BENCHMARK(BM_ParseTimeText);

void BM_ParseDateText(benchmark::State& state) {
  const LocaleFormats f;
  for (auto _ : state) benchmark::DoNotOptimize(ParseDateText(f, "12/31/2000"));
}
BENCHMARK(BM_ParseDateText);

}  // namespace
}  // namespace pendra
