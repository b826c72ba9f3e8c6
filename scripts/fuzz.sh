#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the fuzz preset (clang, libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each target for
# SECONDS (default 30) from its seed corpus, copied to a scratch folder so
# the tree is never written. A crash, leak, hang over 10 s or sanitizer
# report fails the run, and the input that caused it is kept and named.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]  (bad number of seconds '$seconds')" >&2
  exit 2
fi

./scripts/setup.sh
cmake --preset fuzz > /dev/null
cmake --build --preset fuzz

scratch=$(mktemp -d "${TMPDIR:-/tmp}/trelvik-fuzz.XXXXXX")
mkdir "$scratch/scenario_parser" "$scratch/vcd_reader"
cp scenario/examples/*.scn tests/scenario/*.scn "$scratch/scenario_parser/"
cp fuzz/corpus/vcd_reader/* "$scratch/vcd_reader/"

failed=0
for target in scenario_parser vcd_reader; do
  log="$scratch/$target.log"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "build/fuzz/fuzz/fuzz_$target" "$scratch/$target" -max_total_time="$seconds" -timeout=10 \
      -dict="fuzz/$target.dict" -artifact_prefix="$scratch/$target-" -print_final_stats=1 > "$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$target: $runs runs in $seconds s ($rate a second), nothing found"
  else
    failed=1
    grep -E "ERROR|runtime error|SUMMARY|does not|accepted" "$log" | head -20 >&2 || true
    echo "fuzz_$target: FAILED; the log and the input are in $scratch" >&2
  fi
done
[ "$failed" -eq 0 ] && rm -rf "$scratch"
exit "$failed"
