#!/bin/sh
# Compiles the Windows backend (src/platform/win32) with Debian's mingw-w64
# cross compiler, warnings as errors, and links a program that uses every
# function it offers.  Usage: build_win32.sh <source dir> <output dir>
set -eu
src=$1
out=$2
cxx=x86_64-w64-mingw32-g++
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "SKIP: $cxx not installed (Debian package g++-mingw-w64-x86-64)"
  exit 77
fi
flags="-std=c++20 -Wall -Wextra -Wpedantic -Werror -I$src/src"
rm -rf "$out"
mkdir -p "$out"
for file in "$src"/src/platform/win32/*.cpp; do
  echo "$cxx -c $(basename "$file")"
  $cxx $flags -c "$file" -o "$out/$(basename "$file" .cpp).o"
done
$cxx $flags "$src/tests/win32/link_check.cpp" "$out"/*.o -o "$out/link_check.exe" \
  -static -ladvapi32 -luser32 -lshell32
echo "Windows backend compiled and linked: $out/link_check.exe"
