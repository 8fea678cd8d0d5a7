#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $MASUMEMO_FUZZ_BUILD_DIR) and runs
# each for the given number of seconds (default 60). Names after the seconds pick fuzzers. They
# run side by side, $MASUMEMO_FUZZ_JOBS at a time (one per core by default).
# A finding stops that fuzzer, leaves its input as build-fuzz/findings/<fuzzer>/crash-*, and
# makes the script fail; keep such an input in tests/fuzz/regressions/<fuzzer without fuzz_>/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MASUMEMO_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
all=(fuzz_canvas_file fuzz_settings fuzz_list_file fuzz_grid_ops fuzz_parts_file fuzz_posting_check
     fuzz_composer fuzz_command_line fuzz_references fuzz_pages)
fuzzers=("${@:-${all[@]}}")

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMASUMEMO_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers

# One fuzzer's run; a finding leaves $build/<fuzzer>.finding behind.
run_fuzzer() {
    local f="$1"
    local seeds="$root/tests/fuzz/regressions/${f#fuzz_}"
    local corpus="$build/corpus/$f"
    local findings="$build/findings/$f"
    mkdir -p "$corpus" "$findings"
    local dirs=("$corpus")
    [ -d "$seeds" ] && dirs+=("$seeds")
    # New inputs go to the first folder only, so the kept seeds stay as they are.
    if ! "$build/tests/fuzz/$f" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$findings/" -print_final_stats=1 "${dirs[@]}" >"$build/$f.log" 2>&1; then
        touch "$build/$f.finding"
        { echo "FINDING in $f:"
          grep -E "ERROR|SUMMARY|^canvas file|^kaomoji|^operation|^parts file|^posting check|^composer|^command line|^references|^pages|Test unit written" \
              "$build/$f.log" || tail -n 30 "$build/$f.log"; } >&2
    else
        echo "== $f for ${seconds}s: $(grep -E "^stat::number_of_executed_units" "$build/$f.log")"
    fi
}

jobs_at_once="${MASUMEMO_FUZZ_JOBS:-$(nproc)}"
for f in "${fuzzers[@]}"; do
    rm -f "$build/$f.finding"
    run_fuzzer "$f" &
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n || true
    done
done
wait
status=0
for f in "${fuzzers[@]}"; do
    [ -e "$build/$f.finding" ] && status=1
done
exit $status
