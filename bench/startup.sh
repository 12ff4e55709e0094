#!/usr/bin/env bash
# Compares the program's start-up on the sample base with a bare Qt main window showing one
# label. Goal: Ferlin's start-up within 1.5 times the bare window's.
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
bin="$build/bin"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

measure() {
    local total=0 start end
    "$@" >/dev/null 2>&1 # warm the caches once
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        total=$((total + end - start))
    done
    echo $((total / runs / 1000))
}

ini=$(mktemp --suffix=.ini)
trap 'rm -f "$ini"' EXIT
"$bin/bench_startup" prepare "$ini"
bare=$(measure "$bin/bench_startup" bare)
ferlin=$(measure "$bin/bench_startup" ferlin "$bin/ferlin4.sqlite" "$ini")
echo "bare Qt window: ${bare} µs"
echo "Ferlin start-up on the sample base: ${ferlin} µs"
awk -v f="$ferlin" -v b="$bare" 'BEGIN { printf "ratio: %.2f (goal: 1.5 at most)\n", f / b }'
