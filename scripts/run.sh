#!/usr/bin/env bash
# Builds the simulator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh default
exec ./build/default/app/qt/trelvik "$@"
