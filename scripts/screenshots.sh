#!/usr/bin/env bash
# Pictures every screen of the program into docs/screens/ on a virtual display (Xvfb), from a
# build made by scripts/setup.sh. Run it again whenever a screen changes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
cmake --build build -j2 --target ferlin_screenshots
mkdir -p docs/screens
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" build/bin/ferlin_screenshots docs/screens
