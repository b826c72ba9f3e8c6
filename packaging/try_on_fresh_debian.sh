#!/usr/bin/env bash
# Tries the package on a fresh Debian 12: a minimal system made by debootstrap
# in ROOT (made when missing; needs root and a Debian mirror: MIRROR, or else
# the first one this host's own apt sources name), then, inside it,
# `apt-get install ./trelvik_*.deb`, every program's --version, the window
# started for 3 s on the offscreen platform, the whole-cycle scenario run,
# `man -w` of each page, and `apt-get remove`.
#
# usage: sudo packaging/try_on_fresh_debian.sh trelvik_VERSION_ARCH.deb ROOT [MIRROR]
set -euo pipefail
deb=$(realpath "$1")
root="$2"

# apt's source files on this host, in either format: the deb822 .sources
# files and the one-line .list files; only those that exist.
apt_sources=() apt_lists=()
for f in /etc/apt/sources.list.d/*.sources; do [ -f "$f" ] && apt_sources+=("$f"); done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$f" ] && apt_lists+=("$f"); done

# The host's first Debian archive (not its security archive), or nothing.
host_mirror() {
  { if [ ${#apt_sources[@]} -gt 0 ]; then
      awk '/^URIs:/ {for (i = 2; i <= NF; i++) print $i}' "${apt_sources[@]}"
    fi
    if [ ${#apt_lists[@]} -gt 0 ]; then
      awk '$1 == "deb" {for (i = 2; i <= NF; i++) if ($i ~ /:\/\//) {print $i; break}}' "${apt_lists[@]}"
    fi
  } | { grep -v -- '-security' || true; } | sed -n 1p
}
mirror="${3:-$(host_mirror)}"
if [ ! -d "$root/usr" ] && [ -z "$mirror" ]; then
  read_files=("${apt_sources[@]}" "${apt_lists[@]}")
  if [ ${#read_files[@]} -eq 0 ]; then
    echo "no apt source file on this host (/etc/apt/sources.list, /etc/apt/sources.list.d/*.sources or *.list):" \
      "give a Debian mirror as MIRROR" >&2
  else
    echo "no Debian archive but the security one in ${read_files[*]}: give a Debian mirror as MIRROR" >&2
  fi
  exit 2
fi
if [ ! -d "$root/usr" ]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
cp "$deb" "$(dirname "$0")/../scenario/examples/whole_cycle.scn" "$root/tmp/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 bash -euxc "
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq man-db > /dev/null
  DEBIAN_FRONTEND=noninteractive apt-get install -y /tmp/$(basename "$deb") 2>&1 | tail -3
  trelvik-scenario --version
  QT_QPA_PLATFORM=offscreen trelvik-workbench --version
  trelvik-vcd-plot --version
  trelvik-vcd-diff --version
  QT_QPA_PLATFORM=offscreen timeout 3 trelvik && exit 1 || [ \$? -eq 124 ]
  trelvik-scenario --quiet /tmp/whole_cycle.scn
  for p in trelvik trelvik-scenario trelvik-vcd-plot trelvik-vcd-diff trelvik-workbench; do man -w \$p; done
  DEBIAN_FRONTEND=noninteractive apt-get remove -y trelvik 2>&1 | tail -2
  ! command -v trelvik
"
