#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when
# any is missing. Sourced by run.sh and test.sh.
brenvik_install_deps() {
  local pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n
              libgtest-dev libgmock-dev libbenchmark-dev
              nodejs chromium xvfb xauth xdotool imagemagick
              fonts-dejavu-core fonts-liberation clang libclang-rt-14-dev libx11-dev)
  local missing=()
  local p
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  # nodejs from another source may already provide node and npm
  if [[ " ${missing[*]} " == *" nodejs "* ]] && command -v node >/dev/null && command -v npm >/dev/null; then
    missing=("${missing[@]/nodejs}")
  fi
  local want=()
  for p in "${missing[@]}"; do [[ -n $p ]] && want+=("$p"); done
  if (( ${#want[@]} )); then
    echo "Installing missing packages: ${want[*]}"
    local sudo=()
    (( EUID != 0 )) && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${want[@]}"
  fi
  if ! command -v npm >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq npm
  fi
}
