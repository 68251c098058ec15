#!/usr/bin/env bash
# Fuzzes the readers of the files a user can change, for longer than the test run's replay:
#   scripts/fuzz.sh [seconds per target, default 300] [target ...]
# Targets: settings score image mesh wave midi enemymap (default: all). Builds the libFuzzer
# programs with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/, starts each
# from its committed corpus plus the game's own files of that kind, and keeps what it finds
# under build-fuzz/found/<target>/ (copy an input that broke a reader into
# tests/fuzz/corpus/<target>/ once it is mended, so the tests replay it from then on).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds="${1:-300}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(settings score image mesh wave midi enemymap)
fi

bash scripts/setup.sh test
export SDL_AUDIODRIVER=dummy
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLMOOR_SANITIZE=address \
  -DPELLMOOR_FUZZ_COVERAGE=ON -DPELLMOOR_TESTS=ON
cmake --build build-fuzz -j"$(nproc)" --target assets "${targets[@]/#/fuzz_}"

program=build-fuzz/program
declare -A own=([image]="$program/img/*.bmp $program/img/*.jpg" [mesh]="$program/img/*.x"
                [wave]="$program/wav/*.wav" [midi]="$program/Music/*.mid" [enemymap]="$program/emap/*.bin")
for t in "${targets[@]}"; do
  work="build-fuzz/work/$t"
  found="build-fuzz/found/$t"
  mkdir -p "$work" "$found"
  cp -n tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  for f in ${own[$t]:-}; do
    [ -f "$f" ] && cp -n "$f" "$work"/
  done
  echo "== $t for $seconds s"
  build-fuzz/tests/fuzz/fuzz_"$t" "$work" -max_total_time="$seconds" -malloc_limit_mb=512 -rss_limit_mb=2048 \
    -timeout=20 -artifact_prefix="$found/" -print_final_stats=1 || echo "$t: an input broke the reader, see $found"
done
