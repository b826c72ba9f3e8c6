#!/bin/sh
# jobs_identical.sh RUNNER EXAMPLES: the same calls with --jobs 1 and --jobs 2
# give the same stdout, stderr, exit code and files (a JUnit report's time
# and timestamp aside): the example files with a failing and a refused one
# among them, their traces, coverage and report; a small --explore; and a
# small guided exploration's suite.
set -u
runner=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }
# Under LeakSanitizer the process that drew a snapshot with Qt lists the
# suppressions it used on stderr: the program's own output is what is compared.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0"

printf 'wait 50\nclick power\nrun-until state 3 within 1000\nexpect state 7\n' > wrong.scn
: > empty.scn
for j in 1 2; do
  mkdir "j$j"
  "$runner" "$examples"/*.scn wrong.scn empty.scn --coverage --jobs $j --vcd-dir "j$j/vcd" \
    --junit "j$j/report.xml" --coverage-json "j$j/coverage.json" > "j$j/stdout" 2> "j$j/stderr"
  echo $? > "j$j/code"
  sed -e 's/ time="[0-9.]*"//g' -e 's/ timestamp="[0-9T:-]*"//g' "j$j/report.xml" > "j$j/report.plain"
  rm "j$j/report.xml"
  "$runner" --explore 24 --seed 40 --jobs $j --out "j$j/explore" > "j$j/explore.out" 2> /dev/null
  echo $? >> "j$j/code"
  "$runner" --explore 24 --seed 2 --guided --suite "j$j/suite" --jobs $j 2> /dev/null |
    sed "s|j$j/suite|SUITE|" > "j$j/guided.out"
done
test "$(cat j1/code)" = "$(printf '2\n0')" || fail "exit codes: $(cat j1/code)"
grep -q '(1 file not run)' j1/stdout || fail "the refused file is not counted"
test -s j1/vcd/whole_cycle.vcd || fail "no trace written"
ls j1/suite/cover-001.scn > /dev/null || fail "no suite written"
diff -r j1 j2 || fail "--jobs 1 and --jobs 2 differ"
echo "--jobs 1 and --jobs 2 agree: $(ls j1/vcd | wc -l) traces, $(ls j1/suite | wc -l) suite files"
