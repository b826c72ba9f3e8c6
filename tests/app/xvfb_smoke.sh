#!/usr/bin/env bash
# Smoke test of the real program in a real X window: starts it under Xvfb with
# the xcb platform, waits for its window, checks that the panel is painted,
# presses the power key and lets go far outside the window (the release must
# still reach the key, or the firmware would wait for it for ever), then
# closes the window through 파일 > 종료 and checks a clean exit.
#
# usage: xvfb_smoke.sh [PROGRAM] [SCREENSHOT]
#   PROGRAM     default build/default/app/qt/trelvik
#   SCREENSHOT  where to keep the window's picture (default: a temporary file)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/default/app/qt/trelvik}"
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"

# Runs itself once more inside a fresh X server.
source "$root/tests/support/xvfb_session.sh"
xvfb_session 800x600x24 "$0" "$program" "${2:-}"
shot="${2:-$work/window.png}"

QT_QPA_PLATFORM=xcb "$program" > "$work/out" 2> "$work/err" &
pid=$!
window=$(timeout 20 xdotool search --sync --name "Trelvik - 음식물처리기 Simulator" | head -1) ||
  fail "no window captioned \"Trelvik - 음식물처리기 Simulator\""
sleep 1   # the first refreshes

# The picture: the whole window, painted (many colours), with a white panel.
import -window "$window" "$shot"
colours=$(convert "$shot" -format %k info:)
[ "$colours" -gt 20 ] || fail "the window looks blank ($colours colours)"
size=$(convert "$shot" -format "%wx%h" info:)
[ "$size" = 500x500 ] || fail "the window is $size, not 500x500"

# The panel's top in the window: the first white row at x 5, below the bars.
top=$(convert "$shot" -crop 1x200+5+0 +repage txt:- | awk -F'[,:]' '/#FFFFFF/ && !found {print $2; found = 1}')
[ -n "$top" ] || fail "no panel in the window"
readout() {  # a checksum of the state readout's pixels
  import -window "$window" "$work/r.png"
  convert "$work/r.png" -crop 180x14+154+$((top + 329)) +repage -depth 8 rgb:- | md5sum | cut -c1-32
}

# Power key: pressed on the key, released at the far corner of the screen.
before=$(readout)
xdotool mousemove --window "$window" 52 $((top + 51)) mousedown 1 sleep 0.2 \
  mousemove 795 595 sleep 0.2 mouseup 1
changed=0
for _ in $(seq 20); do
  sleep 0.1
  [ "$(readout)" != "$before" ] && { changed=1; break; }
done
[ "$changed" = 1 ] || fail "a press on the power key released outside the window changed nothing"

# 파일(&F) > 종료(&X); the stop of a firmware busy in its state is bounded (about 5 s).
xdotool windowfocus --sync "$window" 2> /dev/null || true
xdotool key --window "$window" alt+f x
for _ in $(seq 150); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "the program did not end within 15 s of 종료"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" = 0 ] || fail "exit status $rc"
grep -q "Sanitizer" "$work/err" && fail "a sanitizer report"
echo "xvfb_smoke: passed (window 500 x 500, $colours colours, clean exit)"
