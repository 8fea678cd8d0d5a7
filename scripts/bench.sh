#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its ratios next to their goals.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
MASUMEMO_BUILD_TYPE=Release MASUMEMO_BUILD_DIR="${MASUMEMO_BUILD_DIR:-$root/build-bench}" "$root/scripts/build.sh"
build="${MASUMEMO_BUILD_DIR:-$root/build-bench}"
echo "Masumemo benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
status=0
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    QT_QPA_PLATFORM=offscreen "$b" || status=1
done
exit $status
