#!/bin/sh
# explore_interrupt.sh RUNNER: --explore and --guided cut by SIGINT print
# their summary so far (uses played; for --guided also the uses kept and the
# coverage) and end as the signal would; --resume goes on from the guided
# run's suite with the uses it kept.
set -u
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
ulimit -c 0

fail() { echo "FAILED: $*"; cat log; exit 1; }
interrupt() {  # interrupt WHEN ARGS...: starts the runner, waits until the test WHEN holds, sends SIGINT
  when=$1
  shift
  env --default-signal=INT "$runner" "$@" > log 2> err &
  pid=$!
  for _ in $(seq 3600); do  # up to 3 minutes: a round of the sanitizers' builds is slow
    sh -c "$when" && break
    sleep 0.05
  done
  kill -INT $pid
  wait $pid
}

interrupt 'test -e s/guided-progress' --explore 3000 --guided --suite s --jobs 2
code=$?
[ "$code" = 130 ] || fail "--guided: exit $code"
grep -q '^explore: [0-9]* uses from seed 1, [0-9]* kept in s (interrupted; --resume s goes on)$' log ||
  fail "--guided: no summary"
grep -q '^coverage: states [0-9]*/10, transitions' log || fail "--guided: no coverage"
kept=$(sed -n 's/^kept //p' s/guided-progress)
played=$(sed -n 's/^played //p' s/guided-progress)
"$runner" --explore $((played + 16)) --guided --resume s --jobs 2 > log 2> err
code=$?
[ "$code" = 1 ] || [ "$code" = 0 ] || fail "--resume: exit $code"
grep -q "^explore: going on from s after $played uses from seed 1, $kept kept$" log || fail "--resume: not from the note"
grep -q "^explore: $((played + 16)) uses from seed 1" log || grep -q '^coverage: states 10/10' log ||
  fail "--resume: not to the end"

interrupt 'sleep 1' --explore 100000 --out x --jobs 2
code=$?
[ "$code" = 130 ] || fail "--explore: exit $code"
grep -q '^explore: [0-9]* runs from seed 1, no invariant broken (interrupted)$' log || fail "--explore: no summary"
echo "interrupted runs summed up, the guided one resumed"
