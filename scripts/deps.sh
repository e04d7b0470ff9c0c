#!/usr/bin/env bash
# Installs, with apt, what building, running and testing need; quick and quiet when all is there.
set -euo pipefail
packages=(
  cmake g++ ninja-build pkg-config ccache lld
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  qt6-qpa-plugins libgl-dev libglx-dev libopengl-dev libfontconfig-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev zlib1g-dev gstreamer1.0-tools
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-pulseaudio
  lame pulseaudio pulseaudio-utils sox ffmpeg xdg-user-dirs
  xvfb xauth x11-utils xdotool openbox imagemagick dbus dbus-x11 at-spi2-core python3-pyatspi
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei
  desktop-file-utils appstream librsvg2-bin dpkg-dev lintian qt6-translations-l10n
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
