#!/bin/sh
# Every source file of the Windows build through mingw-w64's C++20 front
# end against the installed Qt 6 headers, warnings as errors.
#   typecheck.sh <file naming the sources, one a line> <file of -I options>
set -eu
cxx=x86_64-w64-mingw32-g++
command -v "$cxx" >/dev/null 2>&1 || { echo "SKIP: $cxx missing (package g++-mingw-w64-x86-64)"; exit 77; }
# Qt's headers here were configured for Linux and declare its functions
# dllimport only for a Windows build of Qt; the compiler warns about that.
xargs -d '\n' -P 2 -n 1 "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -Wno-attributes \
  @"$2" <"$1"
echo "$(wc -l <"$1") files type-check for Windows"
