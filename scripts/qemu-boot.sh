#!/usr/bin/env bash
# Boots an image that scripts/qemu-image.sh packed: an x86-64 PC with the serial console on
# standard input and output (no escape character: every byte is the guest's), no display, no
# network, and what the caller adds (the parallel port and its printer). It powers off when the
# guest does or when its /init dies.
# Usage: scripts/qemu-boot.sh <image dir> <kernel command line> [QEMU arguments...]
# VELLIX_QEMU names the emulator; VELLIX_QEMU_ACCEL=kvm asks for hardware virtualisation.
set -euo pipefail

image=${1:?usage: $0 <image dir> <kernel command line> [QEMU arguments...]}
append=${2:?usage: $0 <image dir> <kernel command line> [QEMU arguments...]}
shift 2
# Software emulation boots in seconds and also works where a nested /dev/kvm hangs the guest.
# panic=-1 on the kernel command line with -no-reboot ends the emulator also if init dies.
exec "${VELLIX_QEMU:-qemu-system-x86_64}" -accel "${VELLIX_QEMU_ACCEL:-tcg}" -m 256M -nodefaults -no-user-config \
  -display none -no-reboot -kernel "$image/vmlinuz" -initrd "$image/initramfs.gz" -append "$append" \
  -chardev stdio,id=console,signal=off -serial chardev:console "$@"
