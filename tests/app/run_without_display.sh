#!/usr/bin/env bash
# Without a desktop session, ./scripts/run.sh says so in one line, names
# xvfb-run, and ends with 1 (no Qt abort, no core dump).
set -uo pipefail
cd "$(dirname "$0")/../.."
out=$(env -u DISPLAY -u WAYLAND_DISPLAY ./scripts/run.sh 2>&1)
code=$?
[ "$code" -eq 1 ] || { echo "exit code $code, not 1: $out"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || { echo "more than one line: $out"; exit 1; }
[[ "$out" == *"needs a desktop session"*"xvfb-run ./scripts/run.sh"* ]] || { echo "unexpected: $out"; exit 1; }
