#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and its sanitizers, apart from the
# main build, and runs each for a bounded time.
# Usage: fuzz/run-fuzz.sh [seconds per target]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build-fuzz
fuzzers=(versionreading inifile pdfjoin)
# A PDF part needs more room than a line of text.
declare -A max_len=([versionreading]=512 [inifile]=512 [pdfjoin]=8192)

cmake -S . -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLETTERLOOM_FUZZ=ON -DLETTERLOOM_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$out" -j"$(nproc)" --target "${fuzzers[@]/%/_fuzzer}" >/dev/null

for name in "${fuzzers[@]}"; do
  mkdir -p "$out/corpus/$name"
  log="$out/$name.log"
  # Qt keeps static caches until exit that LeakSanitizer would report.
  if ! ASAN_OPTIONS=detect_leaks=0 "$out/fuzz/${name}_fuzzer" "$out/corpus/$name" "fuzz/seeds/$name" \
    -max_total_time="$seconds" -max_len="${max_len[$name]}" -print_final_stats=1 -artifact_prefix="$out/$name-" >"$log" 2>&1; then
    tail -n 80 "$log"
    exit 1
  fi
  echo "$name:"
  grep -E '^(Done|stat::(number_of_executed_units|new_units_added))' "$log"
done
