#!/usr/bin/env bash
# The desktop window on Wayland, in a private headless weston: the real vellix starts natively,
# tells the compositor its own size as the least it can have and keeps running; the panel's
# widgets survive what Qt's title bar offers (maximize, full screen, minimize) and close as
# Cancel; and a Wayland display that Qt's plugin cannot serve sends vellix to the terminal.
# Usage: wayland_e2e.sh path/to/vellix path/to/ui_qt_wayland_window
set -euo pipefail

bin=$(realpath "${1:?usage: $0 path/to/vellix path/to/ui_qt_wayland_window}")
widgets=$(realpath "${2:?usage: $0 path/to/vellix path/to/ui_qt_wayland_window}")
command -v weston >/dev/null || { echo "SKIP: weston is missing"; exit 77; }
plugins=$(dirname "$(find /usr/lib -path '*qt6/plugins/platforms/libqxcb.so' -print -quit 2>/dev/null)")
[[ -e $plugins/libqwayland-generic.so ]] || { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is missing"; exit 77; }

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
source "$(dirname "$0")/../../scripts/lib/weston.sh"
weston_pid=""
app_pid=""
make_workdir app_pid weston_pid
fail() { echo "FAIL: $*" >&2; exit 1; }

# A private runtime directory and socket; no X display, so nothing can fall back to it.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY QT_QPA_PLATFORM WAYLAND_SOCKET
export WAYLAND_DISPLAY=vellix-test
# --debug lets weston-screenshooter take a picture of the screen.
start_weston "$work" "$WAYLAND_DISPLAY" headless-backend.so 800 600 --debug ||
  fail "weston did not start: $(cat "$work/weston.log")"
mkdir "$work/run"

# 1. The real program, natively: its protocol log shows the window and its least size. There is
# no most: a compositor may start a maximized state whatever the client says, and Qt would bound
# the size it must then obey by that limit (tests/e2e/wayland_compositor_states_e2e.sh).
(cd "$work/run" && WAYLAND_DEBUG=client exec "$bin" </dev/null >"$work/vellix.out" 2>"$work/vellix.log") &
app_pid=$!
for _ in $(seq 100); do
  grep -q 'xdg_toplevel@[0-9]*\.configure' "$work/vellix.log" 2>/dev/null && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null || fail "vellix ended: $(grep -v '^\[' "$work/vellix.log" | head -5)"
grep -q 'set_title("Vellix' "$work/vellix.log" || fail "no Vellix window on the compositor"
min=$(grep -o 'set_min_size([0-9]*, [0-9]*)' "$work/vellix.log" | tail -n1 | tr -dc '0-9,')
max=$(grep -o 'set_max_size([0-9]*, [0-9]*)' "$work/vellix.log" | tail -n1 | tr -dc '0-9,')
[[ -n $min && $min != 0,0 && $max == 0,0 ]] || fail "the compositor was not told the least size alone (min $min, max $max)"
echo "ok: vellix runs natively on Wayland, at least ${min/,/ x }"
# A few refresh ticks later it is still there, and the compositor has nothing to complain of.
sleep 1.5
kill -0 "$app_pid" 2>/dev/null || fail "vellix ended while running: $(grep -v '^\[' "$work/vellix.log" | head -5)"
if command -v weston-screenshooter >/dev/null; then
  (cd "$work" && timeout 10 weston-screenshooter >/dev/null 2>&1) || true
  shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -n1 || true)
  [[ -n $shot && -n ${VELLIX_SCREENSHOT:-} ]] && cp "$shot" "$VELLIX_SCREENSHOT"
  [[ -n $shot ]] && echo "ok: screenshot taken"
fi
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
grep -E 'error|Protocol' "$work/vellix.log" | grep -v '^\[' && fail "vellix reported a Wayland error"

# 2. The widgets under what the title bar offers, and closing through it.
status=0
"$widgets" >"$work/widgets.log" 2>&1 || status=$?
if [[ $status != 0 ]] || grep -q 'Protocol error' "$work/widgets.log"; then
  cat "$work/widgets.log" >&2
  fail "the title bar's requests were not survived (status $status)"
fi
echo "ok: maximize and full screen refused, minimize keeps running, close ends as Cancel"

# 3. A compositor but no Qt Wayland plugin: the platform plugins are hidden in a private mount.
if unshare -m true 2>/dev/null; then
  hidden=$work/platforms
  mkdir "$hidden"
  find "$plugins" -maxdepth 1 -name '*.so' ! -name 'libqwayland*' -exec cp {} "$hidden" \;
  # Runs a command with the copy, without the Wayland plugins, mounted over the plugin directory.
  cat >"$work/hidden" <<SCRIPT
#!/usr/bin/env bash
exec unshare -m bash -c 'mount --bind "\$1" "\$2" && shift 2 && exec "\$@"' _ "$hidden" "$plugins" "\$@"
SCRIPT
  chmod +x "$work/hidden"
  set +e
  (cd "$work/run" && "$work/hidden" "$bin" </dev/null >/dev/null 2>"$work/noplugin.log")
  status=$?
  set -e
  [[ $status == 1 ]] || fail "without the plugin and without a terminal: status $status, expected 1"
  grep -q "no Qt platform plugin for \"wayland\" is installed (Debian package qt6-wayland), so the Wayland display $WAYLAND_DISPLAY cannot be used, and there is no terminal" "$work/noplugin.log" ||
    fail "without the plugin, no terminal: $(cat "$work/noplugin.log")"
  echo "ok: without Qt's Wayland plugin and a terminal, exit 1 with the reason"
  if command -v script >/dev/null; then
    # In a pseudo-terminal the terminal front-end takes over; Escape cancels it.
    (cd "$work/run" && { sleep 2; printf '\033'; sleep 1; } | TERM=xterm timeout 20 script -qfec "$work/hidden $bin" /dev/null >"$work/pty.log" 2>&1) || true
    grep -q 'cannot be used; using the terminal' "$work/pty.log" || fail "without the plugin, in a terminal: $(head -c 400 "$work/pty.log")"
    grep -q 'Data Value' "$work/pty.log" || fail "the terminal panel did not appear"
    echo "ok: without Qt's Wayland plugin, the terminal panel with the reason"
  fi
else
  echo "skipped: no private mounts here, so Qt's Wayland plugin cannot be hidden"
fi
echo "PASS"
