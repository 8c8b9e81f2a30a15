#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Boots the VM several times; in each boot the bare forwarder and `orvanectl run` run side by side,
# each on its own fake keyboard, and letters go through them in turn (see VmLatency.cpp). Prints
# each boot's summary line, then the spread of the ratios over the boots.
# Usage: bench/vm_latency/run.sh [BUILD_DIR] [PAIRS] [BOOTS]
#   (default build/release, 1450 pairs, 3 boots)
# Environment:
#   VMHARNESS_SMP            the guest's CPUs (default 1)
#   ORVANE_BENCH_PRIORITY    "realtime": Orvane's input thread asks for the real-time class
#                            (`run --realtime`); by default it runs in the ordinary one, as the
#                            forwarder does
#   ORVANE_BENCH_ICOUNT=N    the guest's clock counts instructions (QEMU -icount shift=N, 2^N ns
#                            each) instead of following the host's: times become counts of work,
#                            free of the host's load, though blind to cache and TLB costs
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
pairs=${2:-1450}
boots=${3:-3}
harness=${ORVANE_VM_HARNESS:-$root/../shared/tools/vm/run-in-vm.sh}
[ -f "$harness" ] || { echo "no VM harness at $harness" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mode="guest CPUs: ${VMHARNESS_SMP:-1}, clock: host"
if [ -n "${ORVANE_BENCH_ICOUNT:-}" ]; then
    # The harness starts qemu-system-x86_64 from the PATH: this one adds the option.
    real=$(command -v qemu-system-x86_64)
    mkdir "$work/bin"
    printf '#!/bin/sh\nexec %q -icount shift=%d,sleep=on "$@"\n' "$real" "$ORVANE_BENCH_ICOUNT" \
        > "$work/bin/qemu-system-x86_64"
    chmod +x "$work/bin/qemu-system-x86_64"
    export PATH="$work/bin:$PATH"
    mode="guest CPUs: ${VMHARNESS_SMP:-1}, clock: instructions (icount shift=$ORVANE_BENCH_ICOUNT)"
fi
for ((boot = 1; boot <= boots; ++boot)); do
    echo "== boot $boot of $boots ($mode)"
    bash "$harness" -t 600 -f "$build/bench/vm_latency/bare_forwarder" \
        -f "$build/tools/orvanectl/orvanectl" "$build/bench/vm_latency/vm_latency" \
        /test/bare_forwarder /test/orvanectl "$pairs" "${ORVANE_BENCH_PRIORITY:-default}" |
        tee -a "$work/log" || echo "boot $boot failed"
done
echo "== $boots boots, $pairs pairs each, $mode"
grep -a '^RESULT' "$work/log" | sed 's/^RESULT //'
grep -a '^RESULT' "$work/log" | awk '
    { k = 0; for (i = 1; i <= NF; ++i) if ($i ~ /^ratio=/) { v = substr($i, 7); if (k++ == 0) lat[++n] = v; else cpu[n] = v } }
    function spread(a, n,   i, lo, hi) { lo = hi = a[1]; for (i = 2; i <= n; ++i) { if (a[i] < lo) lo = a[i]; if (a[i] > hi) hi = a[i] } return lo "-" hi }
    END { if (n) printf "spread over %d boots: latency ratio %s, cpu ratio %s\n", n, spread(lat, n), spread(cpu, n) }'
