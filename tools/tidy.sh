#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with the project's .clang-tidy over every source of a configured build.
# Usage: tools/tidy.sh [BUILD_DIR]   (default build/asan, which tools/test.sh configures)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/asan}
[ -f "$build/compile_commands.json" ] || { echo "tidy: no compile_commands.json in $build" >&2; exit 2; }
# run-clang-tidy exits non-zero when any check fires (all are errors in .clang-tidy).
run-clang-tidy -p "$build" -quiet -j "$(nproc)" \
    "$root/(model|engine|platform/linux|tools/orvanectl|tools/ui-preview|ui|app|tests)/" > "$build/tidy.log" 2>&1 || {
    grep -E 'error:|warning:' "$build/tidy.log" | sort -u >&2
    echo "tidy: clang-tidy found problems (full log: $build/tidy.log)" >&2
    exit 1
}
echo "tidy: clean"
