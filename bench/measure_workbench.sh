#!/usr/bin/env bash
# The workbench's figures, measured in real X windows under Xvfb:
#  1. CPU of one core at x1, idle in standby, the workbench and trelvik side
#     by side over the same IDLE seconds;
#  2. the virtual clock against the wall clock at x1 over those seconds;
#  3. CPU while paused;
#  4. as fast as possible: speed over whole processing cycles and the frames
#     painted a second meanwhile.
# Every workbench run holds its trace against a baseline of the same run
# recorded by the runner (standby for two minutes; the five cycles), so the
# comparison runs all the way without finding a divergence to pause at.
# The workbench reports its clock and frames through TRELVIK_WORKBENCH_MEASURE
# (seconds of wall time, or the end of a replayed scenario).
#
# usage: measure_workbench.sh [IDLE_SECONDS] [BUILD_DIR]   (default 60 s, build/default)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
idle="${1:-60}"
build="${2:-$root/build/default}"
workbench="$build/workbench/trelvik-workbench"
trelvik="$build/app/qt/trelvik"
work=$(mktemp -d)
trap 'kill ${pids:-} "${xvfb:-0}" 2> /dev/null || true; rm -rf "$work"' EXIT

display=":$((300 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display" QT_QPA_PLATFORM=xcb
# The default layout, and nothing of the user's settings read or written.
export XDG_CONFIG_HOME="$work/config"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ms() { date +%s%3N; }
percent() { awk -v c="$1" -v t="$2" -v k="$ticks" 'BEGIN {printf "%.2f", c / k * 100000 / t}'; }

# Power on, then stand by for good.
cat > "$work/standby.scn" << 'SCN'
wait 1200
click 전원
run-until state 파워 온 대기 within 2000
wait 1000000000
SCN
# Power on, then five whole processing cycles: open and close the cover in
# standby, run until standby again and let the mechanisms home.
{
  printf 'wait 1200\nclick 전원\nrun-until state 파워 온 대기 within 2000\n'
  for _ in 1 2 3 4 5; do
    printf 'click 커버\nrun-until state 커버 열림 within 500\nwait 1000\nclick 커버\n'
    printf 'run-until state 워싱 within 500\nrun-until state 파워 온 대기 within 300000\nwait 6000\n'
  done
} > "$work/cycles.scn"

sed 's/^wait 1000000000$/wait 120000/' "$work/standby.scn" > "$work/standby_base.scn"
for run in standby_base cycles; do
  "$build/scenario/trelvik-scenario" --vcd "$work/$run.vcd" "$work/$run.scn" > /dev/null 2>&1 || true
  test -s "$work/$run.vcd" || { echo "the baseline $run.vcd was not recorded" >&2; exit 1; }
done

echo "== x1, idle in standby, side by side, over $idle s"
"$trelvik" > /dev/null 2> "$work/trelvik.err" &
trelvik_pid=$!
pids="$trelvik_pid"
sleep 2
xdotool mousemove 52 $((51 + 48)) mousedown 1 sleep 0.12 mouseup 1   # trelvik: power on
TRELVIK_WORKBENCH_MEASURE=$((idle + 4)) "$workbench" --baseline "$work/standby_base.vcd" --speed 1 "$work/standby.scn" > "$work/x1.out" 2> "$work/wb.err" &
wb_pid=$!
pids="$trelvik_pid $wb_pid"
sleep 3
t0=$(now_ms); w0=$(cpu "$wb_pid"); s0=$(cpu "$trelvik_pid")
sleep "$idle"
t1=$(now_ms); w1=$(cpu "$wb_pid"); s1=$(cpu "$trelvik_pid")
echo "workbench x1 idle in standby: $(percent $((w1 - w0)) $((t1 - t0))) % of one core"
echo "trelvik idle in standby:      $(percent $((s1 - s0)) $((t1 - t0))) % of one core"
wait "$wb_pid" || true
kill "$trelvik_pid" 2> /dev/null || true
wait "$trelvik_pid" 2> /dev/null || true
awk '/^measure:/ {
  for (i = 2; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
  printf "virtual clock at x1: %.0f virtual ms in %.0f wall ms: %+.3f %%\n",
         v["virtual_ms"], v["wall_ms"], (v["virtual_ms"] / v["wall_ms"] - 1) * 100 }' "$work/x1.out"

echo "== paused"
"$workbench" --baseline "$work/standby_base.vcd" --paused > /dev/null 2>> "$work/wb.err" &
wb_pid=$!
pids="$wb_pid"
sleep 3
t0=$(now_ms); w0=$(cpu "$wb_pid")
sleep 20
t1=$(now_ms); w1=$(cpu "$wb_pid")
echo "workbench paused: $(percent $((w1 - w0)) $((t1 - t0))) % of one core"
kill "$wb_pid"; wait "$wb_pid" 2> /dev/null || true

echo "== as fast as possible, five whole cycles"
TRELVIK_WORKBENCH_MEASURE=120 "$workbench" --baseline "$work/cycles.vcd" --speed max "$work/cycles.scn" > "$work/max.out" 2>> "$work/wb.err" &
wb_pid=$!
pids="$wb_pid"
wait "$wb_pid" || true
awk '/^measure:/ {
  for (i = 2; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
  printf "as fast as possible: %.0f virtual s in %.0f ms: %.0f x real time, %d frames, %.1f frames a second (CPU %.0f ms)\n",
         v["virtual_ms"] / 1000, v["wall_ms"], v["speed"], v["frames"], v["fps"], v["cpu_ms"] }' "$work/max.out"
echo "(machine: $(nproc) cores, $(awk -F: '/model name/ {print $2; exit}' /proc/cpuinfo | sed 's/^ *//'); load $(cut -d' ' -f1-3 /proc/loadavg))"
