#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run-vm-test.sh HARNESS DRIVER ORVANECTL [FILE...]: boots the VM once and runs the end-to-end
# driver there, with orvanectl and the FILEs beside it in /test.
# Fails, never skips, when the harness is missing or the guest does not report a result.
set -uo pipefail
harness=$1 driver=$2 orvanectl=$3
shift 3
extra=()
for file in "$@"; do extra+=(-f "$file"); done
if [ ! -f "$harness" ]; then
    echo "FAIL: the VM harness is missing at $harness (clone shared/ beside the repository, or" \
         "configure with -DORVANE_VM_HARNESS=/path/to/run-in-vm.sh)"
    exit 1
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# uhid and the HID drivers, so that made-up Apple and PC keyboards bind as the real ones do.
VMHARNESS_MODULES="hid uhid hid-generic hid-apple" bash "$harness" -t 360 -f "$orvanectl" "${extra[@]}" "$driver" /test/orvanectl 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
case $status in
    0) ;;
    124) echo "FAIL: the VM timed out"; exit 1 ;;
    125) echo "FAIL: the VM stopped without a result (crash or kernel panic)"; exit 1 ;;
    2) echo "FAIL: the VM harness could not start (see its message above)"; exit 1 ;;
    *) echo "FAIL: the end-to-end driver reported failures (status $status)"; exit 1 ;;
esac
grep -q '^VM TESTS OK' "$log" || { echo "FAIL: the guest printed no result line"; exit 1; }
