#!/usr/bin/env bash
# Starts the program from its build folder; it needs a desktop session. Run as root (through sudo,
# or in a root shell over a user's checkout), it starts the program as the desktop's user, in
# that user's session, so that it reaches the user's sound server.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "O Arvesto Voltaria precisa de uma sessão gráfica (desktop); nenhuma foi encontrada." >&2
  echo "A desktop session is needed to run build/voltaria. To try it without one:" >&2
  echo "  xvfb-run -s '-screen 0 1280x1024x24' build/voltaria" >&2
  exit 1
fi
. scripts/as-user.sh
user=$(desktop_user)
if [ -z "$user" ]; then
  if [ "$(id -u)" = 0 ]; then
    echo "Aviso: como root o Voltaria não alcança o servidor de som do desktop e pode tocar sem som;" >&2
    echo "rode scripts/run.sh como o usuário do desktop. / Warning: as root the program may not reach" >&2
    echo "the desktop's sound server and play in silence; run scripts/run.sh as the desktop's user." >&2
  fi
  exec build/voltaria "$@"
fi
# The user's own session: home, runtime folder (the sound server's socket) and session bus.
uid=$(id -u "$user")
session=(HOME="$(getent passwd "$user" | cut -d: -f6)" USER="$user" LOGNAME="$user")
runtime=/run/user/$uid
if [ -d "$runtime" ]; then session+=(XDG_RUNTIME_DIR="$runtime"); fi
if [ -S "$runtime/bus" ]; then session+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"); fi
# sudo passes on the user's X authority file; root's own (after su) is not the user's to read.
unset_auth=()
if [ -n "${XAUTHORITY:-}" ] && ! runuser -u "$user" -- test -r "$XAUTHORITY"; then unset_auth=(-u XAUTHORITY); fi
exec runuser -u "$user" -- env -u XDG_RUNTIME_DIR -u DBUS_SESSION_BUS_ADDRESS -u PULSE_SERVER "${unset_auth[@]}" \
  "${session[@]}" build/voltaria "$@"
