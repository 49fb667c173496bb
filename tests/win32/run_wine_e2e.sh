#!/bin/sh
# Brings build-windows/ up to date as `make windows` does and runs one of
# the tests of the built folder and installer under wine on Xvfb + openbox.
#   run_wine_e2e.sh <source dir> <work dir> <test file> [pytest arguments...]
# Skipped (77) only where there is no Qt for Windows: neither its cache nor
# the shared archive that scripts/qt-windows.sh unpacks.
src=$(cd "$1" && pwd) && mkdir -p "$2" && work=$(cd "$2" && pwd) || exit 1
test=$3
shift 3
qt=${XDG_CACHE_HOME:-$HOME/.cache}/skylane/qt6-win64-6.4.2
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] && [ ! -f "$src/../shared/toolchains/qt6-win64-6.4.2.tar.xz" ]; then
  echo "SKIP: no Qt for Windows in $qt nor $src/../shared/toolchains (scripts/qt-windows.sh builds it)"
  exit 77
fi
make -C "$src" windows || exit 1
here=$src/tests/win32
(cd "$here" && x86_64-w64-mingw32-windres probe.rc -O coff -o "$work/probe.res") &&
  x86_64-w64-mingw32-g++ -std=c++20 -static "$here/probe.cpp" "$work/probe.res" -o "$work/probe.exe" \
    -lgdi32 -lversion || exit 1
export SKYLANE_WINE_FOLDER="$src/build-windows/SkyLane" SKYLANE_WINE_PROBE="$work/probe.exe" PYTHONDONTWRITEBYTECODE=1
cd "$here" && exec /usr/bin/python3 -m pytest -q -p no:cacheprovider "$@" "$test"
