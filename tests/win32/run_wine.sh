#!/bin/sh
# Builds the native parts of the Windows backend with mingw-w64 and runs
# their test program under wine, in a throwaway prefix with no display.
#   run_wine.sh <source dir> <output dir> <native .cpp files>...
set -eu
src=$1 out=$2
shift 2
cxx=x86_64-w64-mingw32-g++
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
command -v "$cxx" >/dev/null 2>&1 || { echo "SKIP: $cxx missing (package g++-mingw-w64-x86-64)"; exit 77; }
[ -x "$wine" ] || { echo "SKIP: wine missing (package wine64)"; exit 77; }
rm -rf "$out" && mkdir -p "$out"
$cxx -std=c++20 -Wall -Wextra -Wpedantic -Werror -static -I"$src/src" "$src/tests/win32/native_test.cpp" "$@" \
  -o "$out/native_test.exe" -ladvapi32 -luser32 -lshell32
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
status=0
"$wine" "$out/native_test.exe" || status=$?
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
exit $status
