#!/usr/bin/env bash
# Runs the set-up script with every package missing, as root and as a user with sudo rights, with
# stand-ins that record each apt-get call and the front end it got. The stand-in sudo resets the
# environment as sudo's default policy does, so only what is passed through it arrives.
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
STUB
chmod +x "$bin"/*

failed=0
check() {
  local who="$1" uid="$2" expected="$3"
  : >"$log"
  env -u DEBIAN_FRONTEND FAKE_UID="$uid" CALLS="$log" PATH="$bin:$PATH" bash "$setup" >/dev/null
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

check root 0 "apt-get update front-end=noninteractive
apt-get install front-end=noninteractive"
check "a user with sudo rights" 1000 "sudo
apt-get update front-end=noninteractive
sudo
apt-get install front-end=noninteractive"

exit "$failed"
