#!/usr/bin/env bash
# The real vellix against X displays that refuse it: a server that wants a cookie the client
# lacks (as with sudo in a desktop session), a screen number the server does not have, and a
# display with no server. In a pseudo-terminal the terminal panel takes over after one line
# saying why; without a terminal the program ends with status 1 and that line. It never aborts,
# and a server that ends with its last client is still there when Qt connects.
# Usage: display_refusal_e2e.sh path/to/vellix
set -euo pipefail

bin=$(realpath "${1:?usage: $0 path/to/vellix}")
for tool in Xvfb script; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

source "$(dirname "$0")/../../scripts/lib/workdir.sh"
xvfb_pid=""
make_workdir xvfb_pid
fail() { echo "FAIL: $*" >&2; exit 1; }

# An authority file with one cookie for any display: family 0xFFFF, empty address and number,
# the protocol name and 16 random bytes, each behind a two-byte length.
printf '\xff\xff\x00\x00\x00\x00\x00\x12MIT-MAGIC-COOKIE-1\x00\x10' >"$work/cookie"
head -c 16 /dev/urandom >>"$work/cookie"

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -auth "$work/cookie" -screen 0 800x600x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 15 -u "$fd" number || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
exec {fd}>&-
unset WAYLAND_DISPLAY WAYLAND_SOCKET QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/run"

# A display number with no server behind it.
dead=700
while [[ -e /tmp/.X11-unix/X$dead ]]; do dead=$((dead + 1)); done
cases=(
  ":$number|$work/no-cookie|the X display :$number refused the connection (Authorization required"
  ":$number.1|$work/cookie|the X display :$number.1 has no screen 1"
  ":$dead|$work/cookie|the X display :$dead cannot be reached"
)
for c in "${cases[@]}"; do
  IFS='|' read -r display auth reason <<<"$c"
  export DISPLAY=$display XAUTHORITY=$auth
  # Without a terminal: status 1 and the line.
  set +e
  (cd "$work/run" && "$bin" </dev/null >/dev/null 2>"$work/err.log")
  status=$?
  set -e
  [[ $status == 1 ]] || fail "DISPLAY=$display without a terminal: status $status, expected 1: $(cat "$work/err.log")"
  grep -qF "vellix: $reason" "$work/err.log" && grep -qF ", and there is no terminal on standard input and output" "$work/err.log" ||
    fail "DISPLAY=$display without a terminal said: $(cat "$work/err.log")"
  # In a pseudo-terminal: the line, then the terminal panel, which Escape cancels.
  set +e
  (cd "$work/run" && { sleep 2; printf '\033'; sleep 1; } | TERM=xterm timeout 20 script -qfec "$bin" /dev/null >"$work/pty.log" 2>&1)
  status=$?
  set -e
  [[ $status == 0 ]] || fail "DISPLAY=$display in a terminal: status $status: $(head -c 300 "$work/pty.log")"
  grep -qF "vellix: $reason" "$work/pty.log" && grep -qF "; using the terminal" "$work/pty.log" ||
    fail "DISPLAY=$display in a terminal said: $(head -c 400 "$work/pty.log")"
  grep -q 'Data Value' "$work/pty.log" || fail "DISPLAY=$display: the terminal panel did not appear"
  echo "ok: DISPLAY=$display: $reason...; the terminal, or status 1 without one"
done
[[ -z $(ls "$work/run") ]] || fail "something was left in the working directory: $(ls "$work/run")"

# With the cookie the same server opens the window: still running after the check and Qt's start.
export DISPLAY=:$number XAUTHORITY=$work/cookie
(cd "$work/run" && exec "$bin" </dev/null >/dev/null 2>"$work/err.log") &
app=$!
sleep 3
kill -0 "$app" 2>/dev/null || fail "with the cookie vellix ended: $(cat "$work/err.log")"
kill "$app"
wait "$app" 2>/dev/null || true
grep -q 'using the terminal\|refused the connection' "$work/err.log" && fail "with the cookie: $(cat "$work/err.log")"
echo "ok: with the cookie, the window opens"

# A server started with -terminate ends when its last client leaves; the display check's own
# connection must not be that last client before Qt has connected, or Qt finds no server and
# ends the program.
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 800x600x24 -nolisten tcp -terminate >"$work/xvfb-terminate.log" 2>&1 &
terminating_pid=$!
read -r -t 15 -u "$fd" terminating || fail "Xvfb -terminate did not start: $(cat "$work/xvfb-terminate.log")"
exec {fd}>&-
export DISPLAY=:$terminating
unset XAUTHORITY
(cd "$work/run" && exec "$bin" </dev/null >/dev/null 2>"$work/err.log") &
app=$!
sleep 3
kill -0 "$app" 2>/dev/null || fail "on a server that ends with its last client, vellix ended: $(cat "$work/err.log")"
kill -0 "$terminating_pid" 2>/dev/null || fail "the server ended under vellix"
kill "$app"
wait "$app" 2>/dev/null || true
# vellix was its last client: the server ends with it.
for _ in $(seq 50); do kill -0 "$terminating_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$terminating_pid" 2>/dev/null && { kill "$terminating_pid"; fail "the server outlived its last client"; }
grep -q 'could not connect\|using the terminal' "$work/err.log" && fail "on a server that ends with its last client: $(cat "$work/err.log")"
echo "ok: a server that ends with its last client stays for the window"
echo "PASS"
