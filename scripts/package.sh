#!/usr/bin/env bash
# Set-up, a release build of the programs, and the Debian package made of it
# (build/package/trelvik_VERSION_ARCH.deb), checked before it is called done.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset package > /dev/null
cmake --build --preset package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/package/CMakeCache.txt)
rm -f build/package/trelvik_*.deb
(cd build/package && cpack -G DEB > cpack.log) || { cat build/package/cpack.log >&2; exit 1; }
deb=$(ls build/package/trelvik_*.deb)
packaging/check_package.sh "$deb" "$version"
echo "Install it with: sudo apt-get install ./$deb"
