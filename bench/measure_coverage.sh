#!/usr/bin/env bash
# measure_coverage.sh [RUNS] [SUITE]: what firmware coverage costs and what it
# finds. The examples plus a guided suite (SUITE, a folder of cover-*.scn;
# made with --explore 3000 --guided, seed 1, when not given) run RUNS times
# (5 by default) each way, serial and with two jobs, medians of wall and CPU time:
#   plain     the default build's runner, --quiet --coverage;
#   counted   the coverage build's runner, each file's counts written apart;
#   script    scripts/coverage.sh whole: the runs, gcov, gcovr, lcov, the map.
# Then the firmware coverage of the examples, of the suite and of both.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
suite="${2:-}"
./scripts/build.sh default > /dev/null
plain=build/default/scenario/trelvik-scenario
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen

if [ -z "$suite" ]; then
  suite="$scratch/suite"
  "$plain" --explore 3000 --guided --suite "$suite" --jobs 2 > /dev/null 2>&1 || true
fi
files=(scenario/examples/*.scn "$suite"/*.scn)
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; ${#files[@]} files" \
  "(${#files[@]} = $(ls scenario/examples/*.scn | wc -l) examples + $(ls "$suite"/*.scn | wc -l) of the suite)"
./scripts/coverage.sh --out "$scratch/report" "${files[@]}" > /dev/null  # builds the coverage preset
counted=build/coverage/scenario/trelvik-scenario

# "WALL CPU": the medians of the wall seconds and of the CPU seconds (user and
# system, workers and tools included) of RUNS runs of the command; on a shared
# machine the CPU time is the steadier of the two.
medians() {
  local middle=$(((runs + 1) / 2))
  for _ in $(seq "$runs"); do
    rm -rf "$scratch/counts"
    /usr/bin/time -f '%e %U %S' -o "$scratch/time" "$@" > /dev/null 2>&1 || true
    awk '{ print $1, $2 + $3 }' "$scratch/time"
  done > "$scratch/times"
  echo "$(cut -d' ' -f1 "$scratch/times" | sort -n | sed -n ${middle}p)" \
    "$(cut -d' ' -f2 "$scratch/times" | sort -n | sed -n ${middle}p)"
}

for jobs in 1 2; do
  read -r pw pc < <(medians "$plain" "${files[@]}" --quiet --coverage --snapshot-dir "$scratch/shots" --jobs $jobs)
  read -r cw cc < <(medians env TRELVIK_COVERAGE_DIR="$scratch/counts/files" GCOV_PREFIX="$scratch/counts/rest" \
    "$counted" "${files[@]}" --quiet --coverage --snapshot-dir "$scratch/shots" --jobs $jobs)
  read -r sw sc < <(medians ./scripts/coverage.sh --jobs $jobs --out "$scratch/report" "${files[@]}")
  awk -v j="$jobs" -v pw="$pw" -v pc="$pc" -v cw="$cw" -v cc="$cc" -v sw="$sw" -v sc="$sc" 'BEGIN {
    printf "jobs %d, wall (CPU): plain %.2f s (%.2f s), counted %.2f s (%.2f s), %.1f x (%.1f x),", j, pw, pc, cw, cc, cw / pw, cc / pc
    printf " whole script %.2f s (%.2f s), %.1f x (%.1f x)\n", sw, sc, sw / pw, sc / pc }'
done

for set in examples suite both; do
  case $set in
    examples) chosen=(scenario/examples/*.scn) ;;
    suite) chosen=("$suite"/*.scn) ;;
    both) chosen=("${files[@]}") ;;
  esac
  printf '%-9s ' "$set:"
  ./scripts/coverage.sh --out "$scratch/report" "${chosen[@]}" | grep '^firmware: '
done
