#!/usr/bin/env bash
# measure_mutants.sh [SUITE]: every firmware mutant against scenario/examples/
# plus a guided suite (SUITE, a folder of cover-*.scn; made with --explore 3000
# --guided, seed 1, when not given), two jobs. Prints the mutants, both scores
# and the wall time of the whole run (the suite's coverage included; the
# suite's making is not). The report is left in build/mutants/.
set -euo pipefail
cd "$(dirname "$0")/.."
suite="${1:-}"
cmake --build --preset default --target trelvik-scenario trelvik-scenario-mutants > /dev/null
export QT_QPA_PLATFORM=offscreen
out=build/mutants
mkdir -p "$out"
if [ -z "$suite" ]; then
  suite="$out/guided"
  rm -rf "$suite"
  build/default/scenario/trelvik-scenario --explore 3000 --guided --suite "$suite" --jobs 2 > /dev/null 2>&1 || true
fi
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores;" \
  "$(ls scenario/examples/*.scn | wc -l) examples + $(ls "$suite"/*.scn | wc -l) files of the guided suite"
start=$(date +%s.%N)
code=0
./scripts/mutate.py scenario/examples "$suite" --jobs 2 --report-json "$out/report.json" > "$out/summary.txt" || code=$?
end=$(date +%s.%N)
sed -n '1,4p' "$out/summary.txt"
echo "wall time: $(echo "$end - $start" | bc) s (exit $code); report in $out/report.json, summary in $out/summary.txt"
