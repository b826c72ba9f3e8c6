#!/usr/bin/env bash
# Installs the Debian packages the build, the program, the tests and the
# Debian package need, where they are missing (with sudo when not root).
# qt6-wayland lets the programs run natively on a Wayland session;
# qt6-translations-l10n gives the workbench's file dialogs and standard
# buttons their Korean. gcovr and lcov read the firmware's line and branch
# counts of the coverage build (scripts/coverage.sh); iverilog, sigrok-cli and
# gtkwave write the foreign traces the trace tests read. python3-clang-14
# (libclang) finds the firmware's mutants for the mutant build; python3-jsonschema
# checks the mutation report in its test.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  clang libfuzzer-14-dev clang-format
  qt6-base-dev libx11-dev libgl-dev qt6-wayland qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev gcovr lcov
  fonts-nanum
  xvfb xauth xdotool x11-utils imagemagick
  dpkg-dev lintian desktop-file-utils appstream man-db time
  iverilog sigrok-cli gtkwave
  pybind11-dev python3-dev python3-pytest python3-hypothesis python3-pytest-xdist
  python3-clang-14 python3-jsonschema
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
