#!/usr/bin/env bash
# Builds a release of Brenvik in build-package/ and its Debian package,
# brenvik_<version>_amd64.deb, in this folder. Install it with
#   apt install ./brenvik_<version>_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
brenvik_install_deps package
# The browser edition, brenvik.html, goes into the package as well
# (/usr/share/brenvik/web/): the build makes it with emscripten.
brenvik_install_deps web

build=build-package
# The prefix is /usr, where the package puts everything: the program looks
# for its help file in the data folder of the prefix it was built for. The
# compiler and linker flags are those of Debian's own packages, from
# dpkg-buildflags (BRENVIK_HARDEN in CMakeLists.txt): -g -O2, fortified
# library calls, the stack protector, full RELRO with bind-now, and PIE.
configure=$(cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DBRENVIK_HARDEN=ON -DBRENVIK_BUILD_TESTS=OFF -DBRENVIK_BUILD_BENCH=OFF -DBRENVIK_WEB_PAGE=ON)
grep '^-- Debian ' <<<"$configure" || { echo "package.sh: the build has no flags from dpkg-buildflags" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)"
rm -rf "$build/cpack"
cpack --config "$build/CPackConfig.cmake" -B "$PWD/$build/cpack" >/dev/null
debs=("$build"/cpack/brenvik_*.deb)
(( ${#debs[@]} == 1 )) || { echo "package.sh: expected one package, found: ${debs[*]}" >&2; exit 1; }
mv -f "${debs[0]}" .
deb=$(basename "${debs[0]}")
echo "Package written: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends
# Debian's checker, where it is installed (./test.sh installs it): the
# package test expects no tag at all.
if command -v lintian >/dev/null; then
  echo "lintian -I $deb:"
  lintian -I "$deb" 2>/dev/null | sed 's/^/  /'
fi
