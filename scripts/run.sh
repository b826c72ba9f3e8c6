#!/usr/bin/env bash
# Builds the simulator and starts it. The window needs a desktop session:
# without one (neither DISPLAY nor WAYLAND_DISPLAY set) this says so and ends
# with 1 instead of letting Qt abort.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: the simulator needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); without one, try: xvfb-run ./scripts/run.sh" >&2
  exit 1
fi
./scripts/build.sh default
exec ./build/default/app/qt/trelvik "$@"
