#!/usr/bin/env bash
# cmake --install into a temporary prefix: program, packs, channel tree, menu entry, icons and
# AppStream file land where a desktop looks for them, and the installed program runs from there.
# Usage: run_install.sh <build dir>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/check_installed_tree.sh"
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
work=$(mktemp -d /tmp/zelmo-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
cmake --install "$1" --prefix "$work/prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }
check_installed_tree "$work" /prefix
smoke_run "$work/prefix/bin/zelmo-player" "$work"
echo "PASS: installed tree complete, program ran from the prefix"
