#!/usr/bin/env bash
# Installs, only if missing, what scripts/qemu-test.sh needs on Debian 12: the x86 emulator, a
# kernel whose modules include parport, parport_pc and ppdev, and cpio to pack the initramfs.
set -euo pipefail

want=(qemu-system-x86 linux-image-amd64 cpio)
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
