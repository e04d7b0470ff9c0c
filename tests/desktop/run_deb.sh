#!/usr/bin/env bash
# The Debian package: CPack builds it, its dependencies name the packages the program uses, and
# it installs, runs and goes away again. As root it is installed into this system with apt and
# removed afterwards; otherwise it is unpacked into a temporary prefix and run from there.
# Usage: run_deb.sh <build dir>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/check_installed_tree.sh"
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/zelmo-deb.XXXXXX)
installed=""
cleanup() {
  if [ -n "$installed" ]; then
    apt-get remove -y -qq -o DPkg::Lock::Timeout=300 zelmo-player >/dev/null 2>&1 || dpkg -r zelmo-player >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
  { tail -30 "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/zelmo-player_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package built"
# Debian's package checker: no error and no warning (informational notes are allowed).
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
echo "lintian: $(grep -cE '^[IPX]: ' "$work/lintian.log") notes, no error or warning"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6webenginecore6 libqt6webenginecore6-bin libqt6widgets6 libgstreamer1.0-0 gstreamer1.0-plugins-good \
  gstreamer1.0-pulseaudio lame; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done

if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null && ! dpkg -s zelmo-player >/dev/null 2>&1; then
  # Everything it depends on is already here: the build and the tests need all of it.
  installed=1
  apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get install"; }
  check_installed_tree "" /usr
  smoke_run /usr/bin/zelmo-player "$work"
  apt-get remove -y -qq -o DPkg::Lock::Timeout=300 zelmo-player >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get remove"; }
  installed=""
  [ -e /usr/bin/zelmo-player ] && fail "/usr/bin/zelmo-player left behind after removal"
  [ -e /usr/share/zelmo-player ] && fail "/usr/share/zelmo-player left behind after removal"
  echo "PASS: package built, installed with apt, run, removed"
else
  dpkg-deb -x "$deb" "$work/root"
  check_installed_tree "$work/root" /usr
  smoke_run "$work/root/usr/bin/zelmo-player" "$work"
  echo "PASS: package built, unpacked into a prefix and run"
fi
