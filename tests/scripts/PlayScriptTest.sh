#!/usr/bin/env bash
# Runs the play script from a copy of the repository's layout in which the set-up script, cmake
# and the built game are stand-ins that record their calls, once for each kind of session: the
# game must start only where there is a display to show it on, and the build must come first.
set -euo pipefail
play="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
repo="$work/repo"
bin="$work/bin"
log="$work/calls"
mkdir -p "$repo/scripts" "$repo/build/program" "$bin"
cp "$play" "$repo/scripts/play.sh"

cat >"$repo/scripts/setup.sh" <<'STUB'
echo "setup $*" >>"$CALLS"
STUB
cat >"$bin/cmake" <<'STUB'
#!/usr/bin/env bash
case "$*" in *--build*) echo "cmake build" >>"$CALLS" ;; *) echo "cmake configure" >>"$CALLS" ;; esac
STUB
cat >"$repo/build/program/brackle" <<'STUB'
#!/usr/bin/env bash
echo "brackle" >>"$CALLS"
STUB
chmod +x "$bin/cmake" "$repo/build/program/brackle"

failed=0
# session name; environment; expected status; whether the game starts.
check() {
  local name="$1" session="$2" status="$3" starts="$4"
  : >"$log"
  local got=0
  # shellcheck disable=SC2086
  env -i PATH="$bin:$PATH" CALLS="$log" $session bash "$repo/scripts/play.sh" >"$work/out" 2>&1 || got=$?
  local expected_calls="setup play
cmake configure
cmake build"
  if [ "$starts" = yes ]; then expected_calls+=$'\nbrackle'; fi
  local bad=""
  [ "$got" = "$status" ] || bad+=" exit status $got, not $status;"
  [ "$(cat "$log")" = "$expected_calls" ] || bad+=" calls were: $(tr '\n' ' ' <"$log");"
  if [ "$starts" = no ]; then
    grep -q "graphical session (X11 or Wayland)" "$work/out" || bad+=" no word of the graphical session;"
    grep -qF "$repo/build/program/brackle" "$work/out" || bad+=" the program's path is not named;"
  fi
  if [ -n "$bad" ]; then
    echo "FAIL $name:$bad"
    sed 's/^/  | /' "$work/out"
    failed=1
  else
    echo "ok $name"
  fi
}

check "without a display" "" 1 no
check "with empty DISPLAY and WAYLAND_DISPLAY" "DISPLAY= WAYLAND_DISPLAY=" 1 no
check "under X11" "DISPLAY=:7" 0 yes
check "under Wayland" "WAYLAND_DISPLAY=wayland-1" 0 yes

exit "$failed"
