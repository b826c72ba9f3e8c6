#!/usr/bin/env bash
# Checks every tracked .cpp and .h against the tree's .clang-format (with
# Debian's clang-format 14; CLANG_FORMAT names another). Prints each file
# that would change and exits 1 if any would; exits 0 with a summary
# otherwise; 2 when clang-format cannot run. Nothing is written. Generated or vendored files, if the tree
# ever holds any, are left out by the pattern below.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format="${CLANG_FORMAT:-clang-format}"
excluded='^(build/|third_party/)'
if ! "$clang_format" --version > /dev/null 2>&1; then
  echo "check_format: $clang_format not found (scripts/setup.sh installs it)" >&2
  exit 2
fi

checked=0
differ=()
while IFS= read -r -d '' file; do
  [[ "$file" =~ $excluded ]] && continue
  checked=$((checked + 1))
  if ! report=$("$clang_format" --dry-run --Werror "$file" 2>&1); then
    if ! grep -q -- '-Wclang-format-violations' <<< "$report"; then
      echo "check_format: $file: $report" >&2  # not a difference: a bad .clang-format, an unreadable file
      exit 2
    fi
    differ+=("$file")
  fi
done < <(git ls-files -z -- '*.cpp' '*.h')

if [ ${#differ[@]} -gt 0 ]; then
  printf '%s\n' "${differ[@]}"
  echo "check_format: ${#differ[@]} of $checked files differ from .clang-format (clang-format -i FILE mends one)" >&2
  exit 1
fi
echo "check_format: $checked files, all formatted"
