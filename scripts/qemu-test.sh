#!/usr/bin/env bash
# Boots a static test program as /init of a QEMU x86-64 guest that has an ISA parallel port at
# 0x378, with the host's kernel and its parport, parport_pc and ppdev modules; the guest prints
# "vellix-hw: PASS" on its serial console and powers off.
# Usage: scripts/qemu-test.sh <static test program> [kernel release]
# Needs: scripts/qemu-install.sh
set -euo pipefail

prog=${1:?usage: $0 <static test program> [kernel release]}
release=${2:-}
if [[ -z $release ]]; then
  kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1 || true)
  [[ -n $kernel ]] || { echo "qemu-test: no kernel in /boot; run scripts/qemu-install.sh" >&2; exit 1; }
  release=${kernel#/boot/vmlinuz-}
fi
kernel=/boot/vmlinuz-$release
drivers=/lib/modules/$release/kernel/drivers

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root/modules"
cp "$prog" "$work/root/init"
chmod 755 "$work/root/init"
for module in parport/parport parport/parport_pc char/ppdev; do
  src=$(ls "$drivers/$module".ko* 2>/dev/null | head -n 1 || true)
  [[ -n $src ]] || { echo "qemu-test: $module not found under $drivers" >&2; exit 1; }
  dst=$work/root/modules/$(basename "$module").ko
  # The guest's init loads modules itself and cannot unpack them.
  case $src in
    *.xz) xz -dc "$src" >"$dst" ;;
    *.zst) zstd -dcq "$src" >"$dst" ;;
    *.gz) gzip -dc "$src" >"$dst" ;;
    *) cp "$src" "$dst" ;;
  esac
done
(cd "$work/root" && find . | cpio -o -H newc --quiet) | gzip -1 >"$work/initramfs.gz"

# Software emulation boots in seconds and also works where a nested /dev/kvm hangs the guest;
# VELLIX_QEMU_ACCEL=kvm asks for hardware virtualisation.
accel=${VELLIX_QEMU_ACCEL:-tcg}
# panic=-1 with -no-reboot ends the emulator also if init dies; timeout guards a hung guest.
timeout 300 qemu-system-x86_64 -accel "$accel" -m 256M -nographic -no-reboot \
  -vga none -nic none -parallel null \
  -kernel "$kernel" -initrd "$work/initramfs.gz" \
  -append "console=ttyS0 panic=-1 quiet" </dev/null | tee "$work/console.log" || true

grep -q '^vellix-hw: PASS' <(tr -d '\r' <"$work/console.log")
