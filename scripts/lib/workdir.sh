# shellcheck shell=bash
# Sourced by the scripts and test scripts that need a private working directory.
# make_workdir [VARIABLE...]: sets `work` to a new private directory and, on exit, ends the
# processes whose pids the named variables hold then (those still empty are passed over), waits
# for them and removes the directory. A script that starts a server sets its variable later.
make_workdir() {
  work=$(mktemp -d)
  _workdir_pid_vars=("$@")
  trap _leave_workdir EXIT
}

_leave_workdir() {
  local name
  for name in "${_workdir_pid_vars[@]}"; do
    [[ -n ${!name:-} ]] && kill "${!name}" 2>/dev/null
  done
  wait 2>/dev/null
  rm -rf "$work"
}
