#!/usr/bin/env bash
# Builds Ferlin's Debian package in build/: the program, its menu entry, icon and metadata, with
# the dependencies computed from the binaries (dpkg-shlibdeps). Prints the package's path.
#
#   bash scripts/package.sh            the program alone (each user's base comes from the
#                                      published file, or the one an administrator puts in
#                                      /usr/lib/ferlin)
#   bash scripts/package.sh --sample   with the sample base and its two disc folders
#
# Configuring and building hold the lock FERLIN_BUILD_LOCK (/tmp/ferlin-build.lock by default).
set -euo pipefail
cd "$(dirname "$0")/.."

sample=OFF
case "${1:-}" in
"") ;;
--sample) sample=ON ;;
*) echo "usage: $0 [--sample]" >&2; exit 2 ;;
esac

bash scripts/setup.sh packages dpkg-dev file

locked() { flock "${FERLIN_BUILD_LOCK:-/tmp/ferlin-build.lock}" "$@"; }

locked cmake -S . -B build -DFERLIN_INSTALL_SAMPLE=$sample
targets=(ferlin sample_base)
if grep -q '^RSVG_CONVERT:FILEPATH=/' build/CMakeCache.txt; then targets+=(ferlin_icons); fi
locked cmake --build build -j2 --target "${targets[@]}"

cd build
locked cpack -G DEB
ls -l "$PWD"/ferlin_*.deb
