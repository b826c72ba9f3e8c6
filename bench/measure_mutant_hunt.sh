#!/usr/bin/env bash
# measure_mutant_hunt.sh [SEED]: a mutation-guided suite made by
# trelvik-scenario-mutants --explore 3000 --guided --mutants (seed 1 when not
# given), two jobs, then every firmware mutant run against that suite alone
# by scripts/mutate.py; both leave out the known equivalent mutants
# (mutate/equivalents.txt). Prints the hunt's summary and wall time, then the suite's scores.
# The suite and the report are left in build/mutant-hunt/.
set -euo pipefail
cd "$(dirname "$0")/.."
seed="${1:-1}"
cmake --build --preset default --target trelvik-scenario trelvik-scenario-mutants > /dev/null
export QT_QPA_PLATFORM=offscreen
out=build/mutant-hunt
rm -rf "$out" && mkdir -p "$out"
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores; seed $seed"
start=$(date +%s.%N)
code=0
build/default/mutate/trelvik-scenario-mutants --explore 3000 --guided --mutants --seed "$seed" \
  --equivalents mutate/equivalents.txt --suite "$out/suite" --jobs 2 > "$out/hunt.txt" || code=$?
end=$(date +%s.%N)
grep -v '^explore: \(cover\|mutant\)-' "$out/hunt.txt" | grep -v '^  - survived' || true
echo "hunt: $(echo "$end - $start" | bc) s (exit $code); $(ls "$out"/suite/cover-*.scn | wc -l) cover files," \
  "$(ls "$out"/suite/mutant-*.scn 2>/dev/null | wc -l) mutant files"
start=$(date +%s.%N)
code=0
./scripts/mutate.py "$out/suite" --jobs 2 --equivalents mutate/equivalents.txt --report-json "$out/report.json" > "$out/summary.txt" || code=$?
end=$(date +%s.%N)
sed -n '1,4p' "$out/summary.txt"
echo "mutation run: $(echo "$end - $start" | bc) s (exit $code); report in $out/report.json"
