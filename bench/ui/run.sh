#!/usr/bin/env bash
# Start-up to the first painted frame of the main window beside an empty Qt window (median of
# RUNS runs each, offscreen unless QT_QPA_PLATFORM says otherwise), resident memory then, and one
# full repaint. Usage: bash bench/ui/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build/default}
runs=${2:-20}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
probe=$build/bench/ui/tavrek_startup_probe
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
for kind in empty game; do
  times=$(for _ in $(seq "$runs"); do
    s=$(date +%s%N); "$probe" $kind >/dev/null 2>&1; e=$(date +%s%N); echo $(( (e - s) / 1000 ))
  done | median)
  rss=$("$probe" $kind 2>/dev/null | awk '{print $2}')
  echo "$kind window: start to first frame ${times} us (median of $runs), resident ${rss} KiB"
done
"$build/bench/ui/tavrek_ui_bench" --benchmark_min_time=1
