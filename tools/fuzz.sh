#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets (the `fuzz` preset: clang with
# the address and undefined-behaviour sanitizers) and runs each for SECONDS (default 5), starting
# from the test data and from what earlier runs kept in build/fuzz/corpus/. A finding stops the
# run; its input is saved in build/fuzz/findings/. Targets: key_mapping setting_values
# settings_file replay_lines desktop_entry plasma_applets usage_map top_rows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(key_mapping setting_values settings_file replay_lines desktop_entry plasma_applets
             usage_map top_rows)
fi
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

seeds() {
    case $1 in
        key_mapping) echo tests/data/*mapping*.json ;;
        setting_values) echo fuzz/seeds/setting_values/* ;;
        settings_file) echo tests/data/settings/* ;;
        replay_lines) echo tests/data/*.jsonl ;;
        desktop_entry) echo tests/data/autostart/* ;;
        plasma_applets) echo fuzz/seeds/plasma_applets/* ;;
        usage_map) echo fuzz/seeds/usage_map/* ;;
        top_rows) echo fuzz/seeds/top_rows/* ;;
        *) echo "tools/fuzz.sh: unknown target $1" >&2; exit 2 ;;
    esac
}

mkdir -p build/fuzz/findings build/fuzz/logs
for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus"
    # shellcheck disable=SC2046 # the seed globs are meant to split
    cp $(seeds "$target") "$corpus"/
    log=build/fuzz/logs/$target.log
    if ! build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix=build/fuzz/findings/"$target"- "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "FAIL: fuzz_$target found a fault (input in build/fuzz/findings/)"
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: $runs inputs in ${seconds}s, $((runs / seconds)) per second, no finding"
done
