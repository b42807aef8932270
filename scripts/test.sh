#!/usr/bin/env bash
# Installs what is needed, builds and runs all tests, then the same tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVENDRAK_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# ---- Fuzzing (hardening): the series file reader under libFuzzer, built
# with clang, for a bounded time (VENDRAK_FUZZ_SECONDS, default 90). A crash,
# sanitizer report, hang over 1 s or allocation over 256 MiB fails the run;
# the input is left in build-fuzz/artifacts/.
./fuzz/run.sh
