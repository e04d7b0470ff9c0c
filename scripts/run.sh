#!/usr/bin/env bash
# Builds and starts the program; under Xvfb when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/zelmo-xdg-$(id -u)}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/AppDir/zelmo-player
fi
exec build/AppDir/zelmo-player
