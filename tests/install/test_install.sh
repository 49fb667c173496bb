#!/bin/sh
# Installs the built bar into a temporary prefix, again over itself (the
# user's config/ must come through byte for byte) and uninstalls it.
#   test_install.sh <build dir> <source dir>
set -eu
build=$1 src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/pre\ fix
app=$prefix/lib/skylane
export XDG_CONFIG_HOME="$tmp/config-home"
fail() { echo "FAIL: $*"; exit 1; }
install_all() {
  cmake --install "$build" --prefix "$prefix" >/dev/null
  cmake --install "$build" --prefix "$prefix" --component autostart >/dev/null
}

install_all
for f in "$app/skylane" "$app/help/help.htm" "$prefix/share/icons/hicolor/scalable/apps/skylane.svg" \
         "$prefix/share/icons/hicolor/48x48/apps/skylane.png"; do
  [ -f "$f" ] || fail "not installed: $f"
done
[ "$prefix/bin/skylane" -ef "$app/skylane" ] || fail "bin/skylane does not lead to the program"
entry=$prefix/share/applications/skylane.desktop
desktop-file-validate "$entry" "$XDG_CONFIG_HOME/autostart/skylane.desktop" || fail "entries do not validate"
grep -qxF "Exec=\"$prefix/bin/skylane\"" "$entry" || fail "Exec does not name the installed program"

# An upgrade leaves config/ alone, adding only a missing blank picture.
printf '/bin/true\r\n\r\n' >"$app/config/Inet.cfg"
printf 'mine' >"$app/config/1.2.jpg"
cp -a "$app/config" "$tmp/before"
install_all
diff -r "$tmp/before" "$app/config" || fail "an upgrade changed config/"
rm "$app/config/1.2.jpg"
install_all
cmp -s "$app/config/1.2.jpg" "$src/resources/config/1.2.jpg" || fail "the missing picture was not added"

cmake -DPREFIX="$prefix" -P "$src/src/install/Uninstall.cmake" >/dev/null
left=$(cd "$tmp" && find "./pre fix" "$XDG_CONFIG_HOME" ! -type d | sort | tr '\n' ' ')
[ "$left" = "./pre fix/lib/skylane/config/1.2.jpg ./pre fix/lib/skylane/config/Inet.cfg " ] ||
  fail "uninstall left: $left"
echo "install, upgrade and uninstall: ok"
