#!/usr/bin/env bash
# Installs what Orvane needs, builds it with the address and undefined-behaviour sanitizers and
# warnings as errors, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cd "$root"
cmake --workflow --preset ci
# clang-tidy over the same build, after the tests so a finding never hides a failing test.
"$root/tools/tidy.sh" "$root/build/asan"
