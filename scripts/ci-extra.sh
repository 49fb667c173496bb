#!/usr/bin/env bash
# What CI checks besides `make test`: the Windows program cross-builds
# (`make windows`, Qt for Windows unpacked from ../shared/toolchains by
# scripts/qt-windows.sh; `make test` then walks through it under wine in
# win32_e2e), every Linux test runs again in an AddressSanitizer + UBSan
# build (build-asan/, with fewer repeated starts in the end-to-end suite),
# and each fuzz target runs for 60 s.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
make windows
cmake -S . -B build-asan -G Ninja -DSKYLANE_SANITIZE=ON -DSKYLANE_BENCH=OFF
cmake --build build-asan
# The Windows journey and the Debian package test the same files as
# `make test` does; the sanitizer run is for the Linux program.
(cd build-asan && SKYLANE_E2E_STARTS=20 ctest --output-on-failure --timeout 900 -E '^(win32_e2e|package)$')
scripts/fuzz.sh 60
