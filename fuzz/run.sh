#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time: the series
# file reader, then the expression parser and series builders. Fails when one
# finds an input that crashes, trips a sanitizer or breaks a property the
# target checks. The reader must also finish each input within 1 s with no
# allocation over 256 MiB (the process may hold 512 MiB: the sanitizer keeps
# freed memory in quarantine). The builder asks each build to stop after 1.5 s, as the window's
# Cancel does, so its 10 s limit catches only a build that does not stop;
# it may hold up to 2 GiB with the caches of its arithmetic, but no single
# allocation over 512 MiB.
#
#   fuzz/run.sh                   run each for VENDRAK_FUZZ_SECONDS (default 60)
#   fuzz/run.sh --update-corpus   afterwards fold what was learned back into
#                                 fuzz/corpus and fuzz/corpus-builder, kept to
#                                 a minimal set
#
# The failing input, if any, is left in build-fuzz/artifacts/; turn it into a
# regression test in tests/core/fuzz_regressions_test.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${VENDRAK_FUZZ_SECONDS:-60}
build=build-fuzz
update=0
[ "${1:-}" = "--update-corpus" ] && update=1

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -rf "$build/artifacts"
mkdir -p "$build/artifacts"

# fuzz NAME CORPUS OPTIONS... : the run grows a working copy; the repository's
# corpus changes only on request.
fuzz() {
  local name=$1 corpus=$2
  shift 2
  local work="$build/corpus-$name" status=0
  rm -rf "$work"
  mkdir -p "$work"
  cp "$corpus"/* "$work"/
  [ "$name" = series_file ] && cp examples/*.txt "$work"/
  "$build/fuzz_$name" "$@" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$work" 2>"$build/fuzz-$name.log" || status=$?
  echo "fuzz_$name:"
  grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)" "$build/fuzz-$name.log" || true
  if [ "$status" != 0 ]; then
    tail -n 60 "$build/fuzz-$name.log"
    echo "fuzz: fuzz_$name failed on $(ls "$build"/artifacts/ | head -n 1)" >&2
    exit "$status"
  fi
  if [ "$update" = 1 ]; then
    local fresh="$build/corpus-$name-min"
    rm -rf "$fresh"
    mkdir -p "$fresh"
    # Edges only, greedily covered: a few dozen files, not hundreds.
    "$build/fuzz_$name" "$@" -set_cover_merge=1 -use_counters=0 "$fresh" "$work" 2>"$build/merge-$name.log"
    rm -f "$corpus"/*
    cp "$fresh"/* "$corpus"/
    echo "$corpus: $(ls "$corpus" | wc -l) files"
  fi
}

fuzz series_file fuzz/corpus -max_len=65536 -timeout=1 -rss_limit_mb=512 -malloc_limit_mb=256 -dict=fuzz/series.dict
fuzz builder fuzz/corpus-builder -max_len=8192 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -dict=fuzz/builder.dict
