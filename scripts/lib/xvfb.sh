# Sourced by the scripts that run the desktop window on a private X server.
# start_xvfb WORKDIR [GEOMETRY]: starts Xvfb on a display number the server picks itself, waits
# until it accepts clients, and points DISPLAY at it; xvfb_pid holds the server for the caller's
# cleanup. Returns 1, with the server's log in WORKDIR/xvfb.log, when it does not come up in 15 s.
start_xvfb() {
  local work=$1 geometry=${2:-800x600x24} fd display
  # The server writes the display number to this pipe once it is ready.
  exec {fd}<> <(:)
  # -noreset: the scripts' own short clients (xdotool) come and go; without it the server would
  # reset itself each time the last one leaves, which costs the measurements time.
  Xvfb -displayfd "$fd" -screen 0 "$geometry" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  read -r -t 15 -u "$fd" display || return 1
  exec {fd}>&-
  export DISPLAY=:$display
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}
