#!/usr/bin/env bash
# measure_coverage.sh [RUNS] [SUITE]: what firmware coverage costs and what it
# finds. The examples plus a guided suite (SUITE, a folder of cover-*.scn;
# made with --explore 3000 --guided, seed 1, when not given) run RUNS times
# (5 by default) each way, serial and with two jobs, medians of wall time:
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

median() {  # median of the wall seconds of RUNS runs of the command
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
  done | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

counted_run() {
  rm -rf "$scratch/counts"
  TRELVIK_COVERAGE_DIR="$scratch/counts/files" GCOV_PREFIX="$scratch/counts/rest" \
    "$counted" "${files[@]}" --quiet --coverage --snapshot-dir "$scratch/shots" "$@"
}

for jobs in 1 2; do
  p=$(median "$plain" "${files[@]}" --quiet --coverage --snapshot-dir "$scratch/shots" --jobs $jobs)
  c=$(median counted_run --jobs $jobs)
  s=$(median ./scripts/coverage.sh --jobs $jobs --out "$scratch/report" "${files[@]}")
  awk -v j="$jobs" -v p="$p" -v c="$c" -v s="$s" 'BEGIN {
    printf "jobs %d: plain %.2f s, counted %.2f s (%.1f x), whole script %.2f s (%.1f x)\n", j, p, c, c / p, s, s / p }'
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
