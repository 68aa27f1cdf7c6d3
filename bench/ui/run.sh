#!/usr/bin/env bash
# Start-up to the first painted frame of the main window beside an empty Qt window (median of
# RUNS runs each, offscreen unless QT_QPA_PLATFORM says otherwise), the window at 200 % too,
# resident memory then; one full repaint; Next Turn from the click to the repainted frame and the
# memory after 600 months. Usage: bash bench/ui/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build/default}
runs=${2:-20}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
probe=$build/bench/ui/tavrek_startup_probe
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for kind in empty game "game 200"; do
  times=$(for _ in $(seq "$runs"); do
    s=$(date +%s%N); "$probe" $kind >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000 ))
  done | median)
  rss=$("$probe" $kind 2>/dev/null | awk '{print $2}')
  echo "$kind window: start to first frame ${times} us (median of $runs), resident ${rss} KiB"
done
"$build/bench/ui/tavrek_ui_bench" --benchmark_min_time=1
"$build/bench/ui/tavrek_next_turn_window_bench" --benchmark_filter=NextTurn --benchmark_min_time=1
# The memory figures each in a process of their own.
for zoom in 100 200; do
  "$build/bench/ui/tavrek_next_turn_window_bench" --benchmark_filter="Resident.*/$zoom/"
done
