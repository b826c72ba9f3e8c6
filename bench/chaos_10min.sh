#!/bin/sh
# chaos_10min.sh [RUNNER] [SECONDS]: the chaos test of parallel runs
# (tests/scenario/chaos.py) for 10 minutes, or SECONDS: batches with
# --jobs 2 cut at random moments by a killed worker, a signal to the group
# or a killed parent, each checked for lost verdicts, left processes and
# left temporary files. CHAOS_SEED=N replays a run of it.
set -eu
runner=${1:-build/default/scenario/trelvik-scenario}
seconds=${2:-600}
exec /usr/bin/python3 "$(dirname "$0")/../tests/scenario/chaos.py" "$runner" "$seconds"
