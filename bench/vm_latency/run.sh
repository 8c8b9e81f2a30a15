#!/usr/bin/env bash
# Boots the VM once and measures the bare forwarder and `orvanectl run` in the same boot.
# Usage: bench/vm_latency/run.sh [BUILD_DIR] [EVENTS]   (default build/release, 2000 events)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
events=${2:-2000}
harness=${ORVANE_VM_HARNESS:-$root/../shared/tools/vm/run-in-vm.sh}
[ -f "$harness" ] || { echo "no VM harness at $harness" >&2; exit 1; }
exec bash "$harness" -t 600 -f "$build/bench/vm_latency/bare_forwarder" \
    -f "$build/tools/orvanectl/orvanectl" "$build/bench/vm_latency/vm_latency" \
    /test/bare_forwarder /test/orvanectl "$events"
