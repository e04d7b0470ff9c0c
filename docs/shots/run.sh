#!/usr/bin/env bash
# Writes the README's screenshots into docs/ (offscreen; no display needed).
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -d build ] || bash scripts/build.sh
cmake --build build --target shot_iptv_tab zelmo_appdir >/dev/null
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QT_LOGGING_RULES="qt.webenginecontext.info=false" \
  ZELMO_TEST_SOURCE_DIR="$(pwd)" build/shots/shot_iptv_tab build/AppDir docs/iptv-tab.png
echo "docs/iptv-tab.png"
