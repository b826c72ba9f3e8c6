# Sourced by the smoke tests of a real X window, after `program` is set:
#   xvfb_session SCREEN "$0" ARGS...   runs the test once more inside a fresh
#                                      X server, unless it already runs in one
# then gives the test a scratch folder `work`, a `fail` that shows the
# program's last errors, and a clean-up that ends the program (`pid`).

xvfb_session() {
  local screen=$1
  shift
  if [ -z "${TRELVIK_SMOKE_IN_XVFB:-}" ]; then
    export TRELVIK_SMOKE_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 $screen -nolisten tcp" "$@"
  fi
  work=$(mktemp -d)
  trap '[ -n "${pid:-}" ] && kill "$pid" 2> /dev/null; rm -rf "$work"' EXIT
}

fail() {
  echo "xvfb_smoke: FAILED: $*"
  [ -f "$work/err" ] && tail -20 "$work/err"
  exit 1
}
