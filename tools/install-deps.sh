#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only missing packages are fetched; a machine that has them all is left alone.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  libmp3lame-dev libavcodec-dev libavutil-dev libasound2-dev
  libgtest-dev libgmock-dev
  # a window's map asked again on X, and the test's own window manager
  libxcb1-dev
  # run
  qt6-qpa-plugins fonts-dejavu-core
  # Qt's own texts (message box buttons, file dialogs) in Polish
  qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-libav gstreamer1.0-alsa
  # test oracles and media makers
  ffmpeg mpg123 mp3val lame twolame sox id3v2 dbus xvfb xauth strace
  # a small window manager, so the window placement tests see real frames
  evilwm
  # the export benchmark's reference
  mp3splt
  # the playback benchmark's reference
  gstreamer1.0-tools
  # a desktop's sound server, started privately by the playback tests and the
  # playback benchmark, and GStreamer's elements that play and record through it
  pulseaudio gstreamer1.0-pulseaudio
  # desktop integration: the tools it runs and the checks of what it wrote
  desktop-file-utils xdg-utils shared-mime-info libfile-mimeinfo-perl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
