#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each for a bounded time, starting from its seed corpus in fuzz/corpus/<name>/. Fails when a
# target finds a crash, a leak, undefined behaviour, a hang or runs out of memory; the input that
# did it is kept in build/fuzz/artifacts/.
#
# Usage: fuzz/run.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz/artifacts
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

failed=0
for src in fuzz/*_fuzz.cpp; do
    target="$(basename "$src" .cpp)"
    name="${target%_fuzz}"
    mkdir -p "$work/$name"
    echo "== $target: $seconds s"
    # New inputs go to the scratch directory; the committed seeds are only read.
    if ! "build/fuzz/$target" "$work/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="build/fuzz/artifacts/$target-" >"$work/$target.log" 2>&1; then
        failed=1
        tail -n 60 "$work/$target.log"
        echo "== $target FAILED (inputs in build/fuzz/artifacts/)"
        continue
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
        "$work/$target.log" || true
    echo "== $target passed"
done
exit "$failed"
