#!/usr/bin/env bash
# What CI checks besides `make test`: the Windows program cross-builds
# (`make windows`, Qt for Windows unpacked from ../shared/toolchains by
# scripts/qt-windows.sh; `make test` then walks through it under wine in
# win32_e2e), every test runs again in an AddressSanitizer + UBSan build
# (build-asan/, where the end-to-end suite's repeated starts run fewer
# times), and each fuzz target runs for 60 s.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
make windows
cmake -S . -B build-asan -G Ninja -DSKYLANE_SANITIZE=ON -DSKYLANE_BENCH=OFF
cmake --build build-asan
(cd build-asan && SKYLANE_E2E_STARTS=40 ctest --output-on-failure --timeout 600)
scripts/fuzz.sh 60
