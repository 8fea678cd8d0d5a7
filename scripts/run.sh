#!/usr/bin/env bash
# Installs what is missing, builds, and starts Masumemo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "masumemo: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "Start it from a desktop session, or run it in a virtual X server: xvfb-run -a $0" >&2
    exit 1
fi
if [ -n "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && ! xdpyinfo >/dev/null 2>&1; then
    echo "masumemo: the display $DISPLAY cannot be reached (is the X server running, and may you use it?)." >&2
    exit 1
fi
exec "${MASUMEMO_BUILD_DIR:-$root/build}/bin/masumemo"
