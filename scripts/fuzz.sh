#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $MASUMEMO_FUZZ_BUILD_DIR) and runs
# each for the given number of seconds (default 60). Names after the seconds pick fuzzers.
# A finding stops that fuzzer, leaves its input as build-fuzz/findings/<fuzzer>/crash-*, and
# makes the script fail; keep such an input in tests/fuzz/regressions/<fuzzer without fuzz_>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MASUMEMO_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
all=(fuzz_canvas_file fuzz_settings fuzz_list_file fuzz_grid_ops fuzz_parts_file fuzz_posting_check
     fuzz_composer fuzz_command_line fuzz_references)
fuzzers=("${@:-${all[@]}}")

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMASUMEMO_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

status=0
for f in "${fuzzers[@]}"; do
    seeds="$root/tests/fuzz/regressions/${f#fuzz_}"
    corpus="$build/corpus/$f"
    findings="$build/findings/$f"
    mkdir -p "$corpus" "$findings"
    dirs=("$corpus")
    [ -d "$seeds" ] && dirs+=("$seeds")
    echo "== $f for ${seconds}s"
    # New inputs go to the first folder only, so the kept seeds stay as they are.
    if ! "$build/tests/fuzz/$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$findings/" -print_final_stats=1 "${dirs[@]}" >"$build/$f.log" 2>&1; then
        echo "FINDING in $f:" >&2
        grep -E "ERROR|SUMMARY|^canvas file|^kaomoji|^operation|^parts file|^posting check|^composer|^command line|^references|Test unit written" \
            "$build/$f.log" >&2 || tail -n 30 "$build/$f.log" >&2
        status=1
    else
        grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$build/$f.log" | tail -n 1
    fi
done
exit $status
