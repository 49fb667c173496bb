#!/usr/bin/env bash
# Installs the Debian packages a task needs when any of them is missing.
#   scripts/deps.sh run    what building and running the bar needs
#   scripts/deps.sh test   that, plus what the tests need
#   scripts/deps.sh package what `make package` needs to build and check the .deb
#   scripts/deps.sh windows what `make windows` and scripts/qt-windows.sh need
set -euo pipefail

run_pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-private-dev qt6-svg-dev libqt6svg6 libxcb1-dev libxcb-ewmh-dev
          libxcb-icccm4-dev libglib2.0-dev libfontconfig-dev
          qt6-image-formats-plugins fonts-dejavu-core fonts-liberation fonts-urw-base35
          hicolor-icon-theme adwaita-icon-theme)
test_pkgs=(xvfb xauth openbox xdotool x11-utils x11-apps imagemagick dbus dbus-x11
           python3-xlib python3-pytest python3-dbusmock python3-gi python3-pyatspi at-spi2-core
           desktop-file-utils weston xwayland qt6-wayland
           clang libclang-rt-14-dev g++-mingw-w64-x86-64 wine64)
windows_pkgs=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev-tools zip xz-utils
              dpkg-dev perl wine64 nsis)
package_pkgs=(dpkg-dev file lintian)

case "${1:-run}" in
  run) wanted=("${run_pkgs[@]}") ;;
  test) wanted=("${run_pkgs[@]}" "${test_pkgs[@]}" "${windows_pkgs[@]}" "${package_pkgs[@]}") ;;
  package) wanted=("${run_pkgs[@]}" "${package_pkgs[@]}") ;;
  windows) wanted=("${run_pkgs[@]}" "${windows_pkgs[@]}") ;;
  *) echo "usage: $0 run|test|package|windows" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
