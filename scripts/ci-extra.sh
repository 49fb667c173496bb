#!/usr/bin/env bash
# What CI checks besides `make test`: the Windows backend type-checks with
# mingw-w64 and its native parts run under wine (ctest tests in both builds), every test runs again in an AddressSanitizer +
# UBSan build (build-asan/), the end-to-end suite's repeated starts fewer times there, and each fuzz target
# runs for 60 s.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-asan -G Ninja -DSKYLANE_SANITIZE=ON -DSKYLANE_BENCH=OFF
cmake --build build-asan
(cd build-asan && SKYLANE_E2E_STARTS=40 ctest --output-on-failure --timeout 600)
scripts/fuzz.sh 60
