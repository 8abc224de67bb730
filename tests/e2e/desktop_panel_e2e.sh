#!/usr/bin/env bash
# The desktop panel end to end: starts a private X server and the real program against the
# simulated port, clicks check boxes, bit buttons and the list with xdotool, reads lamp and face
# pixels from captures of the window, and ends once with Cancel (config.ovm untouched) and once
# with OK (config.ovm written). Usage: desktop_panel_e2e.sh path/to/vellix
set -euo pipefail

bin=$(realpath "${1:?usage: $0 path/to/vellix}")
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
xvfb_pid=""
app_pid=""
make_workdir app_pid xvfb_pid
fail() { echo "FAIL: $*" >&2; [[ -f $work/vellix.log ]] && sed 's/^/  vellix: /' "$work/vellix.log" >&2; exit 1; }

source "$(dirname "$0")/../../scripts/lib/xvfb.sh"
start_xvfb "$work" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

# Pixels of the 8-point dialog font at 96 dpi: 6 x 13 base units, so x*6/4 and y*13/8, rounded.
px() { echo $(( ($1 * 6 + 2) / 4 )); }
py() { echo $(( ($1 * 13 + 4) / 8 )); }
# Centre pixel of a lamp (12 x 12 at the template position) and of a bit button's face (11 x 11
# centred in a 9 x 8 unit button).
lamp() { echo "$(( $(px "$1") + 5 )) $(( $(py "$2") + 5 ))"; }
face() { echo "$(( $(px "$1") + 7 )) $(( $(py "$2") + 6 ))"; }

YELLOW="255,255,0"
GREY="192,192,192"
BLACK="0,0,0"

capture() { import -window "$wid" "$work/cap.png" 2>/dev/null; }
pixel() { convert "$work/cap.png" -format "%[fx:int(255*p{$1,$2}.r+.5)],%[fx:int(255*p{$1,$2}.g+.5)],%[fx:int(255*p{$1,$2}.b+.5)]" info:; }

# Waits until the pixel at x y has the colour; the program repaints on its own timer.
expect_pixel() {
  local x=$1 y=$2 want=$3 what=$4 got=""
  for _ in $(seq 50); do
    capture
    got=$(pixel "$x" "$y")
    [[ $got == "$want" ]] && { echo "ok: $what"; return 0; }
    sleep 0.1
  done
  fail "$what: pixel ($x,$y) is $got, expected $want"
}

click() {  # x y in dialog units, inside the window
  xdotool mousemove --window "$wid" "$(px "$1")" "$(py "$2")" click 1
}

start() {
  (cd "$work/run" && exec "$bin" >"$work/vellix.log" 2>&1) &
  app_pid=$!
  wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vellix' | head -n1) || true
  [[ -n $wid ]] || fail "no Vellix window appeared"
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
  local size
  size=$(xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}')
  [[ $size == 549x375 ]] || fail "client area is $size, expected 549x375"
  title=$(xdotool getwindowname "$wid")
  [[ $title == *"simulated port"* ]] || { echo "SKIP: not on the simulated port ($title)"; exit 77; }
}

finish() {  # waits for the program to end by itself
  for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
  wait "$app_pid" || fail "the program ended with status $?"
  app_pid=""
}

mkdir -p "$work/run"
config=$work/run/config.ovm

echo "== run 1: bits and lamps, then Cancel"
printf '0x0378' >"$config"
touch -d '2001-02-03 04:05:06' "$config"
before=$(stat -c '%Y %s' "$config")
start
# The first refresh puts Busy out (pin 17 is high after the start byte 0x24).
expect_pixel $(lamp 69 97) "$GREY" "Busy lamp follows the port"
expect_pixel $(lamp 72 161) "$YELLOW" "TriState lamp lit at start"
expect_pixel $(face 103 45) "$BLACK" "D3 face set (the byte the probe left is 0xAA)"

click 288 164       # Output "Continous"
click 75 178        # TriState button: data lines driven
expect_pixel $(lamp 72 161) "$GREY" "TriState lamp out"
expect_pixel $(face 71 174) "$GREY" "TriState face clear"
expect_pixel $(lamp 103 34) "$YELLOW" "D3 lamp shows the data latch"
expect_pixel $(lamp 87 34) "$GREY" "D4 lamp shows the data latch"

click 240 37        # Data "Continous"
click 107 49        # D3 button
expect_pixel $(face 103 45) "$GREY" "D3 face clear after the click"
expect_pixel $(lamp 103 34) "$GREY" "D3 lamp out: 0xA2 written"
expect_pixel $(lamp 135 34) "$YELLOW" "D1 lamp still lit"

click 334 216       # Cancel
finish
[[ $(stat -c '%Y %s' "$config") == "$before" && $(cat "$config") == 0x0378 ]] || fail "Cancel touched config.ovm"
echo "ok: Cancel left config.ovm untouched"

echo "== run 2: pick the port, then OK"
rm -f "$config"
start
click 306 101       # the Base Addr list: focus it (and drop it down)
xdotool key Escape   # fold it up again; the panel stays
sleep 0.3
kill -0 "$app_pid" 2>/dev/null || fail "Escape on the dropped list closed the panel"
xdotool key Down     # the framework selects the first entry
sleep 0.3
click 274 216       # OK
finish
[[ -f $config ]] || fail "OK wrote no config.ovm"
[[ $(cat "$config") == 0x0378 ]] || fail "config.ovm holds '$(cat "$config")', expected 0x0378"
echo "ok: OK wrote config.ovm"
echo "PASS"
