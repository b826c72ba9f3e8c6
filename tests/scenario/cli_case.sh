#!/bin/sh
# cli_case.sh PROGRAM EXAMPLES EXIT FRAGMENT CHECK ARGS: runs PROGRAM with ARGS
# (split by the shell) in a scratch folder of fixtures, and checks that it
# exits EXIT, that its output shows FRAGMENT, that the shell test CHECK holds
# afterwards (":" for none), that no temporary output was left behind, and,
# for an exit 2, that no fixture was changed or replaced.
#
# Fixtures: ok.scn (holds), wrong.scn (fails), long.scn, mid.scn, z.scn (a
# snapshot z.png), twice.scn (z.png twice), snap.scn (a
# snapshot into ro/), dir/, empty.scn, comments.scn, binary.scn, latin1.scn,
# fifo, link.vcd (a symbolic link to ok.scn), kept.vcd, ro/ (not writable),
# trace.vcd (a small trace), other.vcd (that trace with its edge 2 ms later
# and one more variable), bad.vcd (a trace with a line that does not read),
# huge.trace (a sparse file of 3 GiB), base/ (baselines: ok.vcd not one of
# ours, wrong.vcd a directory, z.vcd a small one of ours with disk_retry_ls,
# y.vcd the same for y.scn, a wait alone),
# pend/ok.new.vcd (a pending trace not ours); with --merge-coverage, c1.json and
# c2.json (the coverage of ok.scn, twice). As root the program runs as nobody, so that ro/
# is really not writable.
set -u
program=$1 examples=$2 want=$3 fragment=$4 check=$5 args=$6

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$examples/power_on_off.scn" ok.scn
printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 7\nexpect lamp red on\n' > wrong.scn
printf 'wait 100000000\n' > long.scn
printf 'wait 200000\n' > mid.scn
printf 'wait 10\nsnapshot ro/shot.png\n' > snap.scn
printf 'wait 10\nsnapshot z.png\n' > z.scn
printf 'snapshot z.png\nwait 10\nsnapshot ./z.png\n' > twice.scn
mkdir dir ro
: > empty.scn
printf '# only a comment\n\n   # and another\n' > comments.scn
printf '\177ELF\002\001\001\000\000\000' > binary.scn
printf 'wait 10\n# caf\351\n' > latin1.scn
mkfifo fifo
ln -s ok.scn link.vcd
printf 'an older trace\n' > kept.vcd
printf '$timescale 1ms $end\n$scope module trelvik $end\n$var wire 1 ! RED_LED $end\n$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n0!\n$end\n#5\n1!\n#9\n' > trace.vcd
sed -e 's/^#5$/#7/' -e 's/^\$upscope/$var wire 1 " GREEN_LED $end\n$upscope/' trace.vcd > other.vcd
sed 's/^1!$/nope/' trace.vcd > bad.vcd
truncate -s 3G huge.trace
mkdir base pend base/wrong.vcd
cp trace.vcd base/ok.vcd
cp trace.vcd pend/ok.new.vcd
printf '$version trelvik-scenario 1.0.0.1 $end\n$timescale 1ms $end\n$scope module trelvik $end\n$scope module firmware $end\n$var real 64 ! state_number $end\n$var real 64 " disk_retry_ls $end\n$upscope $end\n$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\nr1 !\nr0 "\n$end\n#10\n' > base/z.vcd
printf 'wait 10\n' > y.scn
cp base/z.vcd base/y.vcd
case "$args" in *--merge-coverage*)  # two shards' coverage reports, c1.json and c2.json
  "$program" ok.scn --quiet --coverage-json c1.json > /dev/null &&
  "$program" ok.scn --quiet --coverage-json c2.json > /dev/null || exit 1 ;;
esac
chmod 555 ro
chmod 777 . base pend
fixtures=$(find . -type f -o -type l -o -type p | sort)
listing() { ls -ld --time-style=+%s.%N $fixtures | awk '{print $1, $6, $7}'; cat ./*.scn ./*.vcd 2>/dev/null | md5sum; }
before=$(listing)

as_user=""
mkdir -m 700 .runtime
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  as_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
  chown 65534 .runtime
fi
eval "set -- $args"
HOME=$work QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/.runtime $as_user "$program" "$@" > out.txt 2>&1
code=$?
cat out.txt

fail() { echo "FAILED: $*"; exit 1; }
[ "$code" = "$want" ] || fail "exit $code, expected $want"
[ -z "$fragment" ] || grep -qF -- "$fragment" out.txt || fail "the output does not show: $fragment"
eval "$check" || fail "afterwards, this does not hold: $check"
left=$(find . -name '*.part')
[ -z "$left" ] || fail "temporary files left behind: $left"
if [ "$want" = 2 ]; then
  after=$(listing)
  [ "$before" = "$after" ] || fail "a refusal changed a fixture: $before / $after"
fi
exit 0
