#!/usr/bin/env bash
# Smoke test of the workbench in a real X window: starts it under Xvfb with
# the xcb platform, checks that the panel and the docks are painted, that
# the clock runs and that Space stops and restarts it, that the P key holds
# the power key (the state readout changes), and that Ctrl+Q, asking about
# the unsaved click first, ends it cleanly.
#
# usage: xvfb_smoke.sh [PROGRAM] [SCREENSHOT]
#   PROGRAM     default build/default/workbench/trelvik-workbench
#   SCREENSHOT  where to keep the window's picture (default: a temporary file)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/default/workbench/trelvik-workbench}"
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"

# Runs itself once more inside a fresh X server.
source "$root/tests/support/xvfb_session.sh"
xvfb_session 1600x1000x24 "$0" "$program" "${2:-}"
shot="${2:-$work/window.png}"

# Its settings go to the scratch folder, never to the user's.
XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb "$program" > "$work/out" 2> "$work/err" &
pid=$!
timeout 20 xdotool search --sync --name "^Trelvik 워크벤치$" > /dev/null ||
  fail "no window captioned \"Trelvik 워크벤치\""
sleep 1   # the window as it stands once shown
window=$(xdotool search --name "^Trelvik 워크벤치$" | tail -1)
xdotool windowfocus --sync "$window" 2> /dev/null || true

import -window "$window" "$shot"
colours=$(convert "$shot" -format %k info:)
[ "$colours" -gt 40 ] || fail "the window looks blank ($colours colours)"

# The time bar's strip (clock and speed achieved): moving while the clock runs.
bar() {
  import -window "$window" "$work/b.png"
  convert "$work/b.png" -crop 900x30+0+25 +repage -depth 8 rgb:- | md5sum | cut -c1-32
}
one=$(bar); sleep 0.6; two=$(bar)
[ "$one" != "$two" ] || fail "the clock does not run at x1"
xdotool key space
sleep 0.6
one=$(bar); sleep 0.6; two=$(bar)
[ "$one" = "$two" ] || fail "Space did not pause the clock"
xdotool key space
sleep 0.3

# P held a fifth of a second: power-off to standby, seen in the whole window.
before=$(import -window "$window" -depth 8 rgb:- | md5sum)
xdotool keydown p sleep 0.2 keyup p
changed=0
for _ in $(seq 20); do
  sleep 0.1
  [ "$(import -window "$window" -depth 8 rgb:- | md5sum)" != "$before" ] && { changed=1; break; }
done
[ "$changed" = 1 ] || fail "nothing changed after the power key"

# The power key's click is unsaved work: Ctrl+Q asks first; "버리기" (Alt+D) ends it.
xdotool key ctrl+q
dialog=$(timeout 10 xdotool search --sync --name "^종료$" | tail -1) ||
  fail "Ctrl+Q did not ask about the unsaved session"
xdotool windowfocus --sync "$dialog" 2> /dev/null || true
sleep 0.3
xdotool key alt+d 2> /dev/null || true  # the window may be gone before the key comes up
for _ in $(seq 50); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "the workbench did not end within 5 s of Ctrl+Q"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" = 0 ] || fail "exit status $rc"
grep -q "Sanitizer" "$work/err" && fail "a sanitizer report"
[ -s "$work/config/trelvik/trelvik-workbench.conf" ] || fail "the layout was not kept"
echo "xvfb_smoke: passed ($colours colours, clock runs and pauses, clean exit)"
