#!/usr/bin/env bash
# The real executables from a script: exit codes, which stream each answer goes to, and, traced
# with strace, that help, version and a wrong command line reach for no port at all: no ioperm,
# no /dev/parport*, no look at the kernel's parallel ports.
# Usage: executables_test.sh VERSION PROGRAM...
set -uo pipefail

version=$1
shift
failures=0
source "$(dirname "$0")/../../scripts/lib/workdir.sh"
make_workdir

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

  # An answer that cannot be written is a failure, said in one line.
  for option in --help --version; do
    env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$option" </dev/null >/dev/full 2>"$work/err"
    status=$?
    [[ $status -eq 1 ]] || fail "$name $option >/dev/full: exit $status, want 1"
    [[ $(cat "$work/err") == "$name: write error: No space left on device" ]] ||
      fail "$name $option >/dev/full: stderr: $(cat "$work/err")"
  done

  # Standard error closed: /dev/null takes its place before anything else is opened, so that no
  # device or file the program opens receives its messages.
  env -u DISPLAY -u WAYLAND_DISPLAY strace -qq -e trace=openat -o "$work/trace" "$program" --ports \
    </dev/null >/dev/null 2>&-
  landed=$(awk '/"\/dev\/null"/ { guarded = 1; next } guarded && / = [012]$/' "$work/trace")
  grep -q '"/dev/null", O_WRONLY) = 2$' "$work/trace" || fail "$name 2>&-: /dev/null was not opened as descriptor 2"
  [[ -z $landed ]] || fail "$name 2>&-: opened on a standard descriptor: $landed"

  # No display and no terminal: the panel cannot open, which is a failure, said on the last line
  # of standard error after the start-up lines about the ports. Nothing here needs a display
  # server, so this runs wherever the tests do.
  mkdir -p "$work/runtime"
  run env -u WAYLAND_SOCKET -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime" "$program"
  [[ $status -eq 1 ]] || fail "$name with neither display nor terminal: exit $status, want 1"
  [[ -z $out ]] || fail "$name with neither display nor terminal: stdout: $out"
  last=$(tail -n 1 "$work/err")
  case $name in
    vellix) want="vellix: no display to open a window on"*"no terminal on standard input and output" ;;
    *) want="$name: standard input and output must be a terminal" ;;
  esac
  # shellcheck disable=SC2053
  [[ $last == $want ]] || fail "$name with neither display nor terminal: last line of stderr: $last"

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
