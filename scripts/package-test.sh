#!/usr/bin/env bash
# Makes the Debian package from an already built tree, checks it with lintian, unpacks it into a
# scratch root and starts the unpacked program as an ordinary user with a fresh home under Xvfb:
# the main window must appear, the user's data folder must be created under that home, nothing
# may be written beside the program, and the terminal must stay quiet. Run by CTest as "package".
# Usage: scripts/package-test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "${1:?usage: package-test.sh BUILD_DIR}")
title="Arvesto Voltaria-PRO 4.1 - www.arvesto.example"
app_id=example.arvesto.voltaria

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== package"
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/voltaria_*_amd64.deb)
[ "$(basename "$deb")" = voltaria_4.1.0_amd64.deb ] || fail "package named $(basename "$deb")"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
# Computed by dpkg-shlibdeps: versioned entries for the C library, the toolkit and the decoder.
for needed in "libc6 (>=" "libqt6widgets6 (>=" "libavformat59 (>=" "qt6-translations-l10n"; do
  [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed"
done

echo "== lintian"
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

echo "== unpacked into a scratch root"
root="$work/root"
dpkg-deb -x "$deb" "$root"
chmod -R a-w "$root"  # as an installed system folder is to an ordinary user
for f in usr/bin/voltaria "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
  usr/share/icons/hicolor/scalable/apps/voltaria.svg usr/share/icons/hicolor/48x48/apps/voltaria.png \
  usr/share/icons/hicolor/128x128/apps/voltaria.png; do
  [ -e "$root/$f" ] || fail "package lacks /$f"
done
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "menu entry does not validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; fail "AppStream metadata does not validate"; }

# An ordinary user with a fresh home; CI runs as root, which could write anywhere.
home="$work/home"
mkdir -p "$home" "$work/run" "$work/tmp"
as_user=()
if [ "$(id -u)" = 0 ]; then
  user=voltaria-teste
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
  chown "$user:" "$home" "$work/run" "$work/tmp"
  chmod 755 "$work"
  as_user=(runuser -u "$user" --)
fi
chmod 700 "$work/run"

echo "== first start of the installed program"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"
[ "$display" != ":" ] || fail "Xvfb did not start"
touch "$work/before-start"
"${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$display" \
  XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" "$root/usr/bin/voltaria" >"$work/program.out" 2>&1 &
program=$!
pids+=($program)

shown=
for _ in $(seq 300); do
  kill -0 "$program" 2>/dev/null || { cat "$work/program.out"; fail "the program ended"; }
  if DISPLAY=$display xwininfo -name "$title" 2>/dev/null | grep -q "Map State: IsViewable"; then
    shown=1
    break
  fi
  sleep 0.1
done
[ -n "$shown" ] || fail "no main window named \"$title\""
echo "main window shown"
sleep 2  # the show step and the library load have run; anything they print is in by now

data="$home/.local/share/voltaria"
[ -d "$data" ] || fail "no data folder $data"
[ "$(stat -c %U "$data")" = "$(stat -c %U "$home")" ] || fail "data folder not owned by the user"
written=$(find "$root" -newer "$work/before-start")
[ -z "$written" ] || fail "written beside the program: $written"
printed=$(cat "$work/program.out")
[ -z "$printed" ] || { echo "$printed"; fail "a normal start printed on the terminal"; }
echo "data folder $data created; nothing printed"
echo "package test passed"
