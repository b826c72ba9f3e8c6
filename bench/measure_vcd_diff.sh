#!/usr/bin/env bash
# The trace comparison on two large traces: time, throughput of the two
# inputs together and peak resident memory (/usr/bin/time -v) of
# trelvik-vcd-diff on two dumps of about MB megabytes each, 32 wires and a
# counter changing every few ms, alike but for one pulse in the last ms of B;
# from files, then with B through a pipe. The two are read forward together:
# the goal is at most 64 MB of peak resident memory and 200 MB/s or more.
#
# usage: measure_vcd_diff.sh [MB] [PROGRAM]   (default 230 MB)
# KEEP_TRACES=DIR keeps the two dumps in DIR, and uses them when they are there.
set -euo pipefail

mb="${1:-230}"
program="${2:-$(cd "$(dirname "$0")/.." && pwd)/build/default/tools/trelvik-vcd-diff}"
work="${KEEP_TRACES:-$(mktemp -d)}"
[ -n "${KEEP_TRACES:-}" ] || trap 'rm -rf "$work"' EXIT

# About 10 bytes a change: "#1234567\n" now and then, "1!\n" mostly.
make_trace() {
  awk -v bytes="$((mb * 1024 * 1024))" -v pulse="$1" 'BEGIN {
    print "$timescale 1ms $end"; print "$scope module trelvik $end"
    for (i = 0; i < 32; i++) printf "$var wire 1 %c W%d $end\n", 33 + i, i
    print "$var real 64 ~ count $end"; print "$upscope $end"; print "$enddefinitions $end"
    print "#0"; for (i = 0; i < 32; i++) printf "0%c\n", 33 + i; print "r0 ~"
    size = 0; t = 0; n = 0
    while (size < bytes) {
      t += 1 + (n % 7); line = "#" t "\n"
      for (k = 0; k < 4; k++) { v = (n * 5 + k * 11) % 32; state[v] = !state[v]; line = line state[v] sprintf("%c", 33 + v) "\n" }
      line = line "r" (++n) " ~\n"; printf "%s", line; size += length(line)
    }
    if (pulse) { printf "#%d\n1!\n#%d\n0!\n", t + 1, t + 2 } else printf "#%d\n", t + 2
  }' > "$2"
}
[ -s "$work/a.vcd" ] || make_trace 0 "$work/a.vcd"
[ -s "$work/b.vcd" ] || make_trace 1 "$work/b.vcd"
bytes=$(($(stat -c %s "$work/a.vcd") + $(stat -c %s "$work/b.vcd")))
echo "two traces of $((bytes / 2 / 1048576)) MB each"

measure() {  # label, then the command
  label=$1
  shift
  /usr/bin/time -v "$@" > "$work/out.txt" 2> "$work/time.txt" || true
  awk -v label="$label" -v bytes="$bytes" -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /Maximum resident set size/ { kb = $2 }
    END { printf "%s: %.2f s, %.0f MB/s of the two inputs, peak %.1f MB resident\n", label, s, bytes / 1048576 / s, kb / 1024 }
  ' "$work/time.txt"
  head -2 "$work/out.txt"
}
measure "files" "$program" "$work/a.vcd" "$work/b.vcd" --max 3
measure "B through a pipe" sh -c 'cat "$2" | "$0" "$1" - --max 3' "$program" "$work/a.vcd" "$work/b.vcd"
