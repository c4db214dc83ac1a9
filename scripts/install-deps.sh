#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests and its benchmarks need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev
  libsdl2-dev libasound2-dev libsoxr-dev
  pulseaudio pulseaudio-utils
  libgtest-dev
  xvfb xauth imagemagick ffmpeg lame
  dpkg-dev lintian desktop-file-utils appstream librsvg2-bin x11-utils xdotool
)
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
