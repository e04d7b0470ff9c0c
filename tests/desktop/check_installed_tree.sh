# Sourced: check_installed_tree <root> <prefix inside root>: the files an install must hold.
check_installed_tree() {
  local p="$1$2" f
  for f in bin/zelmo-player share/applications/zelmo-player.desktop share/metainfo/zelmo-player.metainfo.xml \
    share/icons/hicolor/scalable/apps/zelmo-player.svg share/zelmo-player/channel/public/ort.htm; do
    [ -e "$p/$f" ] || fail "missing $2/$f"
  done
  for f in Russian Ukraine England Belarusian Chinese; do
    [ -f "$p/share/zelmo-player/Language/$f.lng" ] || fail "missing language pack $f.lng"
  done
  for f in 16 22 24 32 48 64 128 256; do
    [ -f "$p/share/icons/hicolor/${f}x${f}/apps/zelmo-player.png" ] || fail "missing ${f}x${f} icon"
  done
  [ -e "$p/bin/Language" ] && fail "language packs beside the installed program"
  desktop-file-validate "$p/share/applications/zelmo-player.desktop" || fail "installed desktop entry"
  appstreamcli validate --no-net "$p/share/metainfo/zelmo-player.metainfo.xml" >/dev/null ||
    fail "installed metainfo"
  return 0
}

# smoke_run <program> <work dir>: the installed program starts, finds its channel pages in the
# install's data folder, and writes nothing beside itself.
smoke_run() {
  local prog=$1 w=$2 pid
  mkdir -p -m 700 "$w/xdg"
  XDG_RUNTIME_DIR="$w/xdg" XDG_CONFIG_HOME="$w/config" ZELMO_BENCH_CHANNEL="ОРТ" "$prog" >"$w/run.log" 2>&1 &
  pid=$!
  wait_for "$w/run.log" "ZELMO_BENCH page" 240 "$pid" || { stop "$pid"; fail "the installed program did not open a channel page"; }
  grep -qF "installed data:" "$w/run.log" || { stop "$pid"; fail "the program did not see itself installed"; }
  stop "$pid"
  [ -e "$(dirname "$prog")/Setting.ini" ] && fail "Setting.ini written beside the installed program"
  return 0
}
