#!/usr/bin/env bash
# Builds one preset (default, asan or tsan) and runs its whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
./scripts/build.sh "$preset"
ctest --preset "$preset" --output-on-failure
