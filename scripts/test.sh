#!/usr/bin/env bash
# Builds and runs every test: once plain, once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
jobs=$(nproc)
for variant in debug sanitize; do
  dir=build/$variant
  opts=(-DCMAKE_BUILD_TYPE=Debug -DVELLIX_WERROR=ON)
  [[ $variant == sanitize ]] && opts+=(-DVELLIX_SANITIZE=ON)
  cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "== tests ($variant)"
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
echo "== fuzz (60 s per target)"
bash scripts/fuzz.sh 60
echo "== Debian package: install, start and purge on a fresh Debian 12"
bash scripts/package-check.sh
