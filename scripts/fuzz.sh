#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   default: 60 seconds for each of every target
#
# Targets: rtfreader, jetlike, condition, settings, fulltextquery, mdbsource, pdftext
# (fuzz/entries/fuzzentries.h). Each starts from its seeds in fuzz/corpus/<target>/ and keeps what
# it learns in build-fuzz/corpus/<target>/. An input that fails (crash, sanitizer report, broken
# check, hang, memory blow-up) is minimised into fuzz/regressions/<target>/, which
# test_fuzzregressions replays in every build; the script then ends with status 1.
#
# mdbsource and pdftext read files with libmdb and Poppler, which loop for ever or exhaust the
# memory on some damaged files (the program reads them in its reader child, under limits). They
# run in fork mode: children of the fuzzer, one a processor, fuzz one job after another; a hang (-timeout) or a
# blow-up (-rss_limit_mb) ends one job, and the run goes on. Such inputs are kept as they were
# found in fuzz/regressions/<target>/ (minimising a hang costs a timeout a try), where
# test_fuzzregressions reads them through the reader child; they do not fail the run. Crashes,
# sanitizer reports, leaks and broken checks do. Their seeds also come from the shared test files
# beside the work tree (../shared/testdata/mdb, mdb/catalogue, hostile), read where they lie. The
# libraries' standard error is closed (-close_fd_mask=2): libmdb floods it on some files.
#
# Configuring and building hold the lock FERLIN_BUILD_LOCK (/tmp/ferlin-build.lock by default).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;; esac
shift $(($# > 0 ? 1 : 0))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(rtfreader jetlike condition settings fulltextquery mdbsource pdftext)
forked=" mdbsource pdftext "
shared=$PWD/../shared/testdata

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
    seeds=("fuzz/corpus/$target")
    shared_sums=()
    fork=false
    case "$forked" in *" $target "*) fork=true ;; esac
    if $fork; then
        options+=(-fork="$(nproc)" -ignore_timeouts=1 -ignore_ooms=1 -ignore_crashes=0 -close_fd_mask=2)
        for folder in "$shared/mdb" "$shared/mdb/catalogue" "$shared/hostile"; do
            [ -d "$folder" ] || continue
            seeds+=("$folder")
            for file in "$folder"/*; do
                [ -f "$file" ] && shared_sums+=("$(sha1sum <"$file" | cut -d' ' -f1)")
            done
        done
    fi

    echo "== fuzz_$target: $seconds s"
    status=0
    "$fuzzer" "${options[@]}" "$work" "${seeds[@]}" || status=$?
    shopt -s nullglob
    found=("$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*)
    shopt -u nullglob
    # In fork mode the fuzzer ends with the status of its last failed input: a hang's (70) or a
    # blow-up's (71) is no failure of the run.
    if [ $status -ne 0 ] && ! { $fork && { [ $status -eq 70 ] || [ $status -eq 71 ]; }; }; then
        failed+=("$target")
    fi
    kept=0
    for input in "${found[@]}"; do
        name=$(basename "$input")
        copy=fuzz/regressions/$target/$name
        case "$name" in timeout-* | oom-*) library=$fork ;; *) library=false ;; esac
        if $library; then
            # The library's hang or blow-up: kept as found, once, unless it is a shared seed
            # itself (the shared files stay where they lie).
            sum=$(sha1sum <"$input" | cut -d' ' -f1)
            if ! printf '%s\n' "${shared_sums[@]}" | grep -qx "$sum"; then
                [ -e "$copy" ] || cp "$input" "$copy"
                kept=$((kept + 1))
            fi
        else
            case " ${failed[*]} " in *" $target "*) ;; *) failed+=("$target") ;; esac
            echo "== minimising $input into $copy"
            "$fuzzer" -minimize_crash=1 -max_total_time=60 -timeout=10 \
                -exact_artifact_path="$copy" "$input" >/dev/null 2>&1 || true
            [ -s "$copy" ] || cp "$input" "$copy"
        fi
        rm -f "$input"
    done
    [ $kept -eq 0 ] || echo "== fuzz_$target: $kept hangs or memory blow-ups of its library kept" \
        "in fuzz/regressions/$target/ (replayed through the reader child)"
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed for: ${failed[*]} (inputs kept in fuzz/regressions/)" >&2
    exit 1
fi
echo "fuzzing: no failure in ${targets[*]}"
