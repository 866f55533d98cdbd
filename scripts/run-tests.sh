#!/usr/bin/env bash
# Builds Letterloom twice, plain (warnings are errors) and under AddressSanitizer
# with UndefinedBehaviorSanitizer, and runs every test suite in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# The code keeps the style .clang-format states.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

cmake -S . -B build -DLETTERLOOM_WERROR=ON -DBUILD_TESTING=ON
cmake --build build -j"$jobs"
cmake -S . -B build-sanitize -DLETTERLOOM_WERROR=ON -DLETTERLOOM_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON
cmake --build build-sanitize -j"$jobs"

# Services the suites print to or talk to are started here and stopped on exit.
for service in scripts/test-services/*.sh; do
  [ -e "$service" ] || continue
  # shellcheck source=/dev/null
  source "$service"
done

bash fuzz/run-fuzz.sh 30
ctest --test-dir build --output-on-failure
# Qt and fontconfig keep caches until exit that LeakSanitizer would report;
# memory errors and undefined behaviour still end the run.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure
