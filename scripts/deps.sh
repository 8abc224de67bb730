#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those missing, so a second run is quick.
# Usage: scripts/deps.sh [build|test|qemu]
set -euo pipefail

# libxcb1-dev, libxau-dev and libwayland-dev: the display check asks X and Wayland servers with
# the client libraries Qt's platform plugins use.
build_pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev libncurses-dev fonts-liberation
            libxcb1-dev libxau-dev libwayland-dev)
# The x86 emulator, a kernel whose modules include parport, parport_pc and ppdev, and cpio to
# pack the guest's initramfs: for the hardware test.
qemu_pkgs=(qemu-system-x86 linux-image-amd64 cpio)
# debootstrap and zstd: the package check's fresh Debian 12 root and its cached copy; lintian:
# Debian's own checks of the built package; strace:
# proof that a wrong command line reaches for no port; weston and qt6-wayland: the desktop window
# on a headless Wayland compositor; dbus, at-spi2-core and pyatspi: the accessibility test's
# session bus, AT-SPI registry and reader; sigrok-cli and gtkwave (its vcd2fst): readers that
# no one here wrote, which must open the recordings.
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-apps imagemagick tmux weston qt6-wayland
           clang libclang-rt-14-dev desktop-file-utils appstream groff-base debootstrap zstd lintian strace
           dbus-daemon dbus-bin at-spi2-core python3-pyatspi sigrok-cli gtkwave
           "${qemu_pkgs[@]}")

case "${1:-build}" in
  build) want=("${build_pkgs[@]}") ;;
  test) want=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
  qemu) want=("${qemu_pkgs[@]}") ;;
  *) echo "usage: $0 [build|test|qemu]" >&2; exit 2 ;;
esac

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
