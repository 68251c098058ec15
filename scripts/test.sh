#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, headless: the plain build,
# the whole suite again under AddressSanitizer with UndefinedBehaviorSanitizer, and the tests
# that run threads under ThreadSanitizer. Each test run also replays every fuzz corpus once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh test
jobs="$(nproc)"

# Sound goes to SDL's dummy driver; tests that need a display start their own X server.
export SDL_AUDIODRIVER=dummy

# PELLMOOR_TESTS=ON: a test package that cannot be found stops the run here instead of leaving
# its tests out, also in a build/ that scripts/play.sh configured before they were installed.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLMOOR_TESTS=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# The sanitizer builds use clang: GCC 12's UndefinedBehaviorSanitizer miscompiles the scene
# manager's tables of member-function handlers and reports sound calls through them.
# Suppressions name system libraries only, so a report in our own code fails the run.
supp="$root/tests/sanitizers"
# LeakSanitizer checks every program at its exit, the asset generators of the build included.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1"

CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLMOOR_SANITIZE=address \
  -DPELLMOOR_TESTS=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600)

# The tests that run threads: the loader (scenes), the music thread and the audio callback
# (audio), the output through a sound server (dsound), the lock and the error reporter (engine),
# and the sealing library's calls from two threads. Only their programs are built; CTest runs
# the tests it found in them.
CC=clang CXX=clang++ cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLMOOR_SANITIZE=thread \
  -DPELLMOOR_TESTS=ON
cmake --build build-tsan -j"$jobs" --target scene_tests audio_tests dsound_tests engine_tests test_sealer
(cd build-tsan && ctest --output-on-failure -j"$jobs" --timeout 600 -E '^fuzz_replay|_NOT_BUILT$')
