#!/usr/bin/env bash
# Builds Brenvik and starts it. Without a display it says how to start it
# under xvfb-run and makes a sample test and page with brenvik-cli instead.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
brenvik_install_deps build
cmake -S . -B build -G Ninja -DBRENVIK_BUILD_TESTS=OFF -DBRENVIK_BUILD_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)"

if [[ -x build/bin/brenvik && ( -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ) ]]; then
  exec build/bin/brenvik
fi

if [[ -x build/bin/brenvik ]]; then
  echo "No display found. To use the program without one, run:"
  echo "  xvfb-run -a build/bin/brenvik"
  echo
fi
mkdir -p out
echo "Sample test made from examples/sample.txt:"
echo
build/bin/brenvik-cli test examples/sample.txt -o out/sample-test.txt
build/bin/brenvik-cli test examples/sample.txt
echo
build/bin/brenvik-cli export examples/sample.txt -o out/sample-page.htm --practice --show-answers
echo "Test written to out/sample-test.txt, interactive page to out/sample-page.htm"
