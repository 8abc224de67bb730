#!/usr/bin/env bash
# Takes docs/screenshot.png from the real program: builds vellix if needed, runs it on a private
# X server (Xvfb) against the simulated port, waits for the first lamp refresh and captures the
# window. VELLIX_BIN=path uses an already built executable instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-$root/docs/screenshot.png}

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (packages xvfb, xdotool, imagemagick)" >&2; exit 1; }
done

bin=${VELLIX_BIN:-}
if [[ -z $bin ]]; then
  bash scripts/deps.sh build
  # The same build as scripts/run.sh, so a screenshot after a run costs no second build.
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLIX_TESTS=OFF >/dev/null
  cmake --build build/release --target vellix
  bin=$root/build/release/src/vellix
fi

source scripts/lib/workdir.sh
xvfb_pid=""
app_pid=""
make_workdir app_pid xvfb_pid

source scripts/lib/xvfb.sh
start_xvfb "$work" || { echo "screenshot: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

# A fresh working directory: no remembered port from config.ovm, and nothing written anywhere.
(cd "$work" && exec "$bin" >"$work/vellix.log" 2>&1) &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vellix' | head -n1) || true
[[ -n $wid ]] || { echo "screenshot: no Vellix window appeared" >&2; cat "$work/vellix.log" >&2; exit 1; }
sleep 1  # a few lamp refreshes (every 300 ms), so the lamps show the port, not the template

mkdir -p "$(dirname "$out")"
import -window "$wid" "$out"
echo "screenshot: wrote $out ($(identify -format '%wx%h' "$out"))"
