#!/bin/sh
# signal_cleanup.sh RUNNER: a run cut off by SIGHUP, SIGPIPE or SIGTERM ends
# as that signal would end it and leaves no temporary trace behind; started
# with SIGHUP ignored (as nohup starts it), SIGHUP stays ignored. Over the
# file size limit, a write fails with its reason and leaves nothing either.
set -u
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'wait 100000000\n' > long.scn
export QT_QPA_PLATFORM=offscreen

fail() { echo "FAILED: $*"; exit 1; }
# Waits up to 5 s for the trace's temporary file.
await_part() {
  for _ in $(seq 100); do
    [ -n "$(find . -name 'long.vcd.*.part')" ] && return 0
    sleep 0.05
  done
  fail "no temporary trace appeared"
}

for case in HUP:1 PIPE:13 TERM:15; do
  sig=${case%:*}
  "$runner" long.scn --vcd long.vcd > /dev/null 2>&1 &
  pid=$!
  await_part
  kill -$sig $pid
  wait $pid
  code=$?
  want=$((128 + ${case#*:}))
  [ "$code" = "$want" ] || fail "SIG$sig: exit $code, expected $want"
  [ -z "$(find . -name 'long.vcd*')" ] || fail "SIG$sig left $(find . -name 'long.vcd*')"
  echo "SIG$sig: exit $code, nothing left"
done

(trap '' HUP; exec "$runner" long.scn --vcd long.vcd > /dev/null 2>&1) &
pid=$!
await_part
kill -HUP $pid
sleep 0.2
kill -0 $pid 2>/dev/null || fail "an ignored SIGHUP ended the run"
[ -n "$(find . -name 'long.vcd.*.part')" ] || fail "an ignored SIGHUP removed the trace"
kill -TERM $pid
wait $pid
[ -z "$(find . -name 'long.vcd*')" ] || fail "SIGTERM after an ignored SIGHUP left a file"
echo "an ignored SIGHUP stays ignored"

# Over the file size limit the write fails (SIGXFSZ is ignored): exit 2 with
# the system's reason, and no temporary file left.
printf 'wait 5000\n' > mid.scn
(ulimit -f 8; exec "$runner" mid.scn --vcd big.vcd --vcd-var now_ms > out.txt 2>&1)
code=$?
[ "$code" = 2 ] || fail "over the file size limit: exit $code, expected 2"
grep -q 'big.vcd.*: File too large' out.txt || fail "over the file size limit: $(cat out.txt)"
[ -z "$(find . -name 'big.vcd*')" ] || fail "over the file size limit: $(find . -name 'big.vcd*') left"
echo "over the file size limit: exit 2, the reason, nothing left"

# A snapshot over the limit is not written: the closing line says so, and
# nothing of Qt is heard, not even without XDG_RUNTIME_DIR.
printf 'wait 10\nsnapshot z.png\n' > z.scn
(ulimit -f 4; exec env -u XDG_RUNTIME_DIR "$runner" z.scn > out.txt 2>&1)
code=$?
[ "$code" = 2 ] || fail "a snapshot over the limit: exit $code, expected 2"
grep -q '^0 passed, 0 failed (1 snapshot not written)$' out.txt || fail "the closing line: $(cat out.txt)"
! grep -q 'QStandardPaths' out.txt || fail "Qt was heard: $(cat out.txt)"
[ -z "$(find . -name 'z.png*')" ] || fail "a snapshot over the limit left $(find . -name 'z.png*')"
echo "a snapshot over the limit: exit 2, counted, Qt silent, nothing left"
