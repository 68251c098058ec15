#!/usr/bin/env bash
# Runs the long fuzz script in a copy of the tree whose set-up, cmake and fuzz programs are
# stand-ins: one fuzzer ends its run cleanly, one ends on an input it wrote (the same name an
# earlier run left, as when a fault is found again), one stops without writing anything beside an
# input an earlier run left. Like the real targets, each stand-in moves to another folder before it
# touches the paths it was given.
set -euo pipefail
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/tree"
bin="$work/bin"
elsewhere="$work/elsewhere"
mkdir -p "$root/scripts" "$bin" "$elsewhere" "$root/build-fuzz/tests/fuzz"
cp "$script" "$root/scripts/fuzz.sh"
echo 'exit 0' >"$root/scripts/setup.sh"
printf '#!/usr/bin/env bash\nexit 0\n' >"$bin/cmake"
for t in settings score enemymap; do
  mkdir -p "$root/tests/fuzz/corpus/$t"
  echo "seed of $t" >"$root/tests/fuzz/corpus/$t/seed-$t"
done

cat >"$root/build-fuzz/tests/fuzz/fuzz_standin" <<'STUB'
#!/usr/bin/env bash
target=${0##*fuzz_}
corpus= prefix=
for arg in "$@"; do
  case "$arg" in
    -artifact_prefix=*) prefix=${arg#-artifact_prefix=} ;;
    -*) ;;
    *) corpus=$arg ;;
  esac
done
cd "$ELSEWHERE"
if [ ! -f "$corpus/seed-$target" ]; then
  echo "cannot read the corpus $corpus" >&2
  exit 1
fi
echo "#2	INITED cov: 10 ft: 11 corp: 1/9b exec/s: 0 rss: 40Mb" >&2
case "$target" in
  settings)
    echo "#900	DONE   cov: 17 ft: 20 corp: 3/30b lim: 4 exec/s: 900 rss: 41Mb" >&2
    echo "stat::number_of_executed_units: 900" >&2
    exit 0 ;;
  score)
    echo "==1==ERROR: AddressSanitizer: heap-buffer-overflow" >&2
    echo "crash input" >"${prefix}crash-0123"
    exit 1 ;;
  enemymap)
    echo "ERROR: no interesting inputs were found. Is the code instrumented for coverage? Exiting." >&2
    exit 1 ;;
esac
STUB
chmod +x "$bin/cmake" "$root/build-fuzz/tests/fuzz/fuzz_standin"
for t in settings score enemymap; do
  ln -s fuzz_standin "$root/build-fuzz/tests/fuzz/fuzz_$t"
done
# What earlier runs left.
mkdir -p "$root/build-fuzz/found/score" "$root/build-fuzz/found/enemymap"
echo "crash input" >"$root/build-fuzz/found/score/crash-0123"
echo "older input" >"$root/build-fuzz/found/enemymap/crash-4567"
touch -d '2020-01-01' "$root/build-fuzz/found/score/crash-0123" "$root/build-fuzz/found/enemymap/crash-4567"

failed=0
# run <expected exit status> <target ...>: the script's output, with its exit status checked.
run() {
  local expected="$1" status=0
  shift
  out=$(ELSEWHERE="$elsewhere" PATH="$bin:$PATH" bash "$root/scripts/fuzz.sh" 1 "$@" 2>&1) || status=$?
  if [ "$status" != "$expected" ]; then
    echo "FAIL: fuzz.sh $* exited with $status, expected $expected"
    failed=1
  fi
}
# expect <pattern> / refuse <pattern>: a line of the last output does / does not match.
expect() {
  if ! grep -Eq "$1" <<<"$out"; then
    echo "FAIL: no line matches '$1'"
    failed=1
  fi
}
refuse() {
  if grep -Eq "$1" <<<"$out"; then
    echo "FAIL: a line matches '$1':"
    grep -E "$1" <<<"$out"
    failed=1
  fi
}

run 1 settings score enemymap
expect "^score: an input broke the reader.*$root/build-fuzz/found/score/crash-0123"
expect "^enemymap: the fuzzer failed to run"
refuse "^enemymap:.*(broke|crash-4567)"
expect "^settings: no input broke the reader \(cov 10 at the start, 17 at the end, 900 runs\)"
refuse "^settings:.*(broke the reader:|failed)"
# The summary repeats every verdict after the last run.
expect "== summary"
[ "$(sed -n '/^== summary/,$p' <<<"$out" | grep -Ec '^(settings|score|enemymap): ')" = 3 ] ||
  { echo "FAIL: the summary lacks a target"; failed=1; }
if [ "$failed" -ne 0 ]; then echo "$out"; fi

run 0 settings
expect "^settings: no input broke the reader"
if [ "$failed" -ne 0 ]; then echo "$out"; fi

[ "$failed" -eq 0 ] && echo "ok"
exit "$failed"
