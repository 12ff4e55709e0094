#!/usr/bin/env bash
# Compares the program's start-up on the sample base with a bare Qt main window showing one
# label. Goal: Ferlin's start-up within 1.5 times the bare window's.
# The two are run in turn, so that both see the same machine, and the medians are compared.
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-31}
bin="$build/bin"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

ini=$(mktemp --suffix=.ini)
times=$(mktemp)
trap 'rm -f "$ini" "$times"' EXIT
"$bin/bench_startup" prepare "$ini" 2>/dev/null

elapsed() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

"$bin/bench_startup" bare >/dev/null 2>&1 # warm the caches once
"$bin/bench_startup" ferlin "$bin/ferlin4.sqlite" "$ini" >/dev/null 2>&1
for _ in $(seq "$runs"); do
    echo "bare $(elapsed "$bin/bench_startup" bare)" >>"$times"
    echo "ferlin $(elapsed "$bin/bench_startup" ferlin "$bin/ferlin4.sqlite" "$ini")" >>"$times"
done

median() { grep "^$1 " "$times" | cut -d' ' -f2 | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
bare=$(median bare)
ferlin=$(median ferlin)
echo "bare Qt window (median of $runs): ${bare} µs"
echo "Ferlin start-up on the sample base (median of $runs): ${ferlin} µs"
awk -v f="$ferlin" -v b="$bare" 'BEGIN { printf "ratio: %.2f (goal: 1.5 at most)\n", f / b }'
