#!/usr/bin/env bash
# Boots the VM several times; in each boot the bare forwarder and `orvanectl run` run side by side,
# each on its own fake keyboard, and letters go through them in turn (see VmLatency.cpp). Prints
# each boot's summary line, then the spread of the ratios over the boots.
# Usage: bench/vm_latency/run.sh [BUILD_DIR] [PAIRS] [BOOTS]
#   (default build/release, 1450 pairs, 3 boots; VMHARNESS_SMP sets the guest's CPUs, default 1)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
pairs=${2:-1450}
boots=${3:-3}
harness=${ORVANE_VM_HARNESS:-$root/../shared/tools/vm/run-in-vm.sh}
[ -f "$harness" ] || { echo "no VM harness at $harness" >&2; exit 1; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for ((boot = 1; boot <= boots; ++boot)); do
    echo "== boot $boot of $boots (guest CPUs: ${VMHARNESS_SMP:-1})"
    bash "$harness" -t 600 -f "$build/bench/vm_latency/bare_forwarder" \
        -f "$build/tools/orvanectl/orvanectl" "$build/bench/vm_latency/vm_latency" \
        /test/bare_forwarder /test/orvanectl "$pairs" | tee -a "$log" || echo "boot $boot failed"
done
echo "== $boots boots, $pairs pairs each, guest CPUs: ${VMHARNESS_SMP:-1}"
grep -a '^RESULT' "$log" | sed 's/^RESULT //'
grep -a '^RESULT' "$log" | awk '
    { for (i = 1; i <= NF; ++i) if ($i ~ /^ratio=/) { v = substr($i, 7); if (++k % 2) lat[++n] = v; else cpu[n] = v } }
    function spread(a, n,   i, lo, hi) { lo = hi = a[1]; for (i = 2; i <= n; ++i) { if (a[i] < lo) lo = a[i]; if (a[i] > hi) hi = a[i] } return lo "-" hi }
    END { if (n) printf "spread over %d boots: latency ratio %s, cpu ratio %s\n", n, spread(lat, n), spread(cpu, n) }'
