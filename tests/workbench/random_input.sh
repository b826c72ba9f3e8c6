#!/usr/bin/env bash
# Random input to the real workbench window under Xvfb: clicks anywhere (menus,
# docks, tool buttons, the panel, whatever dialog is open), held presses,
# keys, shortcuts and Escape, the program started again whenever it quits;
# first over a full trace ring shown whole.
# It passes when the program never dies of a signal or ends with an error,
# and prints nothing on stderr: no sanitizer report, no Qt warning.
#
# Everything runs in a throw-away home, working folder and XDG folders, so a
# click in a file dialog can touch nothing of the user's.
#
# usage: random_input.sh [SECONDS] [PROGRAM] [SEED]
#   SECONDS  default 60
#   PROGRAM  default build/asan/workbench/trelvik-workbench
#   SEED     for bash's RANDOM, to play a run again (default: from the clock)
set -euo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
program="${2:-$root/build/asan/workbench/trelvik-workbench}"
program="$(cd "$(dirname "$program")" && pwd)/$(basename "$program")"
seed="${3:-$(date +%s)}"
# Leaks inside system libraries are not ours (for a sanitizer build); the
# count of those suppressed is no report.
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}:print_suppressions=0"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"

source "$root/tests/support/xvfb_session.sh"
xvfb_session 1600x1000x24 "$0" "$seconds" "$program" "$seed"
fail() {
  echo "random_input: FAILED: $*"
  [ -f "$work/err" ] && tail -30 "$work/err"
  exit 1
}

# The throw-away places.
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" "$work/cwd"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work/cwd"

RANDOM=$seed
starts=0
actions=0

start() {
  QT_QPA_PLATFORM=xcb "$program" "$@" >> "$work/out" 2>> "$work/err" &
  pid=$!
  starts=$((starts + 1))
  window=$(timeout 60 xdotool search --sync --name "^Trelvik 워크벤치$" | tail -1) || fail "no window (start $starts)"
  xdotool windowfocus --sync "$window" 2> /dev/null || true
}

# The program ended: by the user's quit (exit 0), or it failed.
ended() {
  local rc=0
  wait "$pid" || rc=$?
  pid=
  [ "$rc" = 0 ] || fail "exit status $rc after $actions actions (seed $seed)"
}

keys=(Escape Escape Escape Return space Tab F1 F2 F3 F4 F10 shift+F10 F11 End Left Right shift+Left plus minus
  ctrl+1 ctrl+2 ctrl+3 ctrl+4 ctrl+5 ctrl+6 ctrl+r ctrl+n ctrl+o ctrl+s ctrl+p ctrl+e ctrl+q ctrl+equal ctrl+minus
  ctrl+0 alt+f alt+t alt+u alt+v alt+h Down Up alt+d alt+s
  b m f d ctrl+g ctrl+u ctrl+b F5 Delete alt+Up alt+Down ctrl+Left ctrl+Right)
held=(p w c d)

act() {
  local x=$((RANDOM % 1560)) y=$((RANDOM % 960))
  case $((RANDOM % 10)) in
    0 | 1 | 2) xdotool mousemove "$x" "$y" click 1 ;;
    3) xdotool mousemove "$x" "$y" mousedown 1 sleep "0.$((RANDOM % 9))" mouseup 1 ;;
    4) xdotool mousemove "$x" "$y" click --repeat 2 --delay 60 1 ;;
    5) xdotool mousemove "$x" "$y" click 3 ;;
    6) xdotool keydown "${held[$((RANDOM % ${#held[@]}))]}" sleep 0.2 keyup p keyup w keyup c keyup d ;;
    *) xdotool key "${keys[$((RANDOM % ${#keys[@]}))]}" ;;
  esac
  actions=$((actions + 1))
}

# The first start runs as fast as it can with a variable that changes every
# ms traced, then shows the whole trace: the ring fills, and the clicks land
# on a trace of far more than 32k changes in view.
until=$(($(date +%s) + seconds))
start --speed max --trace now_ms
sleep 3
xdotool key alt+v sleep 0.3 key f 2> /dev/null || true
while [ "$(date +%s)" -lt "$until" ]; do
  if ! kill -0 "$pid" 2> /dev/null; then
    ended
    start
  fi
  act 2> /dev/null || true   # a window gone under the pointer
  sleep "0.0$((RANDOM % 10))"
  if [ -s "$work/err" ]; then
    fail "stderr after $actions actions (seed $seed)"
  fi
done

# Quit as a user would: Escape out of each dialog or menu on top, Ctrl+Q in
# the window, and leave unsaved work ("버리기", Alt+D). No window manager
# here: the keys reach a window only once it has the focus.
for _ in $(seq 12); do
  kill -0 "$pid" 2> /dev/null || break
  target=$window key=ctrl+q
  for id in $(xdotool search --onlyvisible --pid "$pid" 2> /dev/null); do
    case "$(xdotool getwindowname "$id" 2> /dev/null)" in
      "Trelvik 워크벤치" | 제어기 | 추적 | 기록) ;;   # the window and its floating docks
      종료) target=$id key=alt+d; break ;;
      *) target=$id key=Escape ;;
    esac
  done
  xdotool windowfocus --sync "$target" 2> /dev/null || true
  sleep 0.2
  [ "$key" != ctrl+q ] || xdotool key Escape 2> /dev/null || true   # a menu left open
  xdotool key "$key" 2> /dev/null || true
  sleep 0.8
done
kill -0 "$pid" 2> /dev/null && fail "it could not be quit with the keyboard (seed $seed)"
ended
[ -s "$work/err" ] && fail "stderr at the end (seed $seed)"
echo "random_input: passed (${seconds} s, $actions actions, $starts starts, seed $seed)"
