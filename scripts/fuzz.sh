#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of tests/fuzz with clang into build-fuzz/ and
# runs each one on its committed seeds (tests/fuzz/corpus/<target>/, only read).
#   scripts/fuzz.sh            bounded run: fixed seeds, fixed number of inputs
#   scripts/fuzz.sh SECONDS    each target for SECONDS; the inputs it finds
#                              collect in build-fuzz/corpus/<target>/
# A failing input is saved as build-fuzz/artifacts/<target>-crash-...; replay
# it with build-fuzz/tests/fuzz/<target> <file>. Each run's log is in
# build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

# target, inputs of the bounded run, longest input, shards: the bounded run of
# a slow target is shared among that many processes, each with its own seed
# (SEED, SEED + 1, ...) and its share of the inputs, so that it keeps every
# core busy instead of holding up the end. The longest runs come first.
TARGETS=(
  "fuzz_calculation 12000 256 2"
  "fuzz_parse_number 400000 512 1"
  "fuzz_number_text 300000 9 1"
)
SEED=1
DIR=build-fuzz

seconds=${1:-}
if [ -n "$seconds" ] && ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

ensure_packages clang-14 libclang-rt-14-dev
build_start=$SECONDS
configure "$DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKALIBRIX_FUZZ=ON -DKALIBRIX_BUILD_TESTS=OFF -DKALIBRIX_BUILD_BENCH=OFF
cmake --build "$DIR" --target kalibrix_fuzzers --parallel "$(nproc)"
echo "-- fuzz build: $((SECONDS - build_start)) s"
mkdir -p "$DIR/artifacts" "$DIR/logs"

# fuzz_one <target> <inputs> <longest input> <shard> <shards>: one run, its
# log in $DIR/logs/<run>.log, where <run> is the target and, for a shared
# bounded run, its shard; prints one line on it, and the log's end if it failed.
fuzz_one() {
  local name=$1 runs=$2 maxlen=$3 shard=$4 shards=$5 run found limit options log start inputs
  run=$name
  [ "$shards" -gt 1 ] && run="$name-$shard"
  if [ -n "$seconds" ]; then
    found="$DIR/corpus/$name"
    limit=(-max_total_time="$seconds")
  else
    # A fresh scratch folder each time, so that the bounded run repeats exactly.
    found="$DIR/bounded/$run"
    rm -rf "$found"
    limit=(-seed="$((SEED + shard - 1))" -runs="$((runs / shards))")
  fi
  mkdir -p "$found"
  options=("${limit[@]}" -max_len="$maxlen" -timeout=20 -print_final_stats=1
           -artifact_prefix="$DIR/artifacts/$name-")
  [ -f "tests/fuzz/$name.dict" ] && options+=(-dict="tests/fuzz/$name.dict")
  log="$DIR/logs/$run.log"
  start=$(date +%s.%N)
  if "$DIR/tests/fuzz/$name" "${options[@]}" "$found" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    awk -v run="$run" -v inputs="$inputs" -v start="$start" -v end="$(date +%s.%N)" \
        -v found="$(find "$found" -type f | wc -l)" \
        'BEGIN { printf "%s: %s inputs in %.1f s, %s new corpus entries, no fault\n", run, inputs, end - start, found }'
  else
    echo "$run: FAILED, last lines of $log:"
    tail -n 40 "$log"
    return 1
  fi
}

# The runs: each shard of each target in the bounded run; one run of each
# target in a timed one, where every process would fill the same folder.
RUNS=()
for entry in "${TARGETS[@]}"; do
  read -r name runs maxlen shards <<<"$entry"
  [ -n "$seconds" ] && shards=1
  for ((shard = 1; shard <= shards; shard++)); do
    RUNS+=("$name $runs $maxlen $shard $shards")
  done
done

# Each run is its own process on one core, with its own seed and folders, so
# as many run at once as there are cores and the runs are the same as one
# after another. Their reports are printed in the list's order.
runs_start=$SECONDS
running=0
for index in "${!RUNS[@]}"; do
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n
    running=$((running - 1))
  fi
  rm -f "$DIR/logs/$index.status"
  {
    # shellcheck disable=SC2086 # the run's fields, split on purpose
    if fuzz_one ${RUNS[$index]} >"$DIR/logs/$index.report"; then
      echo passed >"$DIR/logs/$index.status"
    else
      echo failed >"$DIR/logs/$index.status"
    fi
  } &
  running=$((running + 1))
done
wait

passed=0 failed=0
for index in "${!RUNS[@]}"; do
  cat "$DIR/logs/$index.report"
  if [ "$(cat "$DIR/logs/$index.status" 2>/dev/null)" = passed ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done
echo "-- fuzz runs: $((SECONDS - runs_start)) s"
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
