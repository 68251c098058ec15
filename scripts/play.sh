#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only what the program folder holds: the tests, fuzz targets and benchmarks wait for
# scripts/test.sh, which builds them in the same folder.
cmake --build build -j"$(nproc)" --target brackle WEN_Secret Config assets
exec build/program/brackle
