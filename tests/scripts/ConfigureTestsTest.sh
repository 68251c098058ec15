#!/usr/bin/env bash
# Configures the source tree in folders of its own with the test packages hidden from CMake, as on
# a machine set up only for playing: the program folder's targets must always configure, the
# tests only where their packages are there, and asking for the tests without them must fail.
#   ConfigureTestsTest.sh <source folder> <C compiler> <C++ compiler>
set -euo pipefail
source_dir="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
compilers=(-DCMAKE_C_COMPILER="$2" -DCMAKE_CXX_COMPILER="$3")

failed=0
n=0
# name; PELLMOOR_TESTS; packages hidden; configure succeeds; test targets present.
check() {
  local name="$1" tests="$2" hidden="$3" configures="$4" with_tests="$5"
  n=$((n + 1))
  local dir="$work/build$n" args=() p t targets
  for p in $hidden; do args+=(-DCMAKE_DISABLE_FIND_PACKAGE_"$p"=ON); done
  [ -n "$tests" ] && args+=(-DPELLMOOR_TESTS="$tests")
  local bad=""
  if cmake -S "$source_dir" -B "$dir" -G "Unix Makefiles" "${compilers[@]}" "${args[@]}" >"$work/out" 2>&1; then
    if [ "$configures" = no ]; then
      bad+=" configured;"
    else
      targets=$(cmake --build "$dir" --target help)
      for t in brackle WEN_Secret Config assets; do
        grep -qx "\.\.\. $t" <<<"$targets" || bad+=" no target $t;"
      done
      for t in scene_tests bench_BossFrameCost; do
        if grep -qx "\.\.\. $t" <<<"$targets"; then
          [ "$with_tests" = yes ] || bad+=" has $t;"
        else
          [ "$with_tests" = no ] || bad+=" no target $t;"
        fi
      done
    fi
  elif [ "$configures" = yes ]; then
    bad+=" configure failed;"
  fi
  if [ -n "$bad" ]; then
    echo "FAIL $name:$bad"
    tail -n 20 "$work/out" | sed 's/^/  | /'
    failed=1
  else
    echo "ok $name"
  fi
}

check "by default without GoogleTest and Google Benchmark" "" "GTest benchmark" yes no
check "by default without Google Benchmark" "" "benchmark" yes no
check "by default with every test package" "" "" yes yes
check "asked for without GoogleTest" ON "GTest" no -
check "asked for without Google Benchmark" ON "benchmark" no -

exit "$failed"
