#!/bin/sh
# stdio_and_names.sh RUNNER: verdicts that cannot be written (a full disk,
# a closed stdout) end with exit 2 and the reason; a scenario read from a
# pipe (/dev/stdin, a process substitution) runs; a target with the longest
# name the file system takes is written, and a longer one is refused with
# that reason before anything runs.
set -u
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 3\n' > ok.scn
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAILED: $*"; cat err 2>/dev/null; exit 1; }

"$runner" ok.scn > /dev/full 2> err
code=$?
[ "$code" = 2 ] || fail "to a full disk: exit $code"
grep -q 'cannot write the output: No space left on device' err || fail "to a full disk: no reason"
"$runner" ok.scn >&- 2> err
code=$?
[ "$code" = 2 ] || fail "to a closed stdout: exit $code"
grep -q 'cannot write the output: Bad file descriptor' err || fail "to a closed stdout: no reason"
echo "lost output: exit 2 with the reason"

cat ok.scn | "$runner" /dev/stdin > out 2> err || fail "from a pipe: exit $?"
grep -q '^/dev/stdin:4: 153 ms: ok' out || fail "from a pipe: $(cat out)"
bash -c '"$0" <(cat ok.scn)' "$runner" > out 2> err || fail "from a process substitution: exit $?"
grep -q '^2 passed, 0 failed$' out || fail "from a process substitution: $(cat out)"
echo "a scenario through a pipe runs"

longest=$(getconf NAME_MAX .)
name=$(printf "%$((longest - 4))s" | tr ' ' n).vcd
"$runner" ok.scn --vcd "$name" > out 2> err || fail "the longest name: exit $?"
[ -s "$name" ] || fail "the longest name is not written"
"$runner" ok.scn --vcd "x$name" > out 2> err
code=$?
[ "$code" = 2 ] || fail "a name too long: exit $code"
grep -q "the name is longer than the $longest bytes a name may have there" err || fail "a name too long: $(cat err)"
[ -z "$(find . -name '*.part')" ] || fail "a temporary file is left"
echo "a name of $longest bytes is written, a longer one refused with the reason"
