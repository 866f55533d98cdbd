#!/usr/bin/env bash
# Builds the version reader's libFuzzer target with clang and its sanitizers,
# apart from the main build, and runs it for a bounded time.
# Usage: fuzz/run-fuzz.sh [seconds]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
out=build-fuzz
mkdir -p "$out/corpus"

# shellcheck disable=SC2046
clang++ -std=c++17 -g -O1 -fPIC -Isrc $(pkg-config --cflags Qt6Core) \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  fuzz/versionreading_fuzzer.cpp src/web/versionreading.cpp \
  $(pkg-config --libs Qt6Core) -o "$out/versionreading_fuzzer"

# Qt keeps static caches until exit that LeakSanitizer would report.
if ! ASAN_OPTIONS=detect_leaks=0 "$out/versionreading_fuzzer" "$out/corpus" fuzz/seeds \
  -max_total_time="$seconds" -max_len=256 -print_final_stats=1 -artifact_prefix="$out/" >"$out/fuzz.log" 2>&1; then
  tail -n 80 "$out/fuzz.log"
  exit 1
fi
grep -E '^(Done|stat::)' "$out/fuzz.log"
