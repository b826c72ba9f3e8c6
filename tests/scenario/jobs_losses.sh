#!/bin/sh
# jobs_losses.sh RUNNER: with --jobs 2, nothing is lost. A worker killed
# outright loses its own file only: the files after it, a failure among
# them, are printed and reported, and the worker's temporary trace is
# removed. A signal to the whole process group interrupts the files under
# way, each once, and the verdicts before them stay. A parent killed
# outright takes its workers with it, and they leave nothing behind.
set -u
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 3\n' > ok.scn
cp ok.scn ok3.scn
printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 7\n' > bad.scn
printf 'wait 100000000\n' > long.scn
cp long.scn long2.scn
export QT_QPA_PLATFORM=offscreen
ulimit -c 0

fail() { echo "FAILED: $*"; cat log; exit 1; }
# Starts the runner as the leader of a process group of its own; its pid is $pid.
start() {
  rm -rf vd r.xml log
  setsid env --default-signal=INT,QUIT "$runner" "$@" --jobs 2 --junit r.xml --vcd-dir vd > log 2>&1 &
  pid=$!
}
# Waits up to 5 s for the temporary traces of the files named.
await_parts() {
  for _ in $(seq 100); do
    all=yes
    for name in "$@"; do
      [ -n "$(find vd -name "$name.vcd.*.part" 2>/dev/null)" ] || all=no
    done
    [ $all = yes ] && return 0
    sleep 0.05
  done
  fail "the temporary traces of $* did not appear"
}
# The worker whose open files include the temporary trace of $1.
worker_of() {
  for child in $(pgrep -P "$pid"); do
    ls -l "/proc/$child/fd" 2>/dev/null | grep -q "/$1.vcd.*part" && echo "$child"
  done
}

start ok.scn long.scn bad.scn ok3.scn
await_parts long
kill -KILL "$(worker_of long)"
wait $pid
code=$?
[ "$code" = 2 ] || fail "a dead worker: exit $code"
grep -q '^long.scn: worker died (signal 9)$' log || fail "the dead worker is not named"
grep -q '^bad.scn:4: 153 ms: FAILED' log || fail "the failure after the dead worker is lost"
grep -q '^ok3.scn:4: 153 ms: ok' log || fail "the file after the dead worker is lost"
grep -q '^5 passed, 1 failed (1 file not run)$' log || fail "the closing line"
grep -q 'testsuites name="trelvik-scenario" tests="7" failures="1" errors="1"' r.xml || fail "the report's counts"
grep -q '<error message="long.scn: worker died (signal 9)"' r.xml || fail "the report's error"
[ -s vd/bad.vcd ] && [ -s vd/ok3.vcd ] || fail "the traces after the dead worker"
[ -z "$(find . -name '*.part' -o -name long.vcd)" ] || fail "the dead worker's trace is left: $(ls -a vd)"
echo "a dead worker: its file an error, the others whole, nothing left"

for sig in INT TERM HUP QUIT INT TERM; do
  start ok.scn long.scn bad.scn long2.scn
  await_parts long long2
  kill -$sig -$pid
  wait $pid
  code=$?
  [ "$code" -gt 128 ] && [ "$(kill -l $((code - 128)))" = $sig ] || fail "SIG$sig to the group: exit $code"
  for name in long long2; do
    [ "$(grep -c "^$name.scn:1: interrupted (SIG$sig)$" log)" = 1 ] || fail "SIG$sig: $name.scn is not interrupted once"
  done
  grep -q '^bad.scn:4: 153 ms: FAILED' log || fail "SIG$sig: the failure before the signal is lost"
  grep -q "^3 passed, 1 failed (interrupted by SIG$sig)$" log || fail "SIG$sig: the closing line"
  grep -q 'tests="6" failures="1" errors="2"' r.xml || fail "SIG$sig: the report's counts"
  [ -z "$(find . -name '*.part')" ] || fail "SIG$sig left a temporary file"
done
echo "a signal to the group: every file under way interrupted once, the verdicts before it kept"

start ok.scn long.scn long2.scn
await_parts long long2
kill -KILL $pid
for _ in $(seq 100); do
  pgrep -s $pid > /dev/null || break
  sleep 0.05
done
pgrep -s $pid > /dev/null && fail "the workers outlive their parent by 5 s: $(pgrep -s $pid)"
[ -z "$(find . -name '*.part')" ] || fail "the workers of a killed parent left $(find . -name '*.part')"
echo "a killed parent: its workers end with it and leave nothing"
