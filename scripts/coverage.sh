#!/usr/bin/env bash
# Line and branch coverage of firmware/ by scenario runs. Builds the coverage
# preset (gcc's counters in firmware/ only), runs the scenarios with the
# runner's own --coverage, each file's counts written apart, and writes into
# the report folder: HTML with line and branch counts, Cobertura XML, an lcov
# tracefile, gcovr's JSON and the line map (lines.json: each firmware line
# with code, as FILE:LINE, to the scenario files that executed it). Prints
# one summary line and the five functions with the most lines never run.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: scripts/coverage.sh [--jobs J] [--out DIR] [SCENARIO|FOLDER]...
       scripts/coverage.sh [--out DIR] --line FILE:LINE
Runs the scenario files (a folder: its *.scn; scenario/examples/ when none is
named) on the firmware built for coverage and writes the reports into DIR
(build/coverage/report). --line prints the scenarios of the last run that
executed that firmware line. Exit 0; 1 when a verdict failed (the reports are
still written) or no scenario executed the line; 2 for a usage or input error.
EOF
}

fail() {
  echo "coverage.sh: $*" >&2
  exit 2
}

src=$(cd "$(dirname "$0")/.." && pwd)
build="$src/build/coverage"
out="$build/report"
jobs=()
line=""
scenarios=()
while [ $# -gt 0 ]; do
  case "$1" in
    -h | --help) usage; exit 0 ;;
    --jobs | -j) [ $# -ge 2 ] || fail "$1 needs a value"; jobs=(--jobs "$2"); shift ;;
    --out) [ $# -ge 2 ] || fail "--out needs a value"; out="$2"; shift ;;
    --line) [ $# -ge 2 ] || fail "--line needs FILE:LINE"; line="$2"; shift ;;
    --) shift; scenarios+=("$@"); break ;;
    -*) fail "unknown option '$1' (valid: --jobs, --out, --line, --help)" ;;
    *) scenarios+=("$1") ;;
  esac
  shift
done

report="/usr/bin/python3 $src/scripts/coverage_report.py"
if [ -n "$line" ]; then
  [ ${#scenarios[@]} -eq 0 ] || fail "--line takes no scenario files"
  [[ "$line" =~ ^.+:[0-9]+$ ]] || fail "--line: '$line' is not FILE:LINE (firmware/fw_cycle.cpp:151)"
  exec $report line "$out/lines.json" "$line"
fi

# The files, each checked before anything is built.
[ ${#scenarios[@]} -gt 0 ] || scenarios=("$(realpath --relative-to=. "$src/scenario/examples")")
files=()
for s in "${scenarios[@]}"; do
  if [ -d "$s" ]; then
    found=("${s%/}"/*.scn)
    [ -e "${found[0]}" ] || fail "$s: no .scn file in this folder"
    files+=("${found[@]}")
  elif [ -f "$s" ]; then
    files+=("$s")
  elif [ -e "$s" ]; then
    fail "$s: not a regular file"
  else
    fail "$s: No such file or directory"
  fi
done

# The report folder is replaced whole: only an earlier report or an empty folder.
if [ -L "$out" ] || { [ -e "$out" ] && { [ ! -d "$out" ] || { [ ! -f "$out/lines.json" ] && [ -n "$(ls -A "$out")" ]; }; }; }; then
  fail "$out: neither empty nor a report of coverage.sh, so not replaced"
fi
out=$(realpath -ms "$out")

# The build: only the runner, its firmware counted. The packages are
# installed and the build configured when missing; the build itself
# configures again when a CMakeLists.txt has changed.
for tool in cmake ninja gcovr lcov gcov-tool; do
  command -v "$tool" > /dev/null || { "$src/scripts/setup.sh" && break; }
done
configure=:
[ -f "$build/build.ninja" ] || configure="cmake --preset coverage"
log=$(mktemp)
if ! (cd "$src" && $configure && cmake --build --preset coverage) > "$log" 2>&1 < /dev/null; then
  tail -n 30 "$log" >&2
  rm -f "$log"
  fail "the coverage build failed"
fi
rm -f "$log"

# The runs: each file's counts in runs/files/NNNN, anything else in runs/rest.
mkdir -p "$build"
runs=$(mktemp -d "$build/runs.XXXXXX")
trap 'rm -rf "$runs"' EXIT
printf '%s\n' "${files[@]}" > "$runs/names.txt"
strip=$(realpath "$build" | tr -cd / | wc -c)
set +e
TRELVIK_COVERAGE_DIR="$runs/files" GCOV_PREFIX="$runs/rest" GCOV_PREFIX_STRIP="$strip" QT_QPA_PLATFORM=offscreen \
  "$build/scenario/trelvik-scenario" "${files[@]}" --quiet --coverage --snapshot-dir "$runs/snapshots" "${jobs[@]}" \
  > "$runs/runner.txt"
code=$?
set -e
sed '/^states entered: /,$d' "$runs/runner.txt"  # the failed verdicts and the closing line
[ $code -le 1 ] || exit 2
behaviour=$(grep '^coverage: ' "$runs/runner.txt")

# Each file's lines from gcov's own JSON, one gcov for all (gcovr takes about
# a second a file), the gcc notes linked beside the counts; then the counts
# of all files added up by gcov-tool, two by two, for gcovr and lcov.
notes=$(cd "$build" && find CMakeFiles -name '*.gcno')
level=("$runs/files"/*)
[ -d "${level[0]}" ] || fail "no scenario file ran"
(cd "$build" && for folder in "${level[@]}"; do cp -l --parents $notes "$folder"; done)
find "$runs/files" -name '*.gcda' -exec gcov --json-format --stdout {} + > "$runs/lines.json" 2> /dev/null &
sums=0
while [ ${#level[@]} -gt 1 ]; do
  next=()
  for ((i = 0; i + 1 < ${#level[@]}; i += 2)); do
    sums=$((sums + 1))
    gcov-tool merge "${level[i]}" "${level[i + 1]}" -o "$runs/sum$sums" > /dev/null &
    next+=("$runs/sum$sums")
  done
  [ $((${#level[@]} % 2)) -eq 0 ] || next+=("${level[-1]}")
  wait
  level=("${next[@]}")
done
wait
merged="${level[0]}"
(cd "$build" && cp -l -n --parents $notes "$merged")

rm -rf "$out"
mkdir -p "$out/html"
# lcov's Perl warnings go to its log.
lcov --capture --directory "$merged" --include "$src/firmware/*" --rc lcov_branch_coverage=1 \
  --output-file "$out/firmware.info" --quiet > "$out/lcov.log" 2>&1 &
lcov_pid=$!
# A line of only a brace or `else` is no line of code, executed or not (gcovr
# alone would count it only when executed, so the totals of two suites would differ).
# gcovr runs in the source folder, so that the Cobertura report's source is ".".
(cd "$src" && gcovr --root . --filter firmware/ --exclude-throw-branches --exclude-unreachable-branches \
  --exclude-lines-by-pattern '\s*([{}]|else)?\s*(//.*)?$' --object-directory "$merged" \
  --html-details "$out/html/index.html" --html-title "Firmware coverage" --no-html-details-syntax-highlighting \
  --cobertura "$out/cobertura.xml" --json "$out/firmware.json" --json-summary "$out/summary.json" "$merged")
$report map "$runs/names.txt" "$runs/files" "$runs/lines.json" "$out/firmware.json" "$out/lines.json"
wait $lcov_pid || echo "coverage.sh: lcov failed; see $out/lcov.log" >&2

$report summary "$out/firmware.json" "$out/summary.json" "$behaviour" | tee "$out/summary.txt"
echo "reports in $(realpath -s --relative-base=. "$out"): html/index.html, cobertura.xml, firmware.info, lines.json"
exit $code
