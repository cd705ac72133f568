#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need.
# Safe to run again: only missing packages are installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev
  qt6-image-formats-plugins qt6-qpa-plugins libpng-dev
  # logotool serve: Qt HTTP Server (its CMake files need the WebSockets ones,
  # which Debian's package does not pull in) and the SQLite driver of Qt SQL.
  qt6-httpserver-dev qt6-websockets-dev libqt6sql6-sqlite
  libgtest-dev libgmock-dev
  libwmf-dev libemf2svg-dev
  # libwmf loads these fonts before it draws any WMF, even one without text;
  # without them every WMF fails to import (Debian only recommends them).
  fonts-urw-base35
  clang libclang-rt-14-dev
  xvfb xauth
  desktop-file-utils shared-mime-info xdg-utils
  # make package: dpkg-shlibdeps and dpkg-buildflags
  dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
