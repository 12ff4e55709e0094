#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   default: 60 seconds for each of every target
#
# Targets: rtfreader, jetlike, condition, settings (fuzz/entries/fuzzentries.h). Each starts from
# its seeds in fuzz/corpus/<target>/ and keeps what it learns in build-fuzz/corpus/<target>/. An
# input that fails (crash, sanitizer report, broken check, hang, memory blow-up) is minimised
# into fuzz/regressions/<target>/, which test_fuzzregressions replays in every build; the script
# then ends with status 1.
#
# Configuring and building hold the lock FERLIN_BUILD_LOCK (/tmp/ferlin-build.lock by default).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;; esac
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(rtfreader jetlike condition settings)

bash scripts/setup.sh packages clang-14 libclang-rt-14-dev

locked() { flock "${FERLIN_BUILD_LOCK:-/tmp/ferlin-build.lock}" "$@"; }

# Debug keeps Qt's and the program's assertions; -O1 keeps the runs fast.
CC=clang CXX=clang++ locked cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DFERLIN_FUZZ=ON -DFERLIN_BUILD_TESTS=OFF \
    -DFERLIN_BUILD_BENCH=OFF
locked cmake --build build-fuzz -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen

failed=()
for target in "${targets[@]}"; do
    fuzzer=build-fuzz/bin/fuzz_$target
    work=build-fuzz/corpus/$target
    artifacts=build-fuzz/artifacts/$target
    mkdir -p "$work" "$artifacts" "fuzz/regressions/$target"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$artifacts/")
    [ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
    # RTF needs room for deep nesting and long runs.
    [ "$target" = rtfreader ] && options+=(-max_len=65536)

    echo "== fuzz_$target: $seconds s"
    status=0
    "$fuzzer" "${options[@]}" "$work" "fuzz/corpus/$target" || status=$?
    shopt -s nullglob
    found=("$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*)
    shopt -u nullglob
    if [ $status -ne 0 ] || [ ${#found[@]} -gt 0 ]; then
        failed+=("$target")
        for input in "${found[@]}"; do
            kept=fuzz/regressions/$target/$(basename "$input")
            echo "== minimising $input into $kept"
            "$fuzzer" -minimize_crash=1 -max_total_time=60 -timeout=10 \
                -exact_artifact_path="$kept" "$input" >/dev/null 2>&1 || true
            [ -s "$kept" ] || cp "$input" "$kept"
            rm -f "$input"
        done
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed for: ${failed[*]} (inputs kept in fuzz/regressions/)" >&2
    exit 1
fi
echo "fuzzing: no failure in ${targets[*]}"
