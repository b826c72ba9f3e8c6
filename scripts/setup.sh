#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# where they are missing (with sudo when not root).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libx11-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-nanum
  xvfb xauth xdotool x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep "install ok installed" > /dev/null; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
