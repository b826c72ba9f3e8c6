#!/bin/sh
# measure_jobs.sh [RUNNER] [REPEATS]: wall time of --explore 1000 and of the
# guided exploration to full coverage (--seed 1), with --jobs 1 and --jobs 2,
# alternating, REPEATS times (3 by default); prints each time, the medians
# and the speed-ups, and checks that both numbers of jobs print the same.
set -eu
runner=${1:-build/default/scenario/trelvik-scenario}
repeats=${2:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() {  # seconds of wall time the command took; its CPU time and the load go to $work/cpu
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" > "$work/out" 2> /dev/null || true
  read -r wall user sys < "$work/time"
  echo "cpu $(echo "$user + $sys" | bc) s, load $(cut -d' ' -f1 /proc/loadavg)" > "$work/cpu"
  echo "$wall"
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

for i in $(seq "$repeats"); do
  for j in 1 2; do
    t=$(seconds "$runner" --explore 1000 --jobs $j --out "$work/x")
    cp "$work/out" "$work/explore-$j.out"
    echo "explore 1000, jobs $j: $t s ($(cat "$work/cpu"))"
    echo "$t" >> "$work/explore-$j"
    rm -rf "$work/suite"
    t=$(seconds "$runner" --explore 3000 --guided --suite "$work/suite" --seed 1 --jobs $j)
    sed "s|$work/suite|SUITE|" "$work/out" > "$work/guided-$j.out"
    echo "guided to full coverage, jobs $j: $t s ($(cat "$work/cpu"); $(tail -n 1 "$work/out"))"
    echo "$t" >> "$work/guided-$j"
  done
done
cmp -s "$work/explore-1.out" "$work/explore-2.out" || echo "WARNING: --explore printed differently with 1 and 2 jobs"
cmp -s "$work/guided-1.out" "$work/guided-2.out" || echo "WARNING: --guided printed differently with 1 and 2 jobs"
for what in explore guided; do
  one=$(median < "$work/$what-1") two=$(median < "$work/$what-2")
  echo "$what: median $one s with 1 job, $two s with 2 jobs, speed-up $(echo "scale=2; $one / $two" | bc)"
done
