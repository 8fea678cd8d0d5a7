#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, widget and end-to-end).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${MASUMEMO_BUILD_DIR:-$root/build}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
