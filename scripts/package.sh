#!/usr/bin/env bash
# Builds Ferlin's two Debian packages in build-deb/, with the flags Debian builds its own
# packages with (dpkg-buildflags, every hardening feature), then prints their paths:
#
#   ferlin_VERSION_ARCH.deb        the program, its menu entry, icon, metadata and manual page,
#                                  its dependencies computed from the binaries (dpkg-shlibdeps)
#   ferlin-sample_VERSION_all.deb  the sample base and its two disc folders (/usr/share/ferlin)
#
# Install them with: sudo apt-get install ./build-deb/ferlin_*.deb ./build-deb/ferlin-sample_*.deb
# Configuring and building hold the lock FERLIN_BUILD_LOCK (/tmp/ferlin-build.lock by default).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -gt 0 ]; then
    echo "usage: $0" >&2
    exit 2
fi

bash scripts/setup.sh packages dpkg-dev file

locked() { flock "${FERLIN_BUILD_LOCK:-/tmp/ferlin-build.lock}" "$@"; }

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
locked cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DFERLIN_BUILD_TESTS=OFF -DFERLIN_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
targets=(ferlin sample_base ferlin_docs)
if grep -q '^RSVG_CONVERT:FILEPATH=/' build-deb/CMakeCache.txt; then targets+=(ferlin_icons); fi
locked cmake --build build-deb -j2 --target "${targets[@]}"

cd build-deb
rm -f ./*.deb
locked cpack -G DEB
ls -l "$PWD"/ferlin*.deb
