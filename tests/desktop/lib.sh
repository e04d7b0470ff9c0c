# Shared by the desktop tests: start the real program offscreen and wait for what it prints.
# The program's benchmark hook prints "ZELMO_BENCH shown" at the first paint of the main window
# and, with ZELMO_BENCH_CHANNEL set, "ZELMO_BENCH page" once that channel's local page is loaded.
export ZELMO_BENCH=1
export QT_QPA_PLATFORM=offscreen
unset DISPLAY
export QT_LOGGING_RULES="qt.webenginecontext.info=false;zelmo.desktop.debug=true"

fail() { echo "FAIL: $*"; exit 1; }

# wait_for <file> <text> <seconds> [pid]: the text appears in the file; a given pid must live on.
wait_for() {
  local i
  for ((i = 0; i < $3 * 4; i++)); do
    grep -qF -- "$2" "$1" 2>/dev/null && return 0
    if [ -n "${4:-}" ] && ! kill -0 "$4" 2>/dev/null; then
      grep -qF -- "$2" "$1" 2>/dev/null && return 0
      echo "--- $1"; tail -20 "$1"; return 1
    fi
    sleep 0.25
  done
  echo "--- $1 (waited $3 s for '$2')"; tail -20 "$1"
  return 1
}

# wait_exit <pid> <seconds>: the process ends in time; its exit status is left in $exit_status.
wait_exit() {
  local i
  for ((i = 0; i < $2 * 4; i++)); do
    if ! kill -0 "$1" 2>/dev/null; then
      wait "$1"; exit_status=$?; return 0
    fi
    sleep 0.25
  done
  return 1
}

# stop <pid>...: end started copies, whatever state they are in.
stop() {
  local p
  for p in "$@"; do kill -9 "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  return 0
}
