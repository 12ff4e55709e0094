#!/usr/bin/env bash
# Installs what Ferlin needs from Debian's archive, builds it with two jobs, then either starts
# the program on the sample base ("run") or runs every test ("test"). "packages [EXTRA...]" only
# installs what is missing, with the extra packages named (the other check scripts use it).
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-run}
case "$what" in run | test | build | packages) ;; *) echo "usage: $0 run|test|build|packages" >&2; exit 2 ;; esac

packages=(build-essential cmake pkg-config
          qt6-base-dev qt6-translations-l10n libsqlite3-dev libblkid-dev mdbtools-dev
          libpoppler-qt6-dev
          libgtest-dev libgmock-dev libbenchmark-dev python3 python3-pybtex
          poppler-utils unrtf xvfb xauth fonts-liberation
          librsvg2-bin desktop-file-utils appstream genisoimage
          pandoc citation-style-language-styles citation-style-language-locales
          dpkg-dev file lintian)
if [ "$what" = packages ]; then packages+=("${@:2}"); fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ "$what" = packages ]; then exit 0; fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

case "$what" in
run) exec build/bin/ferlin ;;
test) cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 ;;
build) ;;
esac
