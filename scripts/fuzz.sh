#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the sanitizers in build/fuzz, then runs each one for
# the given number of seconds from its seed corpus in fuzz/corpus/. A finding fails the script
# and leaves the input that caused it in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build/fuzz
targets=(config_reader data_value)

# -O1 with debug information and assertions kept: fast enough to explore, readable when it finds.
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DVELLIX_FUZZ=ON -DVELLIX_SANITIZE=ON -DVELLIX_TESTS=ON -DVELLIX_QT=OFF -DVELLIX_TERM=OFF \
  -DVELLIX_WERROR=ON >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

mkdir -p "$dir/findings"
# The harnesses work in temporary directories; keep them in the build tree and remove them after.
export TMPDIR=$PWD/$dir/tmp
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
trap 'rm -rf "$TMPDIR"' EXIT
for target in "${targets[@]}"; do
  # New inputs go to the first directory; the committed seeds are only read.
  corpus=$dir/corpus/$target
  mkdir -p "$corpus"
  opts=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$PWD/$dir/findings/$target-")
  [[ -f fuzz/$target.dict ]] && opts+=(-dict="fuzz/$target.dict")
  echo "== fuzz $target (${seconds} s)"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$dir/fuzz/${target}_fuzz" "${opts[@]}" "$corpus" "fuzz/corpus/$target"
done
