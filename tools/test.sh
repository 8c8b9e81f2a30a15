#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Orvane needs, builds it with the address and undefined-behaviour sanitizers and
# warnings as errors, runs every test, then each fuzz target briefly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cd "$root"
# In parallel (at least four at once), as most people run the tests: a test that shares a file
# or folder with another fails here instead of hiding.
CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(( $(nproc) > 4 ? $(nproc) : 4 ))} \
    cmake --workflow --preset ci
# clang-tidy over the same build, after the tests so a finding never hides a failing test.
"$root/tools/tidy.sh" "$root/build/asan"
# Every reader of outside text under libFuzzer for a few seconds each (tools/fuzz.sh runs longer).
"$root/tools/fuzz.sh" 5
