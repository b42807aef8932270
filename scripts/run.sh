#!/usr/bin/env bash
# Installs, builds and starts Vendrak on a bundled example series.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vendrak
exec ./build/vendrak "${1:-examples/sine_taylor.txt}"
