#!/bin/sh
# vcd_diff_pipes.sh DIFF TRACE: trelvik-vcd-diff reads a trace from stdin
# ('-') and from a FIFO as it reads a file, with the same output and exit
# code; both from stdin is refused.
set -u
diff=$1 trace=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# The copy with its last value change flipped differs from the trace.
last=$(grep -n '^[01].' "$trace" | tail -1 | cut -d: -f1)
awk -v n="$last" 'NR == n { $0 = ($0 ~ /^0/ ? "1" : "0") substr($0, 2) } { print }' "$trace" > "$work/altered.vcd"
"$diff" "$trace" "$work/altered.vcd" > "$work/files.txt" 2>&1
want=$?
[ "$want" = 1 ] || fail "the altered copy: exit $want, expected 1"

for how in stdin fifo; do
  case $how in
    stdin) "$diff" "$trace" - < "$work/altered.vcd" > "$work/$how.txt" 2>&1 ;;
    fifo)
      mkfifo "$work/p"
      cat "$work/altered.vcd" > "$work/p" &
      "$diff" "$trace" "$work/p" > "$work/$how.txt" 2>&1 ;;
  esac
  code=$?
  [ "$code" = "$want" ] || fail "$how: exit $code, expected $want"
  sed "s|$work/p|$work/altered.vcd|; s|^only in -|only in $work/altered.vcd|" "$work/$how.txt" |
    cmp -s - "$work/files.txt" || { cat "$work/$how.txt"; fail "$how: not the output of the files"; }
done
cat "$trace" | "$diff" - "$trace" > "$work/same.txt" 2>&1 || fail "a pipe against its own file: $(cat "$work/same.txt")"
"$diff" - - < "$trace" > "$work/both.txt" 2>&1
[ $? = 2 ] && grep -q "only one trace can be read from stdin" "$work/both.txt" || fail "both from stdin not refused"
echo ok
