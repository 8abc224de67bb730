#!/usr/bin/env bash
# What a screen reader hears of the desktop panel: the real vellix in a private X server with a
# private session bus and the AT-SPI registry, read with pyatspi (accessibility_probe.py).
# Usage: accessibility_e2e.sh path/to/vellix
set -euo pipefail

bin=$(realpath "${1:?usage: $0 path/to/vellix}")
here=$(cd "$(dirname "$0")" && pwd)
launcher=""
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [[ -x $l ]] && launcher=$l && break
done
[[ -n $launcher ]] || { echo "SKIP: at-spi-bus-launcher is missing"; exit 77; }
for tool in Xvfb xdotool dbus-run-session dbus-send; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
# Debian's own Python, which python3-pyatspi installs into, even where another python3 comes first.
py=/usr/bin/python3
[[ -x $py ]] || py=$(command -v python3)
"$py" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: pyatspi is missing"; exit 77; }

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
xvfb_pid=""
make_workdir xvfb_pid

source "$here/../../scripts/lib/xvfb.sh"
start_xvfb "$work" || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
mkdir -p "$work/run"

# Everything that needs the session bus runs inside it, and ends with it.
export bin work launcher here py
dbus-run-session -- bash -c '
  set -euo pipefail
  "$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
  launcher_pid=$!
  # Qt speaks to the accessibility bus only when asked to, or when a screen reader runs.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  for _ in $(seq 100); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  (cd "$work/run" && exec "$bin" >"$work/vellix.log" 2>&1) &
  app_pid=$!
  status=0
  timeout 90 "$py" "$here/accessibility_probe.py" || status=$?
  kill "$app_pid" "$launcher_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if ((status)); then sed "s/^/  vellix: /" "$work/vellix.log" >&2; fi
  exit "$status"
'
