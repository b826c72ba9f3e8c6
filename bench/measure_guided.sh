#!/bin/sh
# measure_guided.sh [RUNNER] [FIRST] [LAST] [JOBS]: the uses the guided
# exploration plays to full coverage (27/27 transitions and every other
# item), for each seed from FIRST to LAST (1 to 10 by default), with
# --explore 3000 --jobs JOBS (2); prints each seed's uses and wall time, then
# the median and the largest, and checks them against the bar: every seed
# within 1,000 uses, the median at most 500.
set -eu
runner=${1:-build/default/scenario/trelvik-scenario}
first=${2:-1}
last=${3:-10}
jobs=${4:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for seed in $(seq "$first" "$last"); do
  rm -rf "$work/suite"
  begin=$(date +%s.%N)
  "$runner" --explore 3000 --guided --suite "$work/suite" --seed "$seed" --jobs "$jobs" > "$work/out" 2> /dev/null || true
  took=$(echo "$(date +%s.%N) - $begin" | bc)
  uses=$(sed -n 's/^explore: \([0-9]*\) uses from seed.*/\1/p' "$work/out")
  full=$(grep -c '^coverage: states 10/10, transitions 27/27, timers 11/11, travel outcomes 3/3' "$work/out" || true)
  [ "$full" = 1 ] || uses=">3000"
  printf 'seed %2d: %5s uses, %5.1f s, %s kept\n' "$seed" "$uses" "$took" "$(ls "$work/suite" | grep -c '^cover-')"
  echo "$uses" >> "$work/uses"
done
sort -n "$work/uses" | awk '
  { v[NR] = $1 }
  END {
    median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    print "median " median " uses, largest " v[NR]
    if (v[NR] !~ /^[0-9]+$/ || v[NR] > 1000 || median > 500) { print "ABOVE THE BAR (<= 1000 each, median <= 500)"; exit 1 }
  }'
