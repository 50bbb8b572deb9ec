#!/usr/bin/env bash
# Installs missing Debian packages. Sourced by run.sh, test.sh, package.sh and fuzz.sh:
#   brenvik_install_deps build   what building and running the program needs
#   brenvik_install_deps package the above plus what the Debian package needs
#                                (dpkg-shlibdeps reads the binaries' dependencies)
#   brenvik_install_deps test    the above plus the test tools (GoogleTest,
#                                Google Benchmark, node and npm, the browsers,
#                                Xvfb and the window tools of the end-to-end test,
#                                the AT-SPI bus and pyatspi of the accessibility test,
#                                the package checkers with lintian, poppler's PDF
#                                tools and xmllint), and the web group below
#   brenvik_install_deps fuzz    the build tools plus clang and its fuzzer runtime
#   brenvik_install_deps web     the browser edition's module: emscripten, node
#                                and the source of Debian's zlib (web/CMakeLists.txt),
#                                for package.sh and builds with BRENVIK_WEB_PAGE

BRENVIK_BUILD_PKGS=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libicu-dev zlib1g-dev
                    fonts-dejavu-core fonts-liberation fonts-noto-core fonts-noto-cjk)
BRENVIK_PACKAGE_PKGS=(dpkg-dev file)
BRENVIK_TEST_PKGS=(libgtest-dev libgmock-dev libbenchmark-dev nodejs chromium firefox-esr webkit2gtk-driver
                   xvfb xauth xdotool imagemagick libx11-dev dbus-daemon at-spi2-core python3-pyatspi
                   desktop-file-utils appstream man-db poppler-utils libxml2-utils unzip lintian)
BRENVIK_FUZZ_PKGS=(clang libclang-rt-14-dev)
# emscripten's JavaScript optimizer finds its parser only with
# NODE_PATH=/usr/share/nodejs.
BRENVIK_WEB_PKGS=(cmake ninja-build emscripten nodejs)

# Installs those of the named packages that are not installed yet.
brenvik_apt_install() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  # node and npm from another source may stand in for Debian's nodejs.
  if [[ " ${missing[*]} " == *" nodejs "* ]] && command -v node >/dev/null && command -v npm >/dev/null; then
    local kept=()
    for p in "${missing[@]}"; do [[ $p != nodejs ]] && kept+=("$p"); done
    missing=("${kept[@]}")
  fi
  (( ${#missing[@]} )) || return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  (( EUID != 0 )) && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Where the web build finds the source of the zlib the desktop links (the
# SCORM packages' deflate must give the same bytes): a cache folder, never
# the tree. web/CMakeLists.txt looks in the same place.
BRENVIK_WEB_CACHE=${BRENVIK_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brenvik-web}

# Fetches and unpacks the Debian source of the installed zlib1g into
# $BRENVIK_WEB_CACHE/zlib, with a private deb-src list made from the
# system's own sources, so that the system's apt configuration and lists
# stay untouched.
brenvik_fetch_zlib_source() {
  local version dir=$BRENVIK_WEB_CACHE/zlib
  version=$(dpkg-query -W -f='${Version}' zlib1g 2>/dev/null) || { echo "zlib1g is not installed" >&2; return 1; }
  [[ -f $dir/.version && $(<"$dir/.version") == "$version" ]] && return 0
  command -v dpkg-source >/dev/null || brenvik_apt_install dpkg-dev
  local work
  work=$(mktemp -d) || return 1
  mkdir -p "$work/parts" "$work/lists/partial" "$work/get"
  chmod 755 "$work" "$work/get"  # apt downloads as its own user
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -e $f ]] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/parts/$(basename "$f")"
  done
  # A system with the older one-line sources.list instead.
  [[ -f /etc/apt/sources.list ]] && sed -n 's/^deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list >"$work/parts/sources-list.list"
  local apt=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/parts"
             -o "Dir::State::Lists=$work/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=" -o "APT::Sandbox::User=root")
  echo "Fetching the source of zlib $version for the web build"
  if ! apt-get "${apt[@]}" update -qq ||
     ! (cd "$work/get" && apt-get "${apt[@]}" source --download-only -qq "zlib=$version") ||
     ! dpkg-source --no-check -x "$work/get"/zlib_*.dsc "$work/src" >/dev/null; then
    rm -rf "$work"
    echo "could not fetch the source of zlib $version" >&2
    return 1
  fi
  rm -rf "$dir"
  mkdir -p "$BRENVIK_WEB_CACHE"
  mv "$work/src" "$dir"
  echo "$version" >"$dir/.version"
  rm -rf "$work"
}

brenvik_install_deps() {
  local kind=${1:-build}
  case $kind in
    build) brenvik_apt_install "${BRENVIK_BUILD_PKGS[@]}" ;;
    package) brenvik_apt_install "${BRENVIK_BUILD_PKGS[@]}" "${BRENVIK_PACKAGE_PKGS[@]}" ;;
    test)
      brenvik_apt_install "${BRENVIK_BUILD_PKGS[@]}" "${BRENVIK_PACKAGE_PKGS[@]}" "${BRENVIK_TEST_PKGS[@]}"
      command -v npm >/dev/null || brenvik_apt_install npm
      # The suite builds the browser edition's module too (web/Module.cmake).
      brenvik_apt_install "${BRENVIK_WEB_PKGS[@]}"
      brenvik_fetch_zlib_source
      ;;
    fuzz) brenvik_apt_install "${BRENVIK_BUILD_PKGS[@]}" "${BRENVIK_FUZZ_PKGS[@]}" ;;
    web)
      brenvik_apt_install "${BRENVIK_WEB_PKGS[@]}"
      brenvik_fetch_zlib_source
      ;;
    *) echo "brenvik_install_deps: unknown kind $kind" >&2; return 2 ;;
  esac
}
