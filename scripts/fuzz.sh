#!/usr/bin/env bash
# The libFuzzer targets of the core (tests/fuzz): built natively with clang
# under the address and undefined-behaviour sanitizers, each run for a bounded
# time on its corpus.
#
#   bash scripts/fuzz.sh [seconds] [target ...]   build, then run each target
#                                                 (default: 30 s, every target)
#
# scripts/test.sh sources this file for the same functions. A target's corpus
# grows in <build>/fuzz/corpus/<target>; the small corpus in
# tests/fuzz/corpus/<target> (seeds and inputs that once failed) is read each
# run but never written. An input that fails is kept as
# <build>/fuzz/artifacts/<target>-crash-...; replay it with
# <build>/fuzz/<target>_fuzz <file>.

# True when clang++ can build and link a libFuzzer target; otherwise says why
# in PENDRA_FUZZ_REASON.
pendra_fuzz_available() {
  if ! command -v clang++ >/dev/null 2>&1; then
    PENDRA_FUZZ_REASON="clang++ not found"
    return 1
  fi
  local probe
  probe=$(mktemp -d)
  printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
    'extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }' \
    >"$probe/probe.cpp"
  if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
      >/dev/null 2>&1; then
    rm -rf "$probe"
    PENDRA_FUZZ_REASON="clang++ cannot link libFuzzer (libclang-rt-14-dev missing?)"
    return 1
  fi
  rm -rf "$probe"
}

# The CMake options of the fuzz build folder.
PENDRA_FUZZ_CMAKE_OPTIONS=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                           -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENDRA_FUZZ=ON -DPENDRA_TESTS=OFF)

# The targets, by name: tests/fuzz/<name>_fuzz.cpp.
pendra_fuzz_targets() {
  local src
  for src in tests/fuzz/*_fuzz.cpp; do
    src=${src##*/}
    echo "${src%_fuzz.cpp}"
  done
}

# Runs one target for a bounded time on its corpus, its output in `log`:
# pendra_fuzz_run <fuzz build folder> <name> <seconds> <log>. Exit status 0
# when no input failed. Leaves in PENDRA_FUZZ_RESULT the runs, the time and
# the corpus size.
pendra_fuzz_run() {
  local dir=$1 name=$2 seconds=$3 log=$4
  local corpus="$dir/corpus/$name" options=()
  mkdir -p "$corpus" "$dir/artifacts"
  [ -f "tests/fuzz/$name.dict" ] && options+=("-dict=tests/fuzz/$name.dict")
  local rc=0
  if [ "$name" = version_record ]; then
    "$dir/version_seed" "$corpus/pendra_record" >"$log" 2>&1 || rc=$?
  fi
  [ "$rc" -ne 0 ] || timeout -k 10 $((seconds + 300)) "$dir/${name}_fuzz" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$name-" "${options[@]}" \
    "$corpus" "tests/fuzz/corpus/$name" >>"$log" 2>&1 || rc=$?
  local runs files
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  files=$(find "$corpus" -type f | wc -l)
  PENDRA_FUZZ_RESULT="${runs:-?} runs in $seconds s, corpus $files files"
  return "$rc"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  cd "$(dirname "$0")/.."
  BUILD=${PENDRA_BUILD:-$PWD/build}
  SECONDS_EACH=${1:-30}
  shift || true
  if ! pendra_fuzz_available; then
    echo "fuzz targets skipped: $PENDRA_FUZZ_REASON"
    exit 0
  fi
  cmake -S . -B "$BUILD/fuzz" -G Ninja "${PENDRA_FUZZ_CMAKE_OPTIONS[@]}" >/dev/null
  cmake --build "$BUILD/fuzz" -j "${PENDRA_JOBS:-2}"
  targets=("$@")
  [ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(pendra_fuzz_targets)
  failed=0
  for name in "${targets[@]}"; do
    log="$BUILD/fuzz/$name.log"
    if pendra_fuzz_run "$BUILD/fuzz" "$name" "$SECONDS_EACH" "$log"; then
      echo "$name: passed, $PENDRA_FUZZ_RESULT"
    else
      echo "$name: FAILED, $PENDRA_FUZZ_RESULT (log: $log)"
      failed=1
    fi
  done
  exit "$failed"
fi
