#!/bin/sh
# foreign_writers.sh DIFF OUR_TRACE: traces written by other tools at test
# time, compared by trelvik-vcd-diff. A small Verilog testbench (vectors, x
# and z, a real, nested scopes, $dumpoff) simulated in 1 ns and in 10 ps
# ticks compares the same, and against an altered copy shows four-state
# values, left-extended digits, reals and the x of $dumpoff (both x at 30 ns, apart
# again at $dumpon); sigrok-cli's copy of one of our
# traces (a line of its own before $date) matches ours on every wire; names
# that differ are paired by --map; a trace
# through GTKWave's vcd2fst and fst2vcd comes back the same. A missing tool
# skips the test (exit 77), unless CI=true, where it fails.
set -u
diff=$1 ours=$2
case $diff in /*) ;; *) diff=$(pwd)/$diff ;; esac
case $ours in /*) ;; *) ours=$(pwd)/$ours ;; esac
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAILED: $*"; exit 1; }

for tool in iverilog vvp sigrok-cli vcd2fst fst2vcd; do
  if ! command -v "$tool" > /dev/null; then
    [ "${CI:-}" = true ] && fail "$tool is missing (scripts/setup.sh installs it)"
    echo "SKIPPED: $tool is missing (scripts/setup.sh installs it)"
    exit 77
  fi
done

# testbench FILE TIMESCALE START_DATA START_TEMP LATE_CHANGE
testbench() {
  cat > "$1.v" <<VERILOG
\`timescale $2
module tb;
  reg [7:0] data;
  reg [3:0] nib;
  reg bit0;
  real temp;
  sub inner(.clk(bit0));
  initial begin
    \$dumpfile("$1.vcd");
    \$dumpvars(0, tb);
    data = $3; nib = 4'bz; bit0 = 0; temp = $4;
    #10 data = 8'h5a; bit0 = 1'bx;
    #10 $5 temp = 1e20;
    #10 \$dumpoff;
    #10 nib = 4'b1010; temp = -2.5;
    #10 \$dumpon;
    #10 bit0 = 1; nib = 4'b0x01;
    #10 \$finish;
  end
endmodule
module sub(input clk);
  reg [3:0] count = 0;
  always @(posedge clk) count <= count + 1;
endmodule
VERILOG
  iverilog -o "$1" "$1.v" && vvp "$1" > /dev/null || fail "iverilog could not simulate $1.v"
}
testbench a "1ns/1ns" "8'bxxxxxxxz" 0.2 ""
testbench b "1ns/10ps" "8'bxxxxxxxz" 0.2 ""
testbench c "1ns/10ps" "8'bxxxxxxx0" 0.25 "data[0] = 1;"

"$diff" a.vcd b.vcd > same.txt 2>&1
code=$?
[ "$code" = 0 ] && [ "$(cat same.txt)" = "the same" ] || fail "1 ns against 10 ps ticks, exit $code: $(cat same.txt)"

"$diff" a.vcd c.vcd > differ.txt 2>&1
code=$?
cat differ.txt
[ "$code" = 1 ] || fail "against the altered copy: exit $code, expected 1"
cat > expected.txt <<'TEXT'
0 ps: data[7:0] A=xxxxxxxz B=xxxxxxx0
0 ps: temp A=0.2 B=0.25
20000 ps: data[7:0] A=90 B=91
50000 ps: data[7:0] A=90 B=91
different: 4 divergences in 2 variables
TEXT
diff -u expected.txt differ.txt || fail "against the altered copy"

sigrok-cli -I vcd -i "$ours" -O vcd -o sigrok.vcd || fail "sigrok-cli could not copy $ours"
"$diff" "$ours" sigrok.vcd > sigrok.txt 2> sigrok.err
cat sigrok.txt sigrok.err
grep -q "^different: 0 divergences" sigrok.txt || fail "sigrok's copy differs on a wire"
[ "$(wc -l < sigrok.err)" = 1 ] && grep -q "^sigrok.vcd:1: skipped text outside the sections" sigrok.err ||
  fail "sigrok's line before \$date is not skipped with one warning"

# Names that differ, paired by --map, given alone or in a file.
sed 's/ data \[7:0\]/ bus [7:0]/' b.vcd > renamed.vcd
printf '# ours = theirs\ndata[7:0] = bus[7:0]\n' > names.map
for map in "data[7:0]=bus[7:0]" names.map; do
  "$diff" a.vcd renamed.vcd --map "$map" > mapped.txt 2>&1 || { cat mapped.txt; fail "--map $map: not the same"; }
done
"$diff" a.vcd renamed.vcd --map "data[7:0]=nope" > unknown.txt 2>&1
code=$?
[ "$code" = 2 ] && grep -q "renamed.vcd has no such variable" unknown.txt && grep -q "^valid names:.* bus\[7:0\]" unknown.txt ||
  { cat unknown.txt; fail "--map with an unknown name: exit $code, expected 2 and the valid names"; }

vcd2fst b.vcd b.fst > /dev/null && fst2vcd b.fst > back.vcd || fail "vcd2fst or fst2vcd failed"
"$diff" b.vcd back.vcd > back.txt 2>&1 || { cat back.txt; fail "the round trip through GTKWave's tools differs"; }
exit 0
