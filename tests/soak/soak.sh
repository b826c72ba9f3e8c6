#!/usr/bin/env bash
# A soak of the real program: starts the simulator in a real X window under
# Xvfb, drives it through the X server with random clicks, held presses,
# "Reset CPU" and the tool-bar and status-bar toggles, then checks that it is
# alive and answers, printed no sanitizer report, kept its resident memory
# within 5% of the value after warm-up, and exits cleanly when closed.
#
# usage: soak.sh [SECONDS] [PROGRAM]   (default 60 s, build/default/app/qt/trelvik)
set -euo pipefail

seconds="${1:-60}"
program="${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/default/app/qt/trelvik}"
work=$(mktemp -d)
# Leaks inside system libraries are not ours (for a sanitizer build).
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp}"
trap 'kill "${pid:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "soak: FAILED: $*"; [ -f "$work/err" ] && tail -20 "$work/err"; exit 1; }

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$program" > "$work/out" 2> "$work/err" &
pid=$!
window=$(timeout 20 xdotool search --sync --name "Trelvik - " | head -1) || fail "no window"

rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
# The panel's origin in the window: the first white row of the view, found at x 5.
panel_top() {
  import -window "$window" "$work/shot.png"
  convert "$work/shot.png" -crop 1x200+5+0 +repage txt:- |
    awk -F'[,:]' '/#FFFFFF/ && !found {print $2; found = 1}'
}
readout() {  # a checksum of the state readout's pixels
  import -window "$window" "$work/r.png"
  convert "$work/r.png" -crop 180x14+154+$((top + 329)) +repage -depth 8 rgb:- | md5sum | cut -c1-32
}
click_panel() { xdotool mousemove --window "$window" "$1" $(( top + $2 )) click 1; }

top=$(panel_top)
[ -n "$top" ] || fail "the panel was not found in the window"
inputs=("52 51" "102 51" "246 155" "246 297" "246 110" "400 297" "210 87" "5 390")
toolbar=1; statusbar=1

drive() {  # random use for $1 seconds
  local until=$(( $(date +%s) + $1 ))
  while [ "$(date +%s)" -lt "$until" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program died"
    read -r x y <<< "${inputs[$((RANDOM % ${#inputs[@]}))]}"
    case $((RANDOM % 12)) in
      0) xdotool key --window "$window" alt+v Left Return ;;  # CPU > Reset CPU
      1) xdotool key --window "$window" alt+v t; toolbar=$((1 - toolbar)); sleep 0.2; top=$(panel_top) ;;
      2) xdotool key --window "$window" alt+v s; statusbar=$((1 - statusbar)) ;;
      3) xdotool mousemove --window "$window" "$x" $((top + y)) mousedown 1 sleep 1.5 mouseup 1 ;;
      4) xdotool mousemove --window "$window" "$x" $((top + y)) click --repeat 2 --delay 80 1 ;;
      *) click_panel "$x" "$y" ;;
    esac
    sleep "0.$((RANDOM % 9 + 1))"
  done
}

warmup=$(( seconds / 6 > 5 ? seconds / 6 : 5 ))
drive "$warmup"
sleep 6   # let a pending reset finish
base=$(rss)
drive $(( seconds - warmup ))

# Home position for the checks: both bars shown, nothing pressed.
[ "$toolbar" = 1 ] || xdotool key --window "$window" alt+v t
[ "$statusbar" = 1 ] || xdotool key --window "$window" alt+v s
sleep 6
top=$(panel_top)
end=$(rss)
kill -0 "$pid" 2>/dev/null || fail "the program died"

before=$(readout)
changed=0
for _ in 1 2 3; do   # the power key answers unless a wash ignores it; try a few times
  click_panel 52 51; sleep 1.5
  [ "$(readout)" != "$before" ] && { changed=1; break; }
  sleep 6
done
[ "$changed" = 1 ] || fail "a click on the power key changed nothing"

grep -q "Sanitizer" "$work/err" && fail "a sanitizer report"
growth=$(awk -v a="$base" -v b="$end" 'BEGIN {printf "%.1f", (b - a) * 100 / a}')
echo "soak: ${seconds}s, resident memory ${base} kB after warm-up, ${end} kB at the end (${growth}%)"
# AddressSanitizer's quarantine holds freed memory back: no memory bound there.
if ldd "$program" | grep -q libasan; then
  echo "soak: built with AddressSanitizer, resident memory not bounded"
else
  awk -v g="$growth" 'BEGIN {exit !(g <= 5 && g >= -5)}' || fail "resident memory moved by ${growth}%"
fi

xdotool key --window "$window" alt+f x   # 파일 > 종료
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not exit"
wait "$pid" && rc=0 || rc=$?
[ "$rc" = 0 ] || fail "exit code $rc"
echo "soak: passed"
