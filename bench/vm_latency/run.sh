#!/usr/bin/env bash
# Boots the VM once and measures the bare forwarder and `orvanectl run` in the same boot.
# Usage: bench/vm_latency/run.sh [BUILD_DIR] [EVENTS] [ROUNDS]
#   (default build/release, 1000 letter events per round, 4 rounds of each program)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
events=${2:-1000}
rounds=${3:-4}
harness=${ORVANE_VM_HARNESS:-$root/../shared/tools/vm/run-in-vm.sh}
[ -f "$harness" ] || { echo "no VM harness at $harness" >&2; exit 1; }
exec bash "$harness" -t 600 -f "$build/bench/vm_latency/bare_forwarder" \
    -f "$build/tools/orvanectl/orvanectl" "$build/bench/vm_latency/vm_latency" \
    /test/bare_forwarder /test/orvanectl "$events" "$rounds"
