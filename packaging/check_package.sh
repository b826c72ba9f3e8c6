#!/usr/bin/env bash
# Checks a Debian package of the simulator: its fields and dependencies, that
# it holds every program with its manual page, the desktop entries, icons,
# metainfo, copyright and changelog; that the manual pages render without a
# warning; that the desktop entries and the metainfo validate; and that
# lintian finds neither an error nor a warning.
#
# usage: packaging/check_package.sh trelvik_VERSION_ARCH.deb VERSION
set -euo pipefail

deb="$1"
version="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "check_package: $*" >&2; failures=$((failures + 1)); }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = trelvik ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "version is '$(field Version)', not $version"
depends=$(field Depends)
for need in fonts-nanum qt6-translations-l10n libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends," == *", $need "* || ", $depends," == *", $need,"* ]] || fail "Depends lacks $need: $depends"
done

dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' > "$work/files"
expected=(/usr/share/applications/trelvik.desktop /usr/share/applications/trelvik-workbench.desktop
  /usr/share/metainfo/net.trelvik.Trelvik.metainfo.xml
  /usr/share/doc/trelvik/copyright /usr/share/doc/trelvik/changelog.gz)
for size in 16 32 64; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/trelvik.png"); done
for program in trelvik trelvik-scenario trelvik-vcd-plot trelvik-vcd-diff trelvik-workbench; do
  expected+=("/usr/bin/$program" "/usr/share/man/man1/$program.1.gz")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" "$work/files" || fail "missing $file"
done

dpkg-deb --extract "$deb" "$work/root"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 > /dev/null || true)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  LC_ALL=C.UTF-8 man -l "$page" 2> /dev/null | grep -q "^SYNOPSIS" || fail "$(basename "$page") has no SYNOPSIS"
done
desktop-file-validate "$work"/root/usr/share/applications/*.desktop || fail "desktop entries do not validate"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.xml > "$work/appstream" 2>&1 ||
  fail "metainfo does not validate: $(cat "$work/appstream")"

lintian --fail-on error,warning "$deb" > "$work/lintian" 2>&1 ||
  fail "lintian: $(grep -v '^running with root privileges' "$work/lintian")"

if [ "$failures" -gt 0 ]; then
  echo "check_package: $deb: $failures problem(s)" >&2
  exit 1
fi
echo "check_package: $deb is sound ($(wc -l < "$work/files") entries; Depends: $depends)"
