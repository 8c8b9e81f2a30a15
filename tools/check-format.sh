#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ source differs from what clang-format makes of it with the project's
# .clang-format; lists the files. `tools/check-format.sh --fix` rewrites them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
[ -n "$format" ] || { echo "check-format: clang-format is missing (tools/install-deps.sh)" >&2; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null ||
    find model engine platform ui app tools tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = --fix ]; then
    "$format" -i "${files[@]}"
    exit 0
fi
status=0
for file in "${files[@]}"; do
    if ! "$format" "$file" | cmp -s - "$file"; then
        echo "check-format: $file differs from clang-format's layout" >&2
        status=1
    fi
done
[ $status -eq 0 ] && echo "check-format: ${#files[@]} files as clang-format lays them out"
exit $status
