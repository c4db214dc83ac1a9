#!/usr/bin/env bash
# Checks who the set-up scripts act as, with cmake, ctest, cpack, apt-get and the program replaced
# by stubs that note their user: run as root in an ordinary user's checkout, building, testing and
# packaging happen as that user (a build folder root left behind is given back) and the program
# starts as the desktop's user in that user's session; in root's own checkout everything stays
# root's; an ordinary user installs through sudo. Needs root (to make the user); run by CTest as
# "setup".
set -euo pipefail
[ "$(id -u)" = 0 ] || { echo "needs root: skipped"; exit 77; }
source_dir=$(realpath "$(dirname "$0")/..")
work=$(mktemp -d)
user=voltaria-desktop
created=()
cleanup() {
  rm -rf "$work"
  for ((i = ${#created[@]} - 1; i >= 0; i--)); do
    case ${created[$i]} in
      user) userdel --remove "$user" 2>/dev/null || true ;;
      *) rm -rf "${created[$i]}" ;;
    esac
  done
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "-- log:" >&2; cat "$work/log" >&2; exit 1; }

id "$user" >/dev/null 2>&1 || { useradd --create-home --shell /bin/bash "$user"; created+=(user); }
uid=$(id -u "$user")
# The user's runtime folder, as the desktop's login makes it; only what this test made is removed.
[ -d /run/user ] || { mkdir -p /run/user; created+=(/run/user); }
[ -d "/run/user/$uid" ] || { mkdir "/run/user/$uid"; created+=("/run/user/$uid"); }
chown "$user:" "/run/user/$uid"
log=$work/log
: >"$log"
chmod 755 "$work"
chmod 666 "$log"
mkdir -p "$work/stub" "$work/co/build"
for tool in cmake ctest cpack apt-get; do
  printf '#!/bin/sh\necho "%s as $(id -un)" >>%s\n' "$tool" "$log" >"$work/stub/$tool"
done
printf '#!/bin/sh\necho "sudo $1"; exec "$@"\n' >"$work/stub/sudo"
printf '#!/bin/sh\necho "voltaria as $(id -un) home=$HOME runtime=${XDG_RUNTIME_DIR:-} args=$*" >>%s\n' "$log" \
  >"$work/co/build/voltaria"
chmod +x "$work"/stub/* "$work/co/build/voltaria"
cp -r "$source_dir/scripts" "$work/co/"
export PATH=$work/stub:$PATH
cd "$work/co"

echo "== root in the user's checkout"
chown -R "$user:" "$work/co"
mkdir build/left-by-root
bash scripts/build.sh >/dev/null
bash scripts/package.sh >/dev/null
bash scripts/test.sh >/dev/null
[ "$(stat -c %U build/left-by-root)" = "$user" ] || fail "the build folder was not given back to its owner"
[ "$(grep -c "as $user" "$log")" = 8 ] || fail "not built, packaged and tested as the checkout's owner"
grep -q "as root" "$log" && fail "something ran as root"

echo "== the program started as root"
: >"$log"
DISPLAY=:99 SUDO_USER=$user XDG_RUNTIME_DIR=/run/user/0 bash scripts/run.sh "/música/a b.mp3"
grep -qx "voltaria as $user home=$(getent passwd "$user" | cut -d: -f6) runtime=/run/user/$uid args=/música/a b.mp3" "$log" ||
  fail "not started in the desktop user's session"
if env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh 2>/dev/null; then fail "started without a desktop"; fi

echo "== root's own checkout"
: >"$log"
chown -R root: "$work/co"
bash scripts/build.sh >/dev/null
bash scripts/install-deps.sh
DISPLAY=:99 bash scripts/run.sh 2>/dev/null
[ "$(grep -c "as root" "$log")" = 5 ] || fail "root's own checkout not kept to root"

echo "== an ordinary user installs through sudo"
: >"$log"
runuser -u "$user" -- env PATH="$PATH" bash scripts/install-deps.sh >/dev/null
[ "$(grep -c "apt-get as $user" "$log")" = 2 ] || fail "apt-get not run through sudo"
echo "setup test passed"
