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
row() { rows+=("$(printf '%-34s %14s %14s %8s  %s' "$1" "$2" "$3" "$(awk -v a="$2" -v b="$3" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }')" "$4")"); }

# Micro benchmarks: nanoseconds per call.
csv=$("$dir/bench/vellix_bench" --benchmark_format=csv --benchmark_min_time=0.5 2>/dev/null | grep '^"')
ns() { echo "$csv" | awk -F, -v n="\"$1\"" '$1 == n { printf "%.2f", $3 }'; }
row "ReadPortByte (ns)" "$(ns Port_Read_Layer)" "$(ns Port_Read_Bare)" "bare bus call; goal <= 1.05"
row "WritePortByte (ns)" "$(ns Port_Write_Layer)" "$(ns Port_Write_Bare)" "bare bus call; goal <= 1.05"
row "refresh, headless, lamps steady (ns)" "$(ns Refresh_Headless_Steady)" "$(ns Refresh_Headless_Changing)" "vs all 19 lamps changing"
if [[ -x "$dir/bench/vellix_qt_bench" ]]; then
  qcsv=$(QT_QPA_PLATFORM=offscreen "$dir/bench/vellix_qt_bench" --benchmark_format=csv 2>/dev/null | grep '^"')
  qns() { echo "$qcsv" | awk -F, -v n="\"$1\"" '$1 == n { printf "%.2f", $3 }'; }
  row "refresh, Qt offscreen, steady (ns)" "$(qns Refresh_Qt_Steady)" "$(ns Refresh_Headless_Steady)" "vs headless"
  row "refresh, Qt offscreen, 19 change (ns)" "$(qns Refresh_Qt_Changing)" "$(qns Refresh_Qt_Steady)" "vs Qt steady"
fi
if [[ -x "$dir/bench/term_bytes" ]]; then
  read -r idle_bytes change_bytes < <("$dir/bench/term_bytes" "$dir/src/vellix-term")
  row "terminal bytes per idle tick" "$idle_bytes" "1" "goal: 0"
  row "terminal bytes per lamp change" "$change_bytes" "1" ""
fi
if [[ -x "$dir/src/vellix" && -x "$dir/bench/minimal_qt" ]]; then
  while read -r name v ref; do
    case $name in
      start*) row "start to first frame (ms)" "$v" "$ref" "minimal Qt window; goal <= 1.3" ;;
      idle*) row "idle CPU seconds in ${1:-60} s" "$v" "$ref" "minimal Qt; goal < 0.5 % of a core" ;;
      peak*) row "peak resident memory (KiB)" "$v" "$ref" "minimal Qt; goal <= 1.2" ;;
    esac
  done < <(bash bench/process_bench.sh "$dir/src/vellix" "$dir/bench/minimal_qt" "${1:-60}")
fi

printf '%-34s %14s %14s %8s  %s\n' "figure" "value" "reference" "ratio" "reference is"
printf '%s\n' "${rows[@]}"
