#!/usr/bin/env bash
# Builds the series file fuzzer with clang and runs it for a bounded time.
# Fails when it finds an input that crashes the reader, trips a sanitizer,
# breaks the save-and-read-back check, takes over a second or over 256 MiB.
#
#   fuzz/run.sh                   run for VENDRAK_FUZZ_SECONDS (default 90)
#   fuzz/run.sh --update-corpus   afterwards fold what was learned back into
#                                 fuzz/corpus, kept to a minimal set
#
# The crashing input, if any, is left in build-fuzz/artifacts/; turn it into a
# regression test in tests/core/fuzz_regressions_test.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${VENDRAK_FUZZ_SECONDS:-90}
build=build-fuzz
update=0
[ "${1:-}" = "--update-corpus" ] && update=1

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null

# The run grows a working copy; the repository's corpus changes only on request.
work="$build/corpus"
rm -rf "$work" "$build/artifacts"
mkdir -p "$work" "$build/artifacts"
cp fuzz/corpus/* examples/*.txt "$work"/

limits=(-max_len=65536 -timeout=1 -rss_limit_mb=256 -malloc_limit_mb=256)
status=0
"$build/fuzz_series_file" "${limits[@]}" -dict=fuzz/series.dict -max_total_time="$seconds" \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" "$work" 2>"$build/fuzz.log" || status=$?
grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)" "$build/fuzz.log" || true
if [ "$status" != 0 ]; then
  tail -n 60 "$build/fuzz.log"
  echo "fuzz: the series file reader failed on $(ls "$build"/artifacts/ | head -n 1)" >&2
  exit "$status"
fi

if [ "$update" = 1 ]; then
  fresh="$build/corpus-min"
  rm -rf "$fresh"
  mkdir -p "$fresh"
  # Edges only, greedily covered: a few dozen files, not hundreds.
  "$build/fuzz_series_file" "${limits[@]}" -set_cover_merge=1 -use_counters=0 "$fresh" "$work" \
    2>"$build/merge.log"
  rm -f fuzz/corpus/*
  cp "$fresh"/* fuzz/corpus/
  echo "fuzz/corpus: $(ls fuzz/corpus | wc -l) files"
fi
