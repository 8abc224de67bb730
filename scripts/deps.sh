#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those missing, so a second run is quick.
# Usage: scripts/deps.sh [build|test]
set -euo pipefail

build_pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev libncurses-dev fonts-liberation)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-apps imagemagick tmux
           clang libclang-rt-14-dev desktop-file-utils appstream qemu-system-x86 linux-image-amd64 cpio)

want=("${build_pkgs[@]}")
if [[ "${1:-build}" == test ]]; then
  want+=("${test_pkgs[@]}")
  [[ -n "${VELLIX_EXTRA_PACKAGES:-}" ]] && read -r -a extra <<<"$VELLIX_EXTRA_PACKAGES" && want+=("${extra[@]}")
fi

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
