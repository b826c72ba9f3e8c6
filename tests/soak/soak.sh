#!/usr/bin/env bash
# A soak of the real program: starts the simulator in a real X window under
# Xvfb, drives it through the X server with random clicks, held presses,
# "Reset CPU" and the tool-bar and status-bar toggles, then checks that it is
# alive and shows a press, printed no sanitizer report, kept its resident memory
# within 5% of the value after warm-up, and exits cleanly when closed.
#
# usage: soak.sh [SECONDS] [PROGRAM]   (default 60 s, build/default/app/qt/trelvik)
set -euo pipefail

seconds="${1:-60}"
program="${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/default/app/qt/trelvik}"
# Leaks inside system libraries are not ours (for a sanitizer build).
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp}"
work=""
trap 'kill "${pid:-0}" 2>/dev/null || true; [ -n "$work" ] && rm -rf "$work"' EXIT

fail() { echo "soak: FAILED: $*"; [ -f "$work/err" ] && tail -20 "$work/err"; exit 1; }

# Runs itself once more inside a fresh X server on a free display.
if [ -z "${TRELVIK_SOAK_IN_XVFB:-}" ]; then
  export TRELVIK_SOAK_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 800x600x24 -nolisten tcp" "$0" "$seconds" "$program"
fi

work=$(mktemp -d)
QT_QPA_PLATFORM=xcb "$program" > "$work/out" 2> "$work/err" &
pid=$!
window=$(timeout 20 xdotool search --sync --name "Trelvik - " | head -1) || fail "no window"
# No window manager here: the keys of the menus reach the window only once it has the focus.
xdotool windowfocus --sync "$window" 2> /dev/null || true

rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
# The panel's origin in the window: the first white row of the view, found at x 5.
panel_top() {
  import -window "$window" "$work/shot.png"
  convert "$work/shot.png" -crop 1x200+5+0 +repage txt:- |
    awk -F'[,:]' '/#FFFFFF/ && !found {print $2; found = 1}'
}
key_picture() {  # a checksum of the power key's pixels
  import -window "$window" "$work/k.png"
  convert "$work/k.png" -crop 24x23+40+$((top + 40)) +repage -depth 8 rgb:- | md5sum | cut -c1-32
}
# A click held for 0.1 s, as a hand clicks: the firmware polls its keys every few ms.
click_panel() { xdotool mousemove --window "$window" "$1" $(( top + $2 )) mousedown 1 sleep 0.1 mouseup 1; }

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

# Whether it answers: a held press on the power key shows the key pressed. The
# firmware's answer to the key depends on the state the random use left (a wash
# or an open cover ignores it), the key's own picture does not.
xdotool key --window "$window" Escape Escape   # a menu left open would take the press
before=$(key_picture)
xdotool mousemove --window "$window" 52 $((top + 51)) mousedown 1
pressed=0
for _ in $(seq 30); do
  sleep 0.1
  [ "$(key_picture)" != "$before" ] && { pressed=1; break; }
done
xdotool mouseup 1
[ "$pressed" = 1 ] || fail "a press on the power key did not show"

grep -q "Sanitizer" "$work/err" && fail "a sanitizer report"
growth=$(awk -v a="$base" -v b="$end" 'BEGIN {printf "%.1f", (b - a) * 100 / a}')
echo "soak: ${seconds}s, resident memory ${base} kB after warm-up, ${end} kB at the end (${growth}%)"
# AddressSanitizer's quarantine holds freed memory back: no memory bound there.
if ldd "$program" | grep libasan > /dev/null; then  # grep -q would cut ldd off: SIGPIPE under pipefail
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
