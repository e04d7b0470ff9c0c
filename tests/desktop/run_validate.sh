#!/usr/bin/env bash
# The menu entry and the AppStream metadata pass the validators desktops and software centres use.
# Usage: run_validate.sh <folder with zelmo-player.desktop and zelmo-player.metainfo.xml>
set -uo pipefail
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
desktop-file-validate "$1/zelmo-player.desktop" || { echo "FAIL: desktop-file-validate"; exit 1; }
appstreamcli validate --no-net "$1/zelmo-player.metainfo.xml" || { echo "FAIL: appstreamcli validate"; exit 1; }
grep -q '^Categories=AudioVideo;Audio;Video;Player;TV;$' "$1/zelmo-player.desktop" || { echo "FAIL: categories"; exit 1; }
grep -q '^Name\[ru\]=' "$1/zelmo-player.desktop" && grep -q '^Comment\[ru\]=' "$1/zelmo-player.desktop" ||
  { echo "FAIL: no Russian name or comment"; exit 1; }
grep -q '<project_license>' "$1/zelmo-player.metainfo.xml" && grep -q '<developer_name>' "$1/zelmo-player.metainfo.xml" ||
  { echo "FAIL: the AppStream file names no licence or developer"; exit 1; }
echo "PASS"
