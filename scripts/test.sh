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

# ---- Fuzzing (hardening): the series file reader, then the expression parser
# and series builders, under libFuzzer, built with clang, each for a bounded
# time (VENDRAK_FUZZ_SECONDS, default 60). A crash, sanitizer report, hang or
# runaway allocation fails the run (fuzz/run.sh gives the limits); the input
# is left in build-fuzz/artifacts/.
./fuzz/run.sh

# ---- The Debian package: built from its own Release build in build-deb/,
# then checked by lintian (an error fails the run).
./scripts/package.sh --lint
