#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build-fuzz/ and runs each one in turn for
# a bounded time, starting from its seed corpus in fuzz/corpus/<target>/.
#   ./fuzz.sh [SECONDS] [TARGET...]   default 60 seconds per target, all targets
# New inputs found go to build-fuzz/corpus/<target>/ (the seeds stay as they
# are); a failing input is written to build-fuzz/crashes/ and the script ends
# with status 1 once every target has run. Keep such an input in
# fuzz/regressions/<target>/: unit_fuzz_replay runs it in every ./test.sh.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
shift || true
targets=("$@")
# The targets and their longest inputs, as fuzz/CMakeLists.txt builds them.
declare -A maxlen=()
listed=()
while read -r name length; do
  [[ -z $name || $name == \#* ]] && continue
  maxlen[$name]=$length
  listed+=("$name")
done < fuzz/targets.txt
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=("${listed[@]}")
fi
for t in "${targets[@]}"; do
  [[ -n ${maxlen[$t]:-} ]] || { echo "fuzz.sh: no fuzz target $t in fuzz/targets.txt" >&2; exit 2; }
done

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  . scripts/deps.sh
  brenvik_install_deps fuzz
fi

build=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
  -DBRENVIK_FUZZ=ON -DBRENVIK_BUILD_GUI=OFF -DBRENVIK_BUILD_TESTS=OFF -DBRENVIK_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
mkdir -p "$build/crashes"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  echo "== fuzz_$t for ${seconds}s"
  if ! "$build/bin/fuzz_$t" "$build/corpus/$t" "fuzz/corpus/$t" \
      -max_total_time="$seconds" -max_len="${maxlen[$t]}" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" 2>"$build/fuzz_$t.log"; then
    echo "fuzz_$t FAILED: see $build/fuzz_$t.log and $build/crashes/"
    tail -n 30 "$build/fuzz_$t.log"
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added|stat::peak_rss_mb)' \
    "$build/fuzz_$t.log" || true
  grep -E 'cov: [0-9]+' "$build/fuzz_$t.log" | tail -n 1 || true
done
exit $status
