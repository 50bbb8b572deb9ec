#!/usr/bin/env bash
# Builds Brenvik and runs every test: unit, GUI (offscreen) and browser.
#   ./test.sh             the normal build in build/
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
brenvik_install_deps test

build=build
extra=(-DBRENVIK_BUILD_TESTS=ON -DBRENVIK_BUILD_BENCH=ON)
if [[ ${1:-} == --sanitize ]]; then
  build=build-sanitize
  extra=(-DBRENVIK_BUILD_TESTS=ON -DBRENVIK_SANITIZE=ON -DBRENVIK_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  # Any finding stops the program with a stack trace, so the test fails.
  # Leak checking stays on; tests/sanitizer/lsan.supp names only leaks that
  # belong to system libraries (fontconfig, D-Bus), never to our code.
  export ASAN_OPTIONS=halt_on_error=1:print_stacktrace=1:detect_leaks=1:check_initialization_order=1
  export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi

if [[ -f tests/browser/package.json ]]; then
  (cd tests/browser && { [[ -d node_modules ]] && npm ls --silent >/dev/null 2>&1 || npm ci --no-audit --no-fund --silent; })
fi

cmake -S . -B "$build" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
if [[ $build == build-sanitize ]]; then
  # The browser tests check the pages' own script in three browsers; the C++
  # that writes those pages runs under the sanitizers in unit_hostile and
  # unit_cli (brenvik-cli on hostile texts) and the fuzz replay. A package of
  # sanitizer binaries is no package to check.
  ctest --output-on-failure -j "$(nproc)" -E '^(browser|browser_engines|package_deb)$'
else
  ctest --output-on-failure -j "$(nproc)"
fi
