#!/usr/bin/env bash
# Builds the version reader's libFuzzer target with clang and its sanitizers,
# apart from the main build, and runs it for a bounded time.
# Usage: fuzz/run-fuzz.sh [seconds]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build-fuzz

cmake -S . -B "$out" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLETTERLOOM_FUZZ=ON -DLETTERLOOM_SANITIZE=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$out" --target versionreading_fuzzer -j"$(nproc)" >/dev/null
mkdir -p "$out/corpus"

# Qt keeps static caches until exit that LeakSanitizer would report.
if ! ASAN_OPTIONS=detect_leaks=0 "$out/fuzz/versionreading_fuzzer" "$out/corpus" fuzz/seeds \
  -max_total_time="$seconds" -max_len=256 -print_final_stats=1 -artifact_prefix="$out/" >"$out/fuzz.log" 2>&1; then
  tail -n 80 "$out/fuzz.log"
  exit 1
fi
grep -E '^(Done|stat::)' "$out/fuzz.log"
