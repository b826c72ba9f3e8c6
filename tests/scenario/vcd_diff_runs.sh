#!/bin/sh
# vcd_diff_runs.sh RUNNER DIFF: the runner writes the trace of the start of a
# cycle twice as it is and once with the disk motor jammed; the diff tool
# finds the two clean runs the same (exit 0) and the jammed one different
# (exit 1), first where the disk should have left its middle position.
set -u
runner=$1 diff=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAILED: $*"; exit 1; }

cat > clean.scn <<'SCN'
wait 50
click power
run-until state 3 within 1000
click cover
run-until state 4 within 500
click cover
run-until state 5 within 500
wait 8000
SCN
sed 's/^click power$/fault motor disk jammed\nclick power/' clean.scn > jammed.scn
for run in clean:a clean:b jammed:c; do
  "$runner" "${run%%:*}.scn" --quiet --vcd "${run#*:}.vcd" > /dev/null || fail "the run of ${run%%:*}.scn failed"
done

"$diff" a.vcd b.vcd > same.txt
code=$?
cat same.txt
[ "$code" = 0 ] || fail "two clean runs: exit $code, expected 0"
[ "$(cat same.txt)" = "the same" ] || fail "two clean runs do not compare the same"

"$diff" a.vcd c.vcd --max 3 > differ.txt
code=$?
cat differ.txt
[ "$code" = 1 ] || fail "a clean run against a jammed one: exit $code, expected 1"
[ "$(head -1 differ.txt)" = "400 ms: disk_position A=48 B=50" ] || fail "the first divergence is not the disk at 400 ms"
[ "$(grep -c ' ms: ' differ.txt)" = 3 ] || fail "--max 3 did not cut the list at 3"
exit 0
