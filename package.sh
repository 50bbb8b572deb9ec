#!/usr/bin/env bash
# Builds a release of Brenvik in build-package/ and its Debian package,
# brenvik_<version>_amd64.deb, in this folder. Install it with
#   apt install ./brenvik_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
brenvik_install_deps package

build=build-package
# The prefix is /usr, where the package puts everything: the program looks
# for its help file in the data folder of the prefix it was built for.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DBRENVIK_BUILD_TESTS=OFF -DBRENVIK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -rf "$build/cpack"
cpack --config "$build/CPackConfig.cmake" -B "$PWD/$build/cpack" >/dev/null
debs=("$build"/cpack/brenvik_*.deb)
(( ${#debs[@]} == 1 )) || { echo "package.sh: expected one package, found: ${debs[*]}" >&2; exit 1; }
mv -f "${debs[0]}" .
deb=$(basename "${debs[0]}")
echo "Package written: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
