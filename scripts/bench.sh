#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its ratios next to their goals.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
MASUMEMO_BUILD_TYPE=Release MASUMEMO_BUILD_DIR="${MASUMEMO_BUILD_DIR:-$root/build-bench}" "$root/scripts/build.sh"
build="${MASUMEMO_BUILD_DIR:-$root/build-bench}"
status=0
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    QT_QPA_PLATFORM=offscreen "$b" || status=1
done
exit $status
