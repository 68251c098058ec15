#!/usr/bin/env bash
# Runs the set-up script with every package missing, as root and as a user with sudo rights, with
# stand-ins that record each apt-get call, the front end it got and the packages it was asked to
# install. The stand-in sudo resets the environment as sudo's default policy does, so only what
# is passed through it arrives.
set -euo pipefail
setup="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin="$work/bin"
mkdir -p "$bin"
log="$work/calls"

cat >"$bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
exit 1
STUB
cat >"$bin/id" <<'STUB'
#!/usr/bin/env bash
echo "$FAKE_UID"
STUB
cat >"$bin/sudo" <<'STUB'
#!/usr/bin/env bash
echo "sudo" >>"$CALLS"
exec env -i PATH="$PATH" CALLS="$CALLS" "$@"
STUB
cat >"$bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $1 front-end=${DEBIAN_FRONTEND:-unset}" >>"$CALLS"
if [ "$1" = install ]; then
  for a in "$@"; do
    case "$a" in install | -*) ;; *) echo "$a" >>"$CALLS.packages" ;; esac
  done
fi
STUB
chmod +x "$bin"/*

failed=0
run_setup() {
  local uid="$1"
  shift
  : >"$log"
  : >"$log.packages"
  env -u DEBIAN_FRONTEND FAKE_UID="$uid" CALLS="$log" PATH="$bin:$PATH" bash "$setup" "$@" >/dev/null
}

check_calls() {
  local who="$1" uid="$2" expected="$3"
  run_setup "$uid" test
  local got
  got=$(cat "$log")
  if [ "$got" != "$expected" ]; then
    echo "FAIL as $who: expected"
    echo "$expected"
    echo "got"
    echo "$got"
    failed=1
  else
    echo "ok as $who"
  fi
}

check_calls root 0 "apt-get update front-end=noninteractive
apt-get install front-end=noninteractive"
check_calls "a user with sudo rights" 1000 "sudo
apt-get update front-end=noninteractive
sudo
apt-get install front-end=noninteractive"

# What each use installs. Playing needs the build tools, the libraries the program folder links
# and what the game reads at run time, and none of the test tools; the tests need all of it too,
# with the sanitizer runtimes' symbolizer. No argument is the test set.
play_needs="build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libgl1-mesa-dev
  libgl1-mesa-dri libjpeg-dev libpng-dev libfontconfig-dev fonts-ipafont-gothic fonts-dejavu-core
  libfluidsynth-dev timgm6mb-soundfont libgtk-3-dev libcairo2-dev libassimp-dev"
test_only="clang libclang-rt-14-dev llvm-14 googletest libgtest-dev libgmock-dev libbenchmark-dev
  libxtst-dev xvfb xauth x11-utils xdotool"
check_packages() {
  local use="$1" wanted="$2" unwanted="$3"
  # shellcheck disable=SC2086
  run_setup 0 $use
  local p bad=""
  for p in $wanted; do
    grep -qx -- "$p" "$log.packages" || bad+=" missing $p;"
  done
  for p in $unwanted; do
    if grep -qx -- "$p" "$log.packages"; then bad+=" unwanted $p;"; fi
  done
  if [ -n "$bad" ]; then
    echo "FAIL for '${use:-no argument}':$bad"
    failed=1
  else
    echo "ok for '${use:-no argument}'"
  fi
}
check_packages play "$play_needs" "$test_only"
check_packages test "$play_needs $test_only" ""
check_packages "" "$play_needs $test_only" ""

# A use it does not know installs nothing and fails.
: >"$log"
if env FAKE_UID=0 CALLS="$log" PATH="$bin:$PATH" bash "$setup" tests >/dev/null 2>&1; then
  echo "FAIL: an unknown use succeeded"
  failed=1
elif [ -s "$log" ]; then
  echo "FAIL: an unknown use called apt-get"
  failed=1
else
  echo "ok for an unknown use"
fi

exit "$failed"
