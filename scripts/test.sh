#!/usr/bin/env bash
# Sets up, builds and runs every test: once in a normal build and once under
# AddressSanitizer and UndefinedBehaviorSanitizer. Both builds include the
# desktop dialog, whose tests run on Qt's offscreen platform; headless
# Chromium renders the merge report.
set -euo pipefail
cd "$(dirname "$0")/.."
KINWEAVE_DESKTOP=1 KINWEAVE_BROWSER=1 bash scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

# The test files compile in batches: whole builds, as here, take half the time.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINWEAVE_DESKTOP=ON \
  -DKINWEAVE_UNITY_TESTS=ON >/dev/null
cmake --build build/release -j "$jobs"
(cd build/release && ctest --output-on-failure -j "$jobs")

# Optimised with debug information: the sanitizers see the same faults, and
# the sweeps over the real files run several times faster than at -O0.
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINWEAVE_SANITIZE=ON \
  -DKINWEAVE_DESKTOP=ON -DKINWEAVE_UNITY_TESTS=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")
