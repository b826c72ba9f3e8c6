#!/usr/bin/env bash
# The trace comparison on two large traces: time and peak resident memory of
# trelvik-vcd-diff on two dumps of about MB megabytes each, 32 wires and a
# counter changing every few ms, alike but for one pulse in the last ms of B.
# The work should grow with the changes, not with the time they span.
#
# usage: measure_vcd_diff.sh [MB] [PROGRAM]   (default 256 MB)
set -euo pipefail

mb="${1:-256}"
program="${2:-$(cd "$(dirname "$0")/.." && pwd)/build/default/tools/trelvik-vcd-diff}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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
make_trace 0 "$work/a.vcd"
make_trace 1 "$work/b.vcd"
ls -l "$work"/*.vcd | awk '{printf "%s: %d MB\n", $9, $5 / 1048576}'

/usr/bin/time -f "trelvik-vcd-diff: %e s, peak %M KB resident" "$program" "$work/a.vcd" "$work/b.vcd" --max 3 || true
