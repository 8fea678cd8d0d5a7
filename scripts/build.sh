#!/usr/bin/env bash
# Configures and builds Masumemo into build/ (or $MASUMEMO_BUILD_DIR). Extra arguments go to
# the CMake configure step, e.g. -DMASUMEMO_SANITIZE=ON. MASUMEMO_WERROR=ON treats warnings as
# errors; MASUMEMO_BUILD_TYPE picks the build type (RelWithDebInfo by default).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MASUMEMO_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${MASUMEMO_BUILD_TYPE:-RelWithDebInfo}" \
    -DMASUMEMO_WERROR="${MASUMEMO_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
