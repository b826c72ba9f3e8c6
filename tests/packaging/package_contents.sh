#!/usr/bin/env bash
# Makes the Debian package of a build folder in a temporary folder and checks
# it: fields, dependencies, files, manual pages, desktop entries, metainfo and
# lintian.
#
# usage: tests/packaging/package_contents.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1 || {
  cat "$out/cpack.log" >&2
  exit 1
}
exec "$(dirname "$0")/../../packaging/check_package.sh" "$out"/trelvik_*.deb "$version"
