#!/usr/bin/env bash
# Fuzzes std::string and std::vector against the reference model of
# tests/fuzz with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), starting from the committed corpus:
#   scripts/fuzz.sh [SECONDS [libFuzzer options...]]     (default: one hour)
# PLINTH_FUZZ_TARGET=input fuzzes the input streams against theirs instead
# (tests/fuzz/fuzz_input.cpp; no committed corpus).
# New inputs collect in $PLINTH_FUZZ_DIR/corpus-<target> (default build/fuzz),
# and a crash or divergence is written there as crash-*; replay one with
#   build/x86-64/tests/fuzz_containers FILE     (or fuzz_input)
# (PLINTH_FUZZ_TRACE=1 lists its steps) and add it to tests/fuzz/corpus.
# PLINTH_SANITIZERS=undefined drops AddressSanitizer, whose own malloc rules
# out the allocation-failure layer: the model then also refuses every
# allocation of one step in eight.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
[ "$#" -gt 0 ] && shift
dir=${PLINTH_FUZZ_DIR:-build/fuzz}
target=${PLINTH_FUZZ_TARGET:-containers}
seeds=()
[ "$target" = containers ] && seeds=(tests/fuzz/corpus)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DPLINTH_SANITIZE=ON \
  -DPLINTH_SANITIZERS="${PLINTH_SANITIZERS:-address,undefined}" -DPLINTH_FUZZ=ON \
  -DPLINTH_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target "fuzz_${target}_libfuzzer"
mkdir -p "$dir/corpus-$target"
# Huge requests are part of the model: they must come back as null, not
# stop the run (libFuzzer's malloc limit follows -rss_limit_mb).
# AddressSanitizer warns about each of them; those lines are dropped.
export ASAN_OPTIONS=allocator_may_return_null=1
"$dir/tests/fuzz_${target}_libfuzzer" -max_total_time="$seconds" -rss_limit_mb=0 \
  -artifact_prefix="$dir/" -print_final_stats=1 "$@" "$dir/corpus-$target" "${seeds[@]}" \
  2> >(grep --line-buffered -v 'WARNING: AddressSanitizer failed to allocate' >&2)
