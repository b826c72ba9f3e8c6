#!/usr/bin/env bash
# Set-up, configure and build one preset (default, asan or tsan).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
./scripts/setup.sh
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset"
