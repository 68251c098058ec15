#!/usr/bin/env bash
# Fuzzes the readers of the files a user can change, for longer than the test run's replay:
#   scripts/fuzz.sh [seconds per target, default 300] [target ...]
# Targets: settings score image mesh wave midi enemymap (default: all). Builds the libFuzzer
# programs with clang, AddressSanitizer and UndefinedBehaviorSanitizer in build-fuzz/, starts each
# from its committed corpus plus the game's own files of that kind, and keeps what it finds
# under build-fuzz/found/<target>/ (copy an input that broke a reader into
# tests/fuzz/corpus/<target>/ once it is mended, so the tests replay it from then on).
# Each target's output is also kept in build-fuzz/logs/<target>.log. The script ends with a line
# per target and fails when an input broke a reader or when a fuzzer could not run at all.
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

# Every path handed to a fuzzer is absolute: a target may change the current folder while it runs
# an input, and a crash then leaves it there.
fuzz="$root/build-fuzz"
program="$fuzz/program"
declare -A own=([image]="$program/img/*.bmp $program/img/*.jpg" [mesh]="$program/img/*.x"
                [wave]="$program/wav/*.wav" [midi]="$program/Music/*.mid" [enemymap]="$program/emap/*.bin")

# The files under a folder, each with its modification time.
listing() {
  find "$1" -maxdepth 1 -type f -printf '%T@ %f\n' | sort
}

# "cov: N" of the first line of a log that matches a pattern (the last line when last is given).
coverage() {
  local pick=(head -n 1)
  [ "${3:-}" = last ] && pick=(tail -n 1)
  { grep -E "$2" "$1" || true; } | "${pick[@]}" | sed -n 's/.* cov: \([0-9]*\).*/\1/p'
}

summary=()
failed=0
for t in "${targets[@]}"; do
  work="$fuzz/work/$t"
  found="$fuzz/found/$t"
  log="$fuzz/logs/$t.log"
  mkdir -p "$work" "$found" "$fuzz/logs"
  cp -n "$root"/tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  for f in ${own[$t]:-}; do
    [ -f "$f" ] && cp -n "$f" "$work"/
  done
  echo "== $t for $seconds s"
  before=$(listing "$found")
  set +e
  "$fuzz/tests/fuzz/fuzz_$t" "$work" -max_total_time="$seconds" -malloc_limit_mb=512 -rss_limit_mb=2048 \
    -timeout=20 -artifact_prefix="$found/" -print_final_stats=1 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  set -e
  # Only an input libFuzzer wrote for this run is a find: one left by an earlier run is not, one
  # written anew under the same name (the same input found again) is. Slow inputs are noted by
  # libFuzzer on the way and end nothing.
  broke=$(comm -13 <(echo "$before") <(listing "$found") | sed 's/^[^ ]* //' | grep -v '^slow-unit-' || true)
  start=$(coverage "$log" 'INITED cov: ')
  end=$(coverage "$log" ' cov: ' last)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  figures="cov ${start:-none} at the start, ${end:-none} at the end, ${runs:-?} runs"
  if [ -n "$broke" ]; then
    verdict="an input broke the reader ($figures): $(echo "$broke" | sed "s|^|$found/|" | paste -sd ' ')"
    failed=1
  elif [ "$status" -ne 0 ]; then
    verdict="the fuzzer failed to run (exit status $status, nothing new in $found; $figures), see $log"
    failed=1
  else
    verdict="no input broke the reader ($figures)"
  fi
  echo "$t: $verdict"
  summary+=("$t: $verdict")
done

echo "== summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
