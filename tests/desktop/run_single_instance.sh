#!/usr/bin/env bash
# One copy per user and settings file, checked with real processes (offscreen):
#  - a second start hands over to the running copy and ends;
#  - a socket left behind by a copy killed with SIGKILL does not block the next start;
#  - two copies started at the same moment: one runs, the other hands over to it.
# Usage: run_single_instance.sh <AppDir>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
work=$(mktemp -d /tmp/zelmo-single.XXXXXX)
pids=()
trap 'stop "${pids[@]}"; rm -rf "$work"' EXIT
cp -a "$1" "$work/AppDir"
export XDG_RUNTIME_DIR=$work/xdg
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
prog=$work/AppDir/zelmo-player
cd "$work"

start() { # start <name>: runs a copy with its output in <name>.log; its pid in $started
  "$prog" >"$work/$1.log" 2>&1 &
  started=$!
  pids+=("$started")
}

start first
a=$started
wait_for "$work/first.log" "ZELMO_BENCH shown" 180 "$a" || fail "the first copy did not show its window"

start second
wait_exit "$started" 120 || fail "the second copy still runs after 120 s"
[ "$exit_status" = 0 ] || fail "the second copy ended with $exit_status"
grep -qF "ZELMO_BENCH shown" "$work/second.log" && fail "the second copy showed a window of its own"
grep -qF "the running copy came to the front" "$work/second.log" || fail "the second copy got no answer"
wait_for "$work/first.log" "a later start asks for the window" 30 "$a" || fail "the first copy was not asked"

# A crash leaves the socket file behind.
stop "$a"
ls "$XDG_RUNTIME_DIR"/zelmo-player-* >/dev/null 2>&1 || fail "no socket in $XDG_RUNTIME_DIR"
start third
c=$started
wait_for "$work/third.log" "ZELMO_BENCH shown" 180 "$c" || fail "a stale socket blocked the next start"
stop "$c"

# Two at once: exactly one shows its window, the other ends at once with status 0.
start fourth
d=$started
start fifth
e=$started
runner=""
for _ in $(seq 1 720); do
  for p in "$d" "$e"; do
    if ! kill -0 "$p" 2>/dev/null; then
      wait "$p"; rc=$?
      [ "$rc" = 0 ] || fail "a copy started at the same moment ended with $rc"
      [ "$p" = "$d" ] && runner=$e || runner=$d
    fi
  done
  [ -n "$runner" ] && break
  sleep 0.25
done
[ -n "$runner" ] || fail "two copies started at once both still run after 180 s"
[ "$runner" = "$d" ] && log=fourth || log=fifth
wait_for "$work/$log.log" "ZELMO_BENCH shown" 180 "$runner" || fail "the remaining copy did not show its window"
echo "PASS: second start handed over, stale socket taken over, simultaneous starts gave one copy"
