# Sourced by the tests that run the desktop window on a private Wayland compositor.
# start_weston WORKDIR SOCKET BACKEND WIDTH HEIGHT [WESTON OPTION...]: starts weston with that
# back-end and screen on the socket SOCKET in XDG_RUNTIME_DIR and waits until the socket is
# there; weston_pid holds the compositor for the caller's cleanup. Returns 1, with weston's log
# in WORKDIR/weston.log, when it does not come up in 15 s.
start_weston() {
  local work=$1 socket=$2 backend=$3 width=$4 height=$5
  shift 5
  weston --backend="$backend" --use-pixman --width="$width" --height="$height" --socket="$socket" \
         --no-config --idle-time=0 "$@" --log="$work/weston.log" >/dev/null 2>&1 &
  weston_pid=$!
  for _ in $(seq 150); do
    [[ -S $XDG_RUNTIME_DIR/$socket ]] && return 0
    sleep 0.1
  done
  return 1
}
