#!/usr/bin/env bash
# Installs the Debian 12 packages the program, its tests and its benchmarks need, through sudo
# when not run as root. Safe to run again: apt-get skips what is already there.
set -euo pipefail
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
as_root=()
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "A instalação dos pacotes precisa do root: rode este comando como root ou instale o sudo." >&2
    echo "Installing the packages needs root: run this command as root, or install sudo." >&2
    exit 1
  fi
  as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
