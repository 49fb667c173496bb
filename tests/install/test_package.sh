#!/bin/sh
# Makes the Debian package from the build's install rules, checks it with
# lintian, installs it into this machine, starts the bar as an unprivileged
# user under Xvfb and removes the package again.
#   test_package.sh <build dir>
set -eu
build=$1 user=skylane-test
skip() { echo "package test skipped: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for c in cpack dpkg lintian Xvfb xwininfo setpriv useradd; do
  command -v $c >/dev/null || skip "no $c"
done
! dpkg -s skylane >/dev/null 2>&1 || skip "a skylane package is installed already"
tmp=$(mktemp -d)
cleanup() {
  [ -z "${bar:-}" ] || kill "$bar" 2>/dev/null || true
  [ -z "${xvfb:-}" ] || kill "$xvfb" 2>/dev/null || true
  dpkg -r skylane >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(echo "$tmp"/skylane_*.deb)
lintian --fail-on error "$deb" || fail "lintian finds errors"
dpkg -i "$deb" >/dev/null || fail "the package does not install"
[ "$(readlink -f /usr/bin/skylane)" = /usr/lib/skylane/skylane ] || fail "no /usr/bin/skylane"
grep -qxF 'Exec="/usr/bin/skylane"' /usr/share/applications/skylane.desktop || fail "the menu entry's Exec"

id -u $user >/dev/null 2>&1 || useradd -m $user
home=$(getent passwd $user | cut -d: -f6)
rm -rf "$home/.config/skylane"
range=${SKYLANE_E2E_DISPLAYS:-90-199} && n=${range%-*}
while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do
  n=$((n + 1)); [ $n -le ${range#*-} ] || fail "no free display in $range"
done
display=:$n
Xvfb "$display" -nolisten tcp >/dev/null 2>&1 & xvfb=$!
setpriv --reuid=$user --regid=$user --init-groups env -i HOME="$home" PATH=/usr/bin:/bin \
  DISPLAY="$display" skylane >"$tmp/bar.log" 2>&1 & bar=$!
shown() {
  for w in $(DISPLAY=$display xwininfo -root -children 2>/dev/null | awk '/"Sky Lane": \("skylane"/ { print $1 }'); do
    DISPLAY=$display xwininfo -id "$w" | grep -q IsViewable && return 0
  done
  return 1
}
i=0
until shown; do
  i=$((i + 1)); [ $i -lt 120 ] || { cat "$tmp/bar.log"; fail "the bar's window did not show"; }
  sleep 0.5
done
[ "$(stat -c %U "/proc/$bar")" = $user ] || fail "the bar does not run as $user"
# The user cannot write the program's folder: the first start is kept in
# the user's own config folder.
[ -f "$home/.config/skylane/config/runs.cfg" ] || fail "no runs.cfg in $home/.config/skylane/config"
kill "$bar"; bar=

dpkg -r skylane >/dev/null || fail "dpkg -r"
for f in /usr/lib/skylane /usr/bin/skylane /usr/share/applications/skylane.desktop /usr/share/doc/skylane; do
  [ ! -e "$f" ] && [ ! -L "$f" ] || fail "left after removal: $f"
done
echo "package: lintian, install, start as $user and removal: ok"
