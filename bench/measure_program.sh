#!/usr/bin/env bash
# Whole-program figures of the real simulator in an X window under Xvfb:
# time from start to the first painted frame, CPU use idle in standby and over
# a whole processing cycle, and peak resident memory.
#
# usage: measure_program.sh [IDLE_SECONDS] [PROGRAM]   (default 60 s)
set -euo pipefail

idle="${1:-60}"
program="${2:-$(cd "$(dirname "$0")/.." && pwd)/build/default/app/qt/trelvik}"
work=$(mktemp -d)
trap 'kill "${pid:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

display=":$((200 + RANDOM % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
now_ms() { date +%s%3N; }

# Start to first frame: until the window shows the panel's olive hints picture.
start=$(now_ms)
QT_QPA_PLATFORM=xcb "$program" > /dev/null 2> "$work/err" &
pid=$!
frame=""
for _ in $(seq 400); do
  if import -window root -crop 1x1+142+60 +repage -depth 8 txt:- 2> /dev/null | grep '#BDBD00' > /dev/null; then
    frame=$(( $(now_ms) - start )); break
  fi
  sleep 0.005
done
window=$(xdotool search --name "Trelvik - " | head -1)
echo "start to first painted frame: ${frame:-not seen} ms (includes one screen grab, about 10 ms)"

click() { xdotool mousemove "$1" "$2" mousedown 1 sleep 0.12 mouseup 1; }
top=48
sleep 1
click 52 $((51 + top))   # power on: standby
sleep 1
c0=$(cpu); t0=$(now_ms)
sleep "$idle"
c1=$(cpu); t1=$(now_ms)
awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v k="$ticks" \
  'BEGIN {printf "CPU idle in standby over %.0f s: %.2f %% of one core\n", t / 1000, c / k * 100000 / t}'

click 246 $((155 + top)); sleep 1; click 246 $((155 + top))   # open and close the cover: the cycle
c0=$(cpu); t0=$(now_ms)
sleep 145   # washing, cutting, drying and discharge take about 141 s from the middle positions
c1=$(cpu); t1=$(now_ms)
awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) -v k="$ticks" \
  'BEGIN {printf "CPU over a whole processing cycle (%.0f s): %.2f %% of one core\n", t / 1000, c / k * 100000 / t}'
echo "peak resident memory: $(awk '/VmHWM/ {print $2}' "/proc/$pid/status") kB"
xdotool key --window "$window" alt+f x
wait "$pid" || true
