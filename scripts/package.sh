#!/usr/bin/env bash
# Builds Vellix for release and packs it as a Debian package: build/package/vellix_<version>_<arch>.deb.
# Install it with `sudo apt install ./build/package/vellix_*.deb`, which pulls in what it needs.
# Usage: scripts/package.sh [extra CMake options, e.g. -DVELLIX_SETCAP_ON_INSTALL=ON]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
dir=build/pkg
out=$PWD/build/package
# --fresh: options given to an earlier run (such as the setcap one) must not stick.
cmake --fresh -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLIX_TESTS=OFF "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -rf "$out"
(cd "$dir" && cpack -G DEB -B "$out")
rm -rf "$out/_CPack_Packages"  # the staging tree; only the package is wanted
ls "$out"/*.deb
