#!/usr/bin/env bash
# Installs the dependencies, builds a Release editor into build/release and starts it, passing
# on the arguments (a project file to open, say). The editor needs a display: an X server
# (DISPLAY), a Wayland compositor (WAYLAND_DISPLAY), or a Qt platform chosen by hand
# (QT_QPA_PLATFORM, e.g. "offscreen").
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset); try: xvfb-run -a bash scripts/run.sh" >&2
  exit 1
fi
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release --target velmora
exec build/release/bin/velmora "$@"
