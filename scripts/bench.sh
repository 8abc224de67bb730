#!/usr/bin/env bash
# Runs every benchmark and prints one table: each figure beside its reference, as a ratio.
# Usage: scripts/bench.sh [idle seconds, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
dir=build/bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLIX_BENCH=ON -DVELLIX_TESTS=OFF >/dev/null
cmake --build "$dir" >/dev/null

rows=()
# One table row: name, value, reference, what the reference is. A figure that did not come
# shows as "-", and so does the ratio then.
row() {
  local v=${2:--} ref=${3:--} ratio
  ratio=$(awk -v a="$v" -v b="$ref" 'BEGIN { if (a ~ /^[0-9.]+$/ && b > 0) printf "%.2f", a / b; else print "-" }')
  rows+=("$(printf '%-38s %14s %14s %8s  %s' "$1" "$v" "$ref" "$ratio" "$4")")
}

# Micro benchmarks: nanoseconds per call.
csv=$("$dir/bench/vellix_bench" --benchmark_format=csv --benchmark_min_time=0.5 2>/dev/null | grep '^"')
ns() { echo "$csv" | awk -F, -v n="\"$1\"" '$1 == n { printf "%.2f", $3 }'; }
row "ReadPortByte, simulated bus (ns)" "$(ns Port_Read_Layer)" "$(ns Port_Read_Bare)" "bare bus call; goal <= 1.05"
row "WritePortByte, simulated bus (ns)" "$(ns Port_Write_Layer)" "$(ns Port_Write_Bare)" "bare bus call; goal <= 1.05"
row "refresh, headless, lamps steady (ns)" "$(ns Refresh_Headless_Steady)" "$(ns Refresh_Headless_Changing)" "vs all 19 lamps changing"
if [[ -x "$dir/bench/vellix_qt_bench" ]]; then
  qcsv=$(QT_QPA_PLATFORM=offscreen "$dir/bench/vellix_qt_bench" --benchmark_format=csv --benchmark_min_time=0.5 2>/dev/null | grep '^"')
  qns() { echo "$qcsv" | awk -F, -v n="\"$1\"" '$1 == n { printf "%.2f", $3 }'; }
  row "refresh, Qt offscreen, steady (ns)" "$(qns Refresh_Qt_Steady)" "$(ns Refresh_Headless_Steady)" "vs headless"
  row "refresh, Qt offscreen, 19 change (ns)" "$(qns Refresh_Qt_Changing)" "$(qns Refresh_Qt_Steady)" "vs Qt steady"
fi
if [[ -x "$dir/bench/term_bytes" ]]; then
  # The reference is the program's first full screen, which term_bytes reports on stderr.
  notes=$(mktemp)
  read -r idle_bytes change_bytes < <("$dir/bench/term_bytes" "$dir/src/vellix-term" 2>"$notes") || true
  screen_bytes=$(awk '/^first full screen:/ { print $4 }' "$notes")
  [[ -n ${idle_bytes:-} ]] || { echo "term_bytes failed:" >&2; cat "$notes" >&2; }
  rm -f "$notes"
  row "terminal bytes per idle tick" "${idle_bytes:-}" "${screen_bytes:-}" "first full screen; goal: 0"
  row "terminal bytes per lamp change" "${change_bytes:-}" "${screen_bytes:-}" "first full screen"
fi
if [[ -x "$dir/bench/guest_port_bench" ]]; then
  # Nanoseconds per access to the emulated port of the hardware test's QEMU guest. The boot
  # script looks for the hardware test's PASS line, which this program does not print, so its
  # status is ignored and the figures are read from the console it passes through.
  guest=$(bash scripts/qemu-test.sh "$dir/bench/guest_port_bench" 2>&1 | tr -d '\r' | grep -ao 'vellix-hw-bench: .*' || true)
  read -r _ _ read_v _ read_ref < <(grep -a ' ReadPortByte ' <<<"$guest") || true
  read -r _ _ write_v _ write_ref < <(grep -a ' WritePortByte ' <<<"$guest") || true
  [[ -n ${read_v:-} ]] || echo "guest_port_bench reported no figures: ${guest:-no output}" >&2
  row "ReadPortByte, QEMU guest (ns)" "${read_v:-}" "${read_ref:-}" "bare inb on 0x378; goal <= 1.05"
  row "WritePortByte, QEMU guest (ns)" "${write_v:-}" "${write_ref:-}" "bare outb on 0x378; goal <= 1.05"
fi
if [[ -x "$dir/bench/record_guest_bench" ]]; then
  # --record in the QEMU guest against a bare loop of the same three reads, by each way.
  recorder=$("$dir/bench/record_guest_bench" 2>/dev/null || true)
  [[ -n $recorder ]] || echo "record_guest_bench reported no figures" >&2
  pick() { awk -v a="$1" -v b="$2" -v f="$3" '$1 == a && $2 == b { print $f }' <<<"$recorder"; }
  row "--record rate, direct I/O (samples/s)" "$(pick rate direct 3)" "$(pick rate direct 4)" "bare loop of the reads; goal >= 0.9"
  row "--record rate, direct I/O (samples/s)" "$(pick rate direct 3)" "$(pick stamped direct 3)" "bare loop with a clock read per round"
  row "--record rate, ppdev (samples/s)" "$(pick rate ppdev 3)" "$(pick rate ppdev 4)" "bare loop of the ioctls; goal >= 0.9"
  row "--record longest gap, direct I/O" "$(pick gap direct 3) $(pick gap direct 4)" "" "in 5 s"
  row "--record longest gap, ppdev" "$(pick gap ppdev 3) $(pick gap ppdev 4)" "" "in 5 s"
  peak() { awk -v f="$1" '$1 == "peak" { print $f }' <<<"$recorder"; }
  row "--record peak memory, 60 s (KiB)" "$(peak 3)" "$(peak 2)" "after 5 s; goal: flat (1.0)"
fi
if [[ -x "$dir/src/vellix" && -x "$dir/bench/peer_qt_panel" && -x "$dir/bench/minimal_qt" ]]; then
  # A failed run (said on stderr) leaves its rows in the table with "-". Each figure of vellix is
  # set against the peer (the same panel written directly against Qt Widgets) and against the
  # minimal window, the floor of any Qt program.
  process=$(bash bench/process_bench.sh "$dir/src/vellix" "$dir/bench/peer_qt_panel" "$dir/bench/minimal_qt" "${1:-60}" || true)
  figure() { awk -v n="$1" -v f="$2" '$1 ~ "^" n { print $f }' <<<"$process"; }
  row "start to first frame (ms)" "$(figure start 2)" "$(figure start 3)" "Qt Widgets peer; goal <= 1.0"
  row "start to first frame (ms)" "$(figure start 2)" "$(figure start 4)" "minimal Qt window (floor)"
  row "median start to first frame (ms)" "$(figure median_start 2)" "$(figure median_start 3)" "Qt Widgets peer; goal <= 1.0"
  row "CPU time to first frame (ms)" "$(figure cpu_to 2)" "$(figure cpu_to 3)" "Qt Widgets peer; goal <= 1.0"
  row "median CPU time to first frame (ms)" "$(figure median_cpu 2)" "$(figure median_cpu 3)" "Qt Widgets peer; goal <= 1.0"
  row "CPU time to first frame (ms)" "$(figure cpu_to 2)" "$(figure cpu_to 4)" "minimal Qt window (floor)"
  row "idle CPU seconds in ${1:-60} s" "$(figure idle 2)" "$(figure idle 3)" "Qt Widgets peer; goal <= 1.0"
  row "idle CPU seconds in ${1:-60} s" "$(figure idle 2)" "$(figure idle 4)" "minimal Qt window (floor)"
  row "peak resident memory (KiB)" "$(figure peak 2)" "$(figure peak 3)" "Qt Widgets peer; goal <= 1.0"
  row "peak resident memory (KiB)" "$(figure peak 2)" "$(figure peak 4)" "minimal Qt window (floor)"
  row "idle CPU, TriState cleared, in ${1:-60} s" "$(figure tristate 2)" "$(figure tristate 3)" "TriState set; goal: within noise"
fi

printf '%-38s %14s %14s %8s  %s\n' "figure" "value" "reference" "ratio" "reference is"
printf '%s\n' "${rows[@]}"
