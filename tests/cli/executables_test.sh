#!/usr/bin/env bash
# The real executables from a script: exit codes, which stream each answer goes to, and, traced
# with strace, that help, version and a wrong command line reach for no port at all: no ioperm,
# no /dev/parport*, no look at the kernel's parallel ports.
# Usage: executables_test.sh VERSION PROGRAM...
set -uo pipefail

version=$1
shift
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run PROGRAM ARGS...: sets status, out and err; no terminal and no display, so that a program
# that wrongly went on to the panel would choose a bus and stop.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY "$@" </dev/null >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# Port access of a traced run: the calls and files that choosing a bus makes.
port_access() {
  env -u DISPLAY -u WAYLAND_DISPLAY strace -f -qq -e trace=ioperm,iopl,openat,open -o "$work/trace" "$@" \
    </dev/null >/dev/null 2>&1
  grep -E 'ioperm\(|iopl\(|/dev/parport|/proc/sys/dev/parport' "$work/trace"
}

command -v strace >/dev/null || fail "strace is missing (scripts/deps.sh test installs it)"

for program in "$@"; do
  name=$(basename "$program")

  for option in --help -h; do
    run "$program" "$option"
    [[ $status -eq 0 ]] || fail "$name $option: exit $status"
    [[ $out == "Usage: $name [OPTION]"* ]] || fail "$name $option: stdout: $out"
    [[ $out == *--loopback* && $out == *--ports* && $out == *--version* ]] || fail "$name $option: options missing"
    [[ -z $err ]] || fail "$name $option: stderr: $err"
  done

  for option in --version -V; do
    run "$program" "$option"
    [[ $status -eq 0 ]] || fail "$name $option: exit $status"
    [[ $out == "$name $version" ]] || fail "$name $option: stdout '$out', want '$name $version'"
    [[ -z $err ]] || fail "$name $option: stderr: $err"
  done

  for args in "--bogus" "-x" "stray" "--loopback 0x37G" "--ports --loopback" "--help=1"; do
    # shellcheck disable=SC2086
    run "$program" $args
    [[ $status -eq 2 ]] || fail "$name $args: exit $status, want 2"
    [[ -z $out ]] || fail "$name $args: stdout: $out"
    [[ $(wc -l <"$work/err") -eq 1 ]] || fail "$name $args: stderr is not one line: $err"
    [[ $err == "$name: "*"see '$name --help'" ]] || fail "$name $args: stderr: $err"
    # shellcheck disable=SC2086
    access=$(port_access "$program" $args)
    [[ -z $access ]] || fail "$name $args reached for a port: $access"
  done
  for args in "--help" "--version"; do
    access=$(port_access "$program" $args)
    [[ -z $access ]] || fail "$name $args reached for a port: $access"
  done

  # No display and no terminal: the panel cannot be shown anywhere, which must end in one line
  # and exit 1, never 0, so that a script or a service manager sees the failure. Nothing here
  # needs a display server, so this runs wherever the tests do.
  mkdir -p "$work/runtime"
  run env -u WAYLAND_SOCKET -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" "$program"
  [[ $status -eq 1 ]] || fail "$name with neither display nor terminal: exit $status, want 1"
  [[ -z $out ]] || fail "$name with neither display nor terminal: stdout: $out"
  # The port survey's lines come first; the refusal is the one last line, and it says why.
  last=$(tail -n 1 "$work/err")
  [[ $last == "$name: "*terminal* ]] ||
    fail "$name with neither display nor terminal: the last line does not say so: $err"
  [[ $(grep -c terminal "$work/err") -eq 1 ]] ||
    fail "$name with neither display nor terminal: not said in one line: $err"
  [[ -z $(grep -v "^$name: " "$work/err") ]] || fail "$name: a line without the program's name: $err"

  # The control: with no option the program chooses its bus (and then finds neither display nor
  # terminal, and stops before any register access), and the trace must see that.
  access=$(port_access "$program")
  [[ -n $access ]] || fail "$name with no option: the trace saw no bus being chosen; the checks above prove nothing"
done

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "all checks passed for: $*"
