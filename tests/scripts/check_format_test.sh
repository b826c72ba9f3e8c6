#!/bin/sh
# check_format_test.sh SOURCE_DIR: scripts/check_format.sh in a scratch git
# repository with the tree's .clang-format, case by case: the files tracked,
# the exit code, a fragment of the output. No case may write a file.
set -eu
source_dir="$1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# name | tracked files (g*: formatted, b*: not) | untracked files | exit | output fragment
cases='
all_formatted|g1.cpp g2.h||0|2 files, all formatted
one_differs|g1.cpp b1.cpp||1|1 of 2 files differ
only_the_differing_file_listed|g1.cpp b1.cpp||1|^b1.cpp$
a_name_with_a_space|g1.cpp sub/b1\ x.cpp||1|^sub/b1 x.cpp$
untracked_files_unchecked|g1.cpp|b1.cpp|0|1 files, all formatted
build_folder_left_out|g1.cpp build/b1.cpp||0|1 files, all formatted
bad_configuration|g1.cpp BADCONFIG||2|check_format: g1.cpp:
'
echo "$cases" | while IFS='|' read -r name tracked untracked code fragment; do
  [ -n "$name" ] || continue
  repo="$scratch/$name"
  mkdir -p "$repo/scripts"
  cp "$source_dir/scripts/check_format.sh" "$repo/scripts/"
  cp "$source_dir/.clang-format" "$repo/"
  git -C "$repo" init -q
  eval "set -- $tracked $untracked"
  for file in "$@"; do
    if [ "$file" = BADCONFIG ]; then echo "ColumnLimit: wide" > "$repo/.clang-format"; continue; fi
    mkdir -p "$repo/$(dirname "$file")"
    case "$(basename "$file")" in
      g*) printf 'int f() { return 0; }\n' > "$repo/$file" ;;
      *) printf 'int g( ){return 1;}\n' > "$repo/$file" ;;
    esac
  done
  eval "set -- $tracked"
  for file in "$@"; do [ "$file" = BADCONFIG ] || git -C "$repo" add -f -- "$file"; done
  before=$(cat "$repo"/*.cpp 2>/dev/null || true)
  set +e
  output=$("$repo/scripts/check_format.sh" 2>&1)
  status=$?
  set -e
  if [ "$status" != "$code" ] || ! printf '%s\n' "$output" | grep -q -- "$fragment" ||
     [ "$(cat "$repo"/*.cpp 2>/dev/null || true)" != "$before" ]; then
    echo "FAILED $name: exit $status (expected $code), output:"
    printf '%s\n' "$output"
    exit 1
  fi
  echo "ok $name"
done
