#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) in
# build-fuzz/ and runs each over its seed corpus.
#   scripts/fuzz.sh                 60 s per target
#   scripts/fuzz.sh 600             600 s per target
#   scripts/fuzz.sh 0 -runs=10000000   a fixed number of executions
# Inputs the fuzzer discovers go to a scratch folder, never into the tree;
# a failing input is saved in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD:-build-fuzz}
targets=(fuzz_settings fuzz_category)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DSKYLANE_FUZZ=ON -DSKYLANE_TESTS=OFF \
  -DSKYLANE_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  scratch=$(mktemp -d)
  log=$build/$target.log
  limit=()
  [ "$seconds" -gt 0 ] && limit=(-max_total_time="$seconds")
  echo "fuzzing $target ${limit[*]} $*"
  if ! "$build/tests/fuzz/$target" "$scratch" "tests/fuzz/corpus/$target" "${limit[@]}" \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$@" >"$log" 2>&1; then
    tail -n 60 "$log"
    rm -rf "$scratch"
    echo "FAILED: $target (input saved in $build/artifacts/)"
    exit 1
  fi
  rm -rf "$scratch"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  time_s=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  echo "$target: ${runs:-?} executions in ${time_s:-?} s, no failures"
done
