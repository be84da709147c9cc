#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and peak memory of Kalibrix against a bare Qt window with the
# same title and geometry (bench/bare_window.cpp), under one virtual X server.
#   scripts/startup.sh [PAIRS]        PAIRS alternating runs of each (default 11,
#                                     at least 9): the medians and their ratios,
#                                     CPU time as well
#   scripts/startup.sh --instructions each program once under callgrind: the
#                                     instructions from exec to window painted
# Start-up is the time from exec to the server's MapNotify of the window
# "Kalibrix "; peak memory is VmHWM once the window is painted and the program
# idle (bench/startup_watch.cpp). Both programs come from the Release build in
# build/ (override with KALIBRIX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

mode=pairs
pairs=11
case "${1:-}" in
  "") ;;
  --instructions) mode=instructions ;;
  *)
    if ! [[ "$1" =~ ^[0-9]+$ ]] || [ "$1" -lt 9 ]; then
      echo "usage: $0 [PAIRS (at least 9) | --instructions]" >&2
      exit 2
    fi
    pairs=$1
    ;;
esac

ensure_packages "${KALIBRIX_PACKAGES[@]}"
if [ "$mode" = instructions ]; then
  ensure_packages valgrind
fi
build=${KALIBRIX_BUILD_DIR:-build}
configure "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)" --target kalibrix bare_window startup_watch
watch=$build/bench/startup_watch
bare=$build/bench/bare_window
kalibrix=$build/kalibrix

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# One server for every run: -noreset keeps it from resetting, and refusing
# connections meanwhile, each time the last client leaves; -displayfd has it
# pick a free display and write the number once it accepts connections.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp \
  3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
if ! read -r -t 10 display_number <"$work/display"; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb

# measure PROGRAM...: prints "<ms to map> <peak KiB> <CPU ms>".
measure() {
  if ! "$watch" "Kalibrix " "$@" 2>"$work/run.log"; then
    echo "$* did not map its window:" >&2
    cat "$work/run.log" >&2
    exit 1
  fi
}

if [ "$mode" = instructions ]; then
  # Callgrind counts the instructions of the process itself, whatever else
  # the machine is running; it is some fifty times slower than the program.
  export STARTUP_WATCH_LIMIT_MS=120000
  declare -A count
  for name in bare kalibrix; do
    measure valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.$name" \
      "${!name}" >/dev/null
    count[$name]=$(sed -n 's/^summary: //p' "$work/callgrind.$name")
  done
  awk -v b="${count[bare]}" -v k="${count[kalibrix]}" 'BEGIN {
    printf "instructions: bare %.2f M, kalibrix %.2f M, ratio %.2f\n", b / 1e6, k / 1e6, k / b
  }'
  exit 0
fi

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One discarded run of each fills the page cache and the font caches.
measure "$bare" >/dev/null
measure "$kalibrix" >/dev/null

printf '%4s %9s %9s %9s %9s %9s %9s\n' pair "bare ms" "kal. ms" "bare KiB" "kal. KiB" "bare CPU" "kal. CPU"
for ((i = 1; i <= pairs; i++)); do
  bare_run=$(measure "$bare")
  kal_run=$(measure "$kalibrix")
  read -r bare_ms bare_kib bare_cpu <<<"$bare_run"
  read -r kal_ms kal_kib kal_cpu <<<"$kal_run"
  printf '%4d %9.1f %9.1f %9d %9d %9.1f %9.1f\n' \
    "$i" "$bare_ms" "$kal_ms" "$bare_kib" "$kal_kib" "$bare_cpu" "$kal_cpu"
  echo "$bare_ms $kal_ms $bare_kib $kal_kib $bare_cpu $kal_cpu" >>"$work/runs"
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

# column N of the runs: its median
median() {
  cut -d' ' -f"$1" "$work/runs" | sort -g \
    | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
awk -v n="$pairs" -v bt="$(median 1)" -v kt="$(median 2)" -v bm="$(median 3)" -v km="$(median 4)" \
    -v bc="$(median 5)" -v kc="$(median 6)" 'BEGIN {
  printf "median of %d pairs\n", n
  printf "start-up:    bare %.1f ms, kalibrix %.1f ms, ratio %.2f\n", bt, kt, kt / bt
  printf "peak memory: bare %.1f MiB, kalibrix %.1f MiB, ratio %.2f\n", bm / 1024, km / 1024, km / bm
  printf "CPU time:    bare %.1f ms, kalibrix %.1f ms, ratio %.2f\n", bc, kc, kc / bc
}'
