#!/usr/bin/env bash
# Boots a static test program as /init of the emulated PC (scripts/qemu-image.sh and
# scripts/qemu-boot.sh) with an ISA parallel port at 0x378; the guest prints "vellix-hw: PASS"
# on its serial console and powers off.
# Usage: scripts/qemu-test.sh <static test program> [kernel release]
# Needs: scripts/qemu-install.sh
set -euo pipefail

prog=${1:?usage: $0 <static test program> [kernel release]}
here=$(dirname "$0")
source "$here/lib/workdir.sh"
make_workdir
bash "$here/qemu-image.sh" "$prog" "$work/image" "" "${2:-}"
# timeout guards a hung guest.
timeout 300 bash "$here/qemu-boot.sh" "$work/image" "console=ttyS0 panic=-1 quiet" \
  -chardev null,id=printer -device isa-parallel,chardev=printer,iobase=0x378 </dev/null \
  | tee "$work/console.log" || true

grep -q '^vellix-hw: PASS' <(tr -d '\r' <"$work/console.log")
