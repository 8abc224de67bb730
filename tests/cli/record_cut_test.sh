#!/usr/bin/env bash
# A recording cut short by Ctrl+C (SIGINT) or by SIGTERM still makes a whole file: the real
# executables record the simulated port, are sent the signal, end with status 0 and a summary,
# and sigrok-cli and GTKWave's vcd2fst open the VCD; Python's csv module reads the CSV. Exits 77
# (skipped) when sigrok-cli, vcd2fst or python3 is not installed.
# Usage: record_cut_test.sh PROGRAM...
set -uo pipefail

missing=()
for tool in sigrok-cli vcd2fst python3; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  echo "SKIPPED: not installed: ${missing[*]} (bash scripts/deps.sh test installs them)"
  exit 77
fi

failures=0
source "$(dirname "$0")/../../scripts/lib/workdir.sh"
make_workdir
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# record PROGRAM SIGNAL FILE: starts a recording, waits until it has written its header, lets it
# run a little, sends the signal and waits for the end; sets status and err.
record() {
  local program=$1 signal=$2 file=$3
  rm -f "$file"
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" --record "$file" --port simulated </dev/null 2>"$work/err" &
  local pid=$!
  for _ in $(seq 100); do
    [[ -s $file ]] && break
    sleep 0.05
  done
  sleep 0.3
  kill "-$signal" "$pid"
  wait "$pid"
  status=$?
  err=$(cat "$work/err")
}

for program in "$@"; do
  name=$(basename "$program")
  for signal in INT TERM; do
    record "$program" "$signal" "$work/cut.vcd"
    [[ $status -eq 0 ]] || fail "$name --record cut by SIG$signal: exit $status: $err"
    [[ $err == *"$name: stopped: "*" samples, "*" longest gap "* ]] || fail "$name SIG$signal: no summary: $err"
    [[ $(tail -n 1 "$work/cut.vcd") == \#* ]] || fail "$name SIG$signal: the VCD does not end with a time: $(tail -n 3 "$work/cut.vcd")"
    # Read every sample: the file must be whole to the end.
    if ! sigrok-cli -I vcd -i "$work/cut.vcd" --show >"$work/show" 2>&1; then
      fail "$name SIG$signal: sigrok-cli cannot open the VCD: $(cat "$work/show")"
    elif ! grep -q '^Channels: 18$' "$work/show" || ! grep -q '^Logic sample count: [1-9]' "$work/show"; then
      fail "$name SIG$signal: sigrok-cli reads: $(cat "$work/show")"
    fi
    if ! vcd2fst "$work/cut.vcd" "$work/cut.fst" >"$work/fst.log" 2>&1 || [[ -s $work/fst.log ]]; then
      fail "$name SIG$signal: vcd2fst: $(cat "$work/fst.log")"
    fi

    record "$program" "$signal" "$work/cut.csv"
    [[ $status -eq 0 ]] || fail "$name --record .csv cut by SIG$signal: exit $status: $err"
    python3 - "$work/cut.csv" <<'PY' || fail "$name SIG$signal: the CSV does not parse"
import csv, sys
with open(sys.argv[1], newline="") as f:
    rows = list(csv.DictReader(f, strict=True))
assert rows and len(rows[0]) == 23 and rows[0]["time_us"] == "0.000", rows[:1]
PY
  done
done

((failures == 0)) && echo "recordings cut by SIGINT and SIGTERM open in sigrok-cli, vcd2fst and Python's csv"
exit $((failures > 0))
