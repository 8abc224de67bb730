#!/usr/bin/env bash
# Maximize and full screen started by the compositor itself, not by the program's title bar: the
# real vellix in weston (its X11 back-end inside a private Xvfb, so that keys reach it), weston's
# own bindings pressed with xdotool, on the panel and on the help box. A maximized configure
# carries a size the client must obey to the pixel by its next frame, or weston disconnects it.
# Each time the program must keep running and the window must have its own size again once
# weston has taken the state back; afterwards the panel still answers the keyboard: Escape ends it
# as Cancel, with status 0.
# Usage: wayland_compositor_states_e2e.sh path/to/vellix
set -euo pipefail

bin=$(realpath "${1:?usage: $0 path/to/vellix}")
for tool in weston Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done
[[ -n $(find /usr/lib -path '*weston*/x11-backend.so' -print -quit 2>/dev/null) ]] ||
  { echo "SKIP: weston's X11 back-end is missing"; exit 77; }
plugins=$(dirname "$(find /usr/lib -path '*qt6/plugins/platforms/libqxcb.so' -print -quit 2>/dev/null)")
[[ -e $plugins/libqwayland-generic.so ]] || { echo "SKIP: Qt's Wayland plugin (qt6-wayland) is missing"; exit 77; }

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
source "$(dirname "$0")/../../scripts/lib/weston.sh"
xvfb_pid=""
weston_pid=""
app_pid=""
make_workdir app_pid weston_pid xvfb_pid
fail() {
  echo "FAIL: $*" >&2
  [[ -f $work/vellix.log ]] && grep -v '^\[' "$work/vellix.log" | sed 's/^/  vellix: /' >&2
  exit 1
}

source "$(dirname "$0")/../../scripts/lib/xvfb.sh"
# weston's window fills the X screen, so the pointer is always over it and keys go to it.
start_xvfb "$work" 1024x768x24 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=vellix-states
start_weston "$work" "$socket" x11-backend.so 1024 768 || fail "weston did not start: $(cat "$work/weston.log")"

# Waits up to 10 s for a line matching the pattern in the protocol log after line $2.
await() {
  local pattern=$1 after=$2
  for _ in $(seq 100); do
    tail -n +"$((after + 1))" "$work/vellix.log" | grep -qE "$pattern" && return 0
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
alive() { kill -0 "$app_pid" 2>/dev/null || fail "vellix ended $1"; }
lines() { wc -l <"$work/vellix.log"; }
# The newest top-level window: its xdg_surface and xdg_toplevel ids.
newest_window() {
  surface=$(grep -oE 'get_xdg_surface\(new id xdg_surface@[0-9]+' "$work/vellix.log" | tail -n1 | grep -oE '[0-9]+$')
  toplevel=$(grep -oE "xdg_surface@$surface\.get_toplevel\(new id xdg_toplevel@[0-9]+" "$work/vellix.log" | grep -oE '[0-9]+$')
  [[ -n $surface && -n $toplevel ]] || fail "no xdg_toplevel in the protocol log"
}
geometry() { grep -oE "xdg_surface@$surface\.set_window_geometry\([0-9, ]*\)" "$work/vellix.log" | sed -n "$1" | sed 's/.*geometry//'; }

# Presses weston's binding for a state on the newest window: the state must come and go, and the
# window must run on at the size it had.
survives() {
  local keys=$1 state=$2 what=$3 own start granted last
  own=$(geometry 1p)
  [[ -n $own ]] || fail "the $what told weston no geometry"
  start=$(lines)
  xdotool key "$keys"
  # weston sends the state with the size of the screen or of its work area...
  await "xdg_toplevel@$toplevel\.configure\([1-9][0-9]*, [1-9][0-9]*," "$start" ||
    { alive "after $keys on the $what"; fail "weston sent the $what no $state state for $keys"; }
  granted=$(tail -n +"$((start + 1))" "$work/vellix.log" | grep -nE "xdg_toplevel@$toplevel\.configure\([1-9]" | head -n1 | cut -d: -f1)
  # ...and, asked to take it back, a configure that leaves the size to the client.
  await "xdg_toplevel@$toplevel\.configure\(0, 0," "$((start + granted))" ||
    { alive "with the $what in the $state state"; fail "the $what's $state state was kept"; }
  # Some frames later (the lamps and the caret are redrawn on their own) it still runs.
  sleep 1.5
  alive "after weston's $state state on the $what ($keys)"
  last=$(geometry '$p')
  [[ $last == "$own" ]] || fail "after the $state state the $what is $last, not $own"
  echo "ok: $keys ($state by weston): vellix runs on, the $what at its size $own"
}

# A Wayland session only: without DISPLAY vellix cannot fall back to the X server.
mkdir "$work/run"
(cd "$work/run" && exec env -u DISPLAY WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=client "$bin" \
   </dev/null >"$work/vellix.out" 2>"$work/vellix.log") &
app_pid=$!
# Mapped and active: the keyboard is the panel's.
await 'xdg_toplevel@[0-9]+\.configure\(0, 0, array\[[1-9]' 0 || fail "no active Vellix window on weston"
grep -q 'set_title("Vellix' "$work/vellix.log" || fail "the window on weston is not Vellix's"
sleep 0.5
newest_window
panel_toplevel=$toplevel
survives super+shift+m maximized panel
survives super+shift+f full-screen panel

# The help box, a window of a fixed size of its own.
start=$(lines)
xdotool key F1
await "get_toplevel" "$start" && await "xdg_toplevel@[0-9]+\.configure\(0, 0, array\[[1-9]" "$start" ||
  { alive "on F1"; fail "F1 opened no help box"; }
sleep 0.5
newest_window
[[ $toplevel != "$panel_toplevel" ]] || fail "F1 opened no window"
survives super+shift+m maximized "help box"
start=$(lines)
xdotool key Escape
await "xdg_toplevel@$toplevel\.destroy\(\)" "$start" || { alive "when the help box closed"; fail "Escape left the help box open"; }
# The keyboard goes back to the panel.
await "xdg_toplevel@$panel_toplevel\.configure\(0, 0, array\[[1-9]" "$start" || fail "the panel was not active again"

# The panel still answers the keyboard: Escape is Cancel.
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Escape did not end the panel"
status=0
wait "$app_pid" || status=$?
app_pid=""
[[ $status == 0 ]] || fail "vellix ended with status $status"
grep -v '^\[' "$work/vellix.log" | grep -qiE 'protocol error|error [0-9]+:' && fail "vellix reported a Wayland error"
echo "ok: Escape closes the help box, then ends the panel as Cancel"
echo "PASS"
