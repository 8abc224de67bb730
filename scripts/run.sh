#!/usr/bin/env bash
# Builds Vellix (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLIX_TESTS=OFF >/dev/null
cmake --build build/release --target vellix vellix-term
exec build/release/src/vellix "$@"
