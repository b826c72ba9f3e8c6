#!/usr/bin/env bash
# Ten minutes of random input to the real workbench window under Xvfb
# (tests/workbench/random_input.sh; the asan preset's tests run it for 60 s).
# Builds the AddressSanitizer workbench first when it is missing.
#
# usage: bench/random_input_workbench.sh [SECONDS] [SEED]   (default 600 s)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-600}"
program="$root/build/asan/workbench/trelvik-workbench"
if [ ! -x "$program" ]; then
  [ -d build/asan ] || cmake --preset asan
  cmake --build --preset asan --target trelvik-workbench
fi
exec "$root/tests/workbench/random_input.sh" "$seconds" "$program" ${2:+"$2"}
