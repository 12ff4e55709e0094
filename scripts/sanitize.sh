#!/usr/bin/env bash
# Builds Ferlin with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (without the
# benchmarks) and runs every test there: a memory error, a leak or undefined behaviour fails the
# test that meets it. Optimised a little (-O1) but with assertions on, so that the tests stay
# quick enough for continuous integration.
#
#   bash scripts/sanitize.sh    configure, build with two jobs, run the tests
#
# Configuring and building hold the lock FERLIN_BUILD_LOCK (/tmp/ferlin-build.lock by default),
# so that builds sharing the machine's cores take turns.
#
# Leaks are detected; scripts/lsan.supp only silences leaks inside Qt's and the system's own
# libraries (see docs/checks.md).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh packages

locked() { flock "${FERLIN_BUILD_LOCK:-/tmp/ferlin-build.lock}" "$@"; }

supp="$PWD/scripts/lsan.supp"
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

start=$(date +%s)
locked cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
    -DFERLIN_SANITIZE=ON -DFERLIN_BUILD_BENCH=OFF
locked cmake --build build-asan -j2
built=$(date +%s)

cd build-asan
status=0
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 || status=$?
done=$(date +%s)
echo "sanitizers: build $((built - start)) s, tests $((done - built)) s"
exit $status
