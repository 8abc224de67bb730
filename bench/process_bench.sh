#!/usr/bin/env bash
# Whole-process figures in a real X server: start to first frame, idle CPU and peak memory of
# vellix, of its peer (the same panel written directly against Qt Widgets) and of a minimal Qt 6
# window (the floor), measured in the same run. Prints "name vellix peer minimal".
# Usage: process_bench.sh <vellix> <peer_qt_panel> <minimal_qt> [idle seconds]
set -euo pipefail
# Absolute, because the programs run in a scratch directory of their own.
vellix=$(realpath "$1") peer=$(realpath "$2") minimal=$(realpath "$3") idle=${4:-60}
# Built beside the peer.
first_map=$(dirname "$peer")/first_map
[[ -x $first_map ]] || { echo "process_bench: $first_map is not built" >&2; exit 1; }
runs=${VELLIX_BENCH_RUNS:-10}

source "$(dirname "$0")/../scripts/lib/workdir.sh"
xvfb_pid=""
make_workdir xvfb_pid
source "$(dirname "$0")/../scripts/lib/xvfb.sh"
start_xvfb "$work" 1024x768x24 || { echo "process_bench: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Waits until a window with that title is mapped; a program that never shows one ends the run.
wait_for_window() {
  local title=$1 pause=$2 pid=$3 give_up=$(( $(date +%s) + 30 ))
  until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    if ! kill -0 "$pid" 2>/dev/null || (( $(date +%s) > give_up )); then
      echo "process_bench: no window '$title' appeared" >&2
      kill "$pid" 2>/dev/null || true
      exit 1
    fi
    sleep "$pause"
  done
}

# Milliseconds from exec to the window being mapped, once, and the CPU milliseconds the
# program had used by then, over all of its threads, those already ended included (the kernel's
# task clock, which a busy machine does not stretch as it stretches the wall clock). first_map
# waits for the server's own map event: polling with xdotool rounded each start up to the poll's
# period and took a core of the two from the program it measured.
first_frame() {
  local exe=$1 title=$2
  (cd "$work" && exec "$first_map" "$title" "$exe")
}

# CPU seconds used over $idle seconds of steady running, and peak resident memory in KiB; an
# optional third argument is a command that sets the window up first.
idle_cost() {
  local exe=$1 title=$2 prepare=${3:-} pid ticks0 ticks1 hwm
  (cd "$work" && exec "$exe" 2>/dev/null) &
  pid=$!
  wait_for_window "$title" 0.05 "$pid"
  [[ -n $prepare ]] && $prepare
  sleep 2
  ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$idle"
  ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  local hz
  hz=$(getconf CLK_TCK)
  echo "$(awk -v a="$ticks0" -v b="$ticks1" -v hz="$hz" 'BEGIN { printf "%.3f", (b - a) / hz }') $hwm"
}

# TriState cleared, the usual state for driving the data lines: the Output row's Continous box,
# then the TriState button (dialog units 288,164 and 75,178 at 96 dpi, as the e2e test clicks),
# then back into the Data Value field (193,41), so that its caret blinks as in the row with
# TriState set and the two differ only in the lamp.
tristate_off() {
  local wid
  wid=$(xdotool search --onlyvisible --name '^Vellix' | head -n1)
  xdotool mousemove --window "$wid" 432 267 click 1 sleep 0.2 mousemove --window "$wid" 113 289 click 1 \
    sleep 0.2 mousemove --window "$wid" 290 67 click 1
}

# Start-up: the best and the median of $runs for each program, the three taking turns so that a
# slow moment of the machine does not fall on one of them alone. The best is the floor the
# machine allows; the median is what a start usually costs, which one lucky run does not move.
declare -A walls cpus
for _ in $(seq "$runs"); do
  for who in v p m; do
    case $who in
      v) read -r t c < <(first_frame "$vellix" '^Vellix') ;;
      p) read -r t c < <(first_frame "$peer" '^Qt peer of Vellix$') ;;
      m) read -r t c < <(first_frame "$minimal" '^Minimal Qt$') ;;
    esac
    [[ -n ${t:-} ]] || { echo "process_bench: a start of '$who' gave no figure" >&2; exit 1; }
    walls[$who]+="$t "
    cpus[$who]+="$c "
  done
done
best() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | head -n1; }
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Both panels start with the focus in the Data Value field, whose caret blinks while they idle.
read -r cpu_v mem_v < <(idle_cost "$vellix" '^Vellix')
read -r cpu_p mem_p < <(idle_cost "$peer" '^Qt peer of Vellix$')
read -r cpu_m mem_m < <(idle_cost "$minimal" '^Minimal Qt$')
read -r cpu_t _ < <(idle_cost "$vellix" '^Vellix' tristate_off)
echo "start_to_first_frame_ms $(best "${walls[v]}") $(best "${walls[p]}") $(best "${walls[m]}")"
echo "cpu_to_first_frame_ms $(best "${cpus[v]}") $(best "${cpus[p]}") $(best "${cpus[m]}")"
echo "median_start_to_first_frame_ms $(median "${walls[v]}") $(median "${walls[p]}") $(median "${walls[m]}")"
echo "median_cpu_to_first_frame_ms $(median "${cpus[v]}") $(median "${cpus[p]}") $(median "${cpus[m]}")"
echo "idle_cpu_seconds_per_${idle}s $cpu_v $cpu_p $cpu_m"
echo "peak_rss_kib $mem_v $mem_p $mem_m"
echo "tristate_cleared_idle_cpu_seconds_per_${idle}s $cpu_t $cpu_v"
