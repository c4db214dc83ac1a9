#!/usr/bin/env bash
# Starts the program from its build folder; it needs a desktop session.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "O Arvesto Voltaria precisa de uma sessão gráfica (desktop); nenhuma foi encontrada." >&2
  echo "A desktop session is needed to run build/voltaria. To try it without one:" >&2
  echo "  xvfb-run -s '-screen 0 1280x1024x24' build/voltaria" >&2
  exit 1
fi
exec build/voltaria "$@"
