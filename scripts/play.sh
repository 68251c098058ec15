#!/usr/bin/env bash
# Installs what building and running the game needs, builds the program folder and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only what the program folder holds: the tests, fuzz targets and benchmarks wait for
# scripts/test.sh, which builds them in the same folder.
cmake --build build -j"$(nproc)" --target brackle MessageBox WEN_Secret Config assets

# Without a display the game can only report that its window could not be made, and it ends
# with status 0 then; say what is missing here instead, where a script can see it fail.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<EOF
The game is built, but it needs a graphical session (X11 or Wayland) to run: neither DISPLAY
nor WAYLAND_DISPLAY is set here. Start it later from a graphical session with:
    $PWD/build/program/brackle
EOF
  exit 1
fi
exec build/program/brackle
