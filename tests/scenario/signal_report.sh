#!/bin/sh
# signal_report.sh RUNNER: CI's time limit kills a run whose output goes to a
# log. For SIGINT, SIGTERM, SIGHUP and SIGQUIT: the verdicts printed so far
# are in the log, the JUnit report is written with them and with the file
# under way as an error "interrupted", the finished file's trace stays, the
# cut-off one leaves nothing, and the program ends as the signal would.
set -u
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 3\n' > ok.scn
printf 'wait 100000000\n' > long.scn
export QT_QPA_PLATFORM=offscreen
ulimit -c 0

fail() { echo "FAILED: $*"; cat log; exit 1; }
for case in INT:2 TERM:15 HUP:1 QUIT:3; do
  sig=${case%:*}
  rm -rf vd r.xml log
  env --default-signal=INT,QUIT "$runner" ok.scn long.scn --junit r.xml --vcd-dir vd > log 2>&1 &
  pid=$!
  # With a worker per core the two files run side by side: the signal waits for ok.scn's verdict too.
  for _ in $(seq 200); do
    [ -n "$(find vd -name 'long.vcd.*.part' 2>/dev/null)" ] && grep -q '^ok.scn:4:' log && break
    sleep 0.05
  done
  kill -$sig $pid
  wait $pid
  code=$?
  [ "$code" = $((128 + ${case#*:})) ] || fail "SIG$sig: exit $code"
  grep -q '^ok.scn:4: 153 ms: ok: expect state 3' log || fail "SIG$sig: the verdict is not in the log"
  grep -q "^long.scn:1: interrupted (SIG$sig)" log || fail "SIG$sig: no interruption in the log"
  grep -q "^2 passed, 0 failed (interrupted by SIG$sig)" log || fail "SIG$sig: no closing line"
  grep -q 'tests="3" failures="0" errors="1"' r.xml || fail "SIG$sig: the report's counts"
  grep -q "<error message=\"long.scn:1: interrupted (SIG$sig)\"" r.xml || fail "SIG$sig: the report's error"
  [ -s vd/ok.vcd ] || fail "SIG$sig: the finished file's trace is missing"
  left=$(find . -name '*.part' -o -name 'long.vcd')
  [ -z "$left" ] || fail "SIG$sig left $left"
  echo "SIG$sig: exit $code, verdicts and report written, nothing left"
done
