#!/usr/bin/env bash
# Qt 6.4.2 for 64-bit Windows (MinGW-w64), for cross-building skylane.exe.
#   scripts/qt-windows.sh [prefix]     (default ~/.cache/skylane/qt6-win64-6.4.2)
# Prints the prefix (the folder holding lib/cmake/Qt6), and nothing else, on
# its standard output.
# Unpacks ../shared/toolchains/qt6-win64-6.4.2.tar.xz when it is there and
# its SHA-256 matches; otherwise builds Qt Core, Gui, Widgets and Test from
# Debian's qt6-base source (about half an hour on two cores), with the
# installed Debian Qt as the host Qt. The source comes through a private apt
# configuration with a deb-src entry: the machine's apt sources stay as
# they are. Qt SVG is not built: Debian does not serve its source here.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
version=6.4.2
prefix=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/skylane/qt6-win64-$version}
prefix=$(realpath -m "$prefix")
archive_dir=${SKYLANE_QT_ARCHIVE_DIR:-$repo/../shared/toolchains}
archive=$archive_dir/qt6-win64-$version.tar.xz

if [ -f "$prefix/lib/cmake/Qt6/Qt6Config.cmake" ]; then
  echo "$prefix"
  exit 0
fi

if [ -f "$archive" ]; then
  echo "Unpacking $archive" >&2
  (cd "$archive_dir" && sha256sum --check --status SHA256SUMS) || {
    echo "qt-windows.sh: $archive does not match $archive_dir/SHA256SUMS" >&2
    exit 1
  }
  mkdir -p "$(dirname "$prefix")"
  tmp=$(mktemp -d "$(dirname "$prefix")/.qt-unpack.XXXXXX")
  tar -xJf "$archive" -C "$tmp"
  rm -rf "$prefix"
  mv "$tmp/qt6-win64" "$prefix"
  rmdir "$tmp"
  echo "$prefix"
  exit 0
fi

# From source.
"$repo/scripts/deps.sh" windows >&2
work=${SKYLANE_QT_WORK:-$(dirname "$prefix")/qt6-win64-$version-work}
mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial"
sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$work/apt/sources.list.d/src.sources"
apt_private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
             -o Dir::State::Lists="$work/apt/lists")
src=$work/qt6-base-$version+dfsg
if [ ! -f "$src/CMakeLists.txt" ]; then
  echo "Fetching Debian's qt6-base source" >&2
  apt-get "${apt_private[@]}" update >&2
  (cd "$work" && apt-get "${apt_private[@]}" source qt6-base >&2)
fi
[ -f "$src/CMakeLists.txt" ] || { echo "qt-windows.sh: no source in $src" >&2; exit 1; }

# Debian's dfsg source has no wintab (tablet events) and Direct2D 1.1 does not
# link; Direct2D itself stays, as qwindows needs its DirectWrite font database.
cmake -G Ninja -S "$src" -B "$work/build" \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF \
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_testlib=ON \
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_androiddeployqt=OFF -DFEATURE_windeployqt=OFF \
  -DFEATURE_pkg_config=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_jpeg=ON -DFEATURE_png=ON >&2
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll
[ -n "${SKYLANE_QT_KEEP_WORK:-}" ] || rm -rf "$work"
echo "$prefix"
